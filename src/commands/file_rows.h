#pragma once

#include <span>

#include "ui_services/control_id.h"

namespace zeduzovir {

// One row of the window: a caption, the box holding a path, and the button that fills it.
struct FileRow {
  ControlId label;
  ControlId textBox;
  ControlId browseButton;
};

// The five rows, top to bottom.
std::span<const FileRow> FileRows();

// The row that `control` (its label, box or Browse button) belongs to; nullptr for a control
// outside the rows.
const FileRow* FileRowOf(ControlId control);

}  // namespace zeduzovir
