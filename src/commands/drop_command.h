#pragma once

#include <span>
#include <string>

#include "ui_services/control_id.h"

namespace zeduzovir {

class UiServices;

// Files dropped on a row's box or label: the first named by a full path fills that row, as
// choosing it with Browse would. Returns false, changing nothing, for no such file or a control
// outside the rows' boxes and labels.
bool DropCommand(ControlId target, std::span<const std::u16string> names, UiServices& ui);

}  // namespace zeduzovir
