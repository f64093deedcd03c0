#include "ui/accessible_text.h"

#include "commands/file_rows.h"
#include "ui/form1_layout.h"

namespace zeduzovir {

std::u16string AccessibleDescription(ControlId id) {
  const FileRow* row = FileRowOf(id);
  if (row == nullptr || row->browseButton != id) {
    return {};
  }
  std::u16string_view label = Form1Control(row->label).text;
  if (label.ends_with(u':')) {
    label.remove_suffix(1);
  }
  return u"Choose the file for " + std::u16string(label);
}

}  // namespace zeduzovir
