#include "commands/file_rows.h"

#include <algorithm>
#include <array>

namespace zeduzovir {

namespace {

constexpr std::array kFileRows{
    FileRow{ControlId::Label1, ControlId::Text1, ControlId::TesgardButton1},
    FileRow{ControlId::Label2, ControlId::Text2, ControlId::TesgardButton4},
    FileRow{ControlId::Label3, ControlId::Text3, ControlId::TesgardButton5},
    FileRow{ControlId::Label4, ControlId::Text4, ControlId::TesgardButton6},
    FileRow{ControlId::Label5, ControlId::Text5, ControlId::TesgardButton7},
};

}  // namespace

std::span<const FileRow> FileRows() {
  return kFileRows;
}

const FileRow* FileRowOf(ControlId control) {
  const auto row = std::find_if(kFileRows.begin(), kFileRows.end(), [control](const FileRow& r) {
    return r.label == control || r.textBox == control || r.browseButton == control;
  });
  return row == kFileRows.end() ? nullptr : &*row;
}

}  // namespace zeduzovir
