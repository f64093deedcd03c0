#pragma once

#include <span>
#include <string>

#include "ui_services/control_id.h"

namespace zeduzovir {

class UiServices;

// Files dropped on a row's box or label: the first that has a name fills that row, as choosing
// it with Browse would. Returns false, changing nothing, for no named file or a control outside
// the rows' boxes and labels.
bool DropCommand(ControlId target, std::span<const std::u16string> localPaths, UiServices& ui);

}  // namespace zeduzovir
