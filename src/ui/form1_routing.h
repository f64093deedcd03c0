#pragma once

#include "ui_services/control_id.h"

namespace zeduzovir {

class UiServices;

inline constexpr ControlId kRestoreButton = ControlId::TesgardButton2;

// Runs the command of a pressed button: the restore button restores row 1, each Browse
// button fills its own row. Any other control runs nothing.
void PressButton(ControlId button, UiServices& ui);

}  // namespace zeduzovir
