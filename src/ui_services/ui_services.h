#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "ui_services/control_id.h"

namespace zeduzovir {

enum class MessageIcon { None, Information };

// What the commands need from the platform. Each front end implements it on its own toolkit;
// tests implement it with a fake.
class UiServices {
 public:
  virtual ~UiServices() = default;

  // A modal box with a single OK button, titled with the application's name; returns once
  // the user dismisses it.
  virtual void ShowMessage(std::u16string_view text, MessageIcon icon) = 0;

  // The window's one open-file dialog, shown modally. It opens with the last chosen file
  // filled in. Returns the chosen path, or nothing when the user cancels.
  virtual std::optional<std::u16string> PickFileToOpen() = 0;

  virtual std::u16string Text(ControlId textBox) const = 0;
  virtual void SetText(ControlId textBox, std::u16string_view text) = 0;

 protected:
  UiServices() = default;
  UiServices(const UiServices&) = default;
  UiServices& operator=(const UiServices&) = default;
};

}  // namespace zeduzovir
