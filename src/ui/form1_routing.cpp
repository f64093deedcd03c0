#include "ui/form1_routing.h"

#include <algorithm>

#include "commands/browse_command.h"
#include "commands/file_rows.h"
#include "commands/restore_command.h"

namespace zeduzovir {

bool PressButton(ControlId button, UiServices& ui) {
  const auto rows = FileRows();
  if (button == kRestoreButton) {
    RestoreCommand(rows.front().textBox, ui);
    return true;
  }
  const auto row = std::find_if(rows.begin(), rows.end(),
                                [button](const FileRow& r) { return r.browseButton == button; });
  if (row == rows.end()) {
    return false;
  }
  BrowseCommand(row->textBox, ui);
  return true;
}

}  // namespace zeduzovir
