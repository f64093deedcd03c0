#include "ui/form1_routing.h"

#include "commands/browse_command.h"
#include "commands/file_rows.h"
#include "commands/restore_command.h"

namespace zeduzovir {

void PressButton(ControlId button, UiServices& ui) {
  if (button == kRestoreButton) {
    RestoreCommand(FileRows().front().textBox, ui);
    return;
  }
  const FileRow* row = FileRowOf(button);
  if (row != nullptr && row->browseButton == button) {
    BrowseCommand(row->textBox, ui);
  }
}

}  // namespace zeduzovir
