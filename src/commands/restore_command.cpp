#include "commands/restore_command.h"

#include "commands/restore_rule.h"
#include "commands/shown_name.h"
#include "ui_services/ui_services.h"

namespace zeduzovir {

std::u16string RestoredMessage(std::u16string_view restoredName) {
  std::u16string message = u"Restored ";
  message += ShownName(restoredName, kMaxNameLengthInMessage);
  message += u". Check your file to see if it's restored.";
  return message;
}

void RestoreCommand(ControlId textBox, UiServices& ui) {
  const std::u16string path = ui.Text(textBox);
  const std::u16string_view restored =
      path.size() < kMinimumRestoreLength ? std::u16string_view() : DeriveRestoredName(path);
  // An empty name means nothing was restored: keep the user's path rather than erase it.
  if (restored.empty()) {
    ui.ShowMessage(kNothingToDecryptMessage, MessageIcon::None);
    return;
  }
  ui.SetText(textBox, restored);
  // Report what the box now shows, which is what the user will act on.
  ui.ShowMessage(RestoredMessage(ui.Text(textBox)), MessageIcon::Information);
}

}  // namespace zeduzovir
