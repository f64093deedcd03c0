#include "commands/browse_command.h"

#include "ui_services/ui_services.h"

namespace zeduzovir {

void BrowseCommand(ControlId textBox, UiServices& ui) {
  if (const auto chosen = ui.PickFileToOpen()) {
    ui.SetText(textBox, *chosen);
  }
}

}  // namespace zeduzovir
