#include "ui/accessible_text.h"

#include <algorithm>

#include "commands/file_rows.h"
#include "ui/form1_layout.h"

namespace zeduzovir {

std::u16string AccessibleDescription(ControlId id) {
  const auto rows = FileRows();
  const auto row = std::find_if(rows.begin(), rows.end(),
                                [id](const FileRow& r) { return r.browseButton == id; });
  if (row == rows.end()) {
    return {};
  }
  std::u16string_view label = Form1Control(row->label).text;
  if (label.ends_with(u':')) {
    label.remove_suffix(1);
  }
  return u"Choose the file for " + std::u16string(label);
}

}  // namespace zeduzovir
