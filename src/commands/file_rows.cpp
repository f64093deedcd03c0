#include "commands/file_rows.h"

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

}  // namespace zeduzovir
