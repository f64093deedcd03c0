#include "commands/drop_command.h"

#include <algorithm>

#include "commands/file_rows.h"
#include "ui_services/ui_services.h"

namespace zeduzovir {

namespace {

// A file drop names each file by its full path, as the system writes one. Some sources drop a
// link as an empty name, or a name the system could not make into a path: those name no file.
bool IsFullPath(std::u16string_view name) {
#ifdef _WIN32
  const bool onDrive = name.size() >= 3 && ((name[0] | 0x20) >= u'a' && (name[0] | 0x20) <= u'z') &&
                       name.substr(1, 2) == u":\\";
  return onDrive || name.starts_with(u"\\\\");
#else
  return name.starts_with(u'/');
#endif
}

}  // namespace

bool DropCommand(ControlId target, std::span<const std::u16string> names, UiServices& ui) {
  const FileRow* row = FileRowOf(target);
  const auto first =
      std::find_if(names.begin(), names.end(), [](const auto& name) { return IsFullPath(name); });
  if (row == nullptr || target == row->browseButton || first == names.end()) {
    return false;
  }
  ui.SetText(row->textBox, *first);
  return true;
}

}  // namespace zeduzovir
