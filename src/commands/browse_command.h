#pragma once

#include "ui_services/control_id.h"

namespace zeduzovir {

class UiServices;

// Fills `textBox` with a file chosen in the shared open-file dialog; a cancel changes nothing.
void BrowseCommand(ControlId textBox, UiServices& ui);

}  // namespace zeduzovir
