#include "ui/form1_routing.h"

#include "commands/browse_command.h"
#include "commands/file_rows.h"
#include "commands/restore_command.h"

namespace zeduzovir {

bool PressButton(ControlId button, UiServices& ui) {
  if (button == kRestoreButton) {
    RestoreCommand(FileRows().front().textBox, ui);
    return true;
  }
  const FileRow* row = FileRowOf(button);
  if (row == nullptr || row->browseButton != button) {
    return false;
  }
  BrowseCommand(row->textBox, ui);
  return true;
}

}  // namespace zeduzovir
