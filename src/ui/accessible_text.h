#pragma once

#include <string>

#include "ui_services/control_id.h"

namespace zeduzovir {

// What a screen reader says about a control beyond its name. Five buttons read "Browse", so
// each says which row it fills ("Choose the file for File2"); other controls need nothing more.
std::u16string AccessibleDescription(ControlId id);

}  // namespace zeduzovir
