#include "commands/drop_command.h"

#include "commands/file_rows.h"
#include "ui_services/ui_services.h"

namespace zeduzovir {

bool DropCommand(ControlId target, std::span<const std::u16string> localPaths, UiServices& ui) {
  const FileRow* row = FileRowOf(target);
  if (row == nullptr || target == row->browseButton || localPaths.empty()) {
    return false;
  }
  ui.SetText(row->textBox, localPaths.front());
  return true;
}

}  // namespace zeduzovir
