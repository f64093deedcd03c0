#include "commands/drop_command.h"

#include <algorithm>

#include "commands/file_rows.h"
#include "ui_services/ui_services.h"

namespace zeduzovir {

bool DropCommand(ControlId target, std::span<const std::u16string> localPaths, UiServices& ui) {
  const FileRow* row = FileRowOf(target);
  // Some sources drop a link as one empty name: that names no file.
  const auto first = std::find_if(localPaths.begin(), localPaths.end(),
                                  [](const std::u16string& path) { return !path.empty(); });
  if (row == nullptr || target == row->browseButton || first == localPaths.end()) {
    return false;
  }
  ui.SetText(row->textBox, *first);
  return true;
}

}  // namespace zeduzovir
