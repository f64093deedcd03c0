#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "ui_services/ui_services.h"

namespace zeduzovir::testing {

struct ShownMessage {
  std::u16string text;
  MessageIcon icon;
  friend bool operator==(const ShownMessage&, const ShownMessage&) = default;
};

// Records what the commands show; the file dialog answers with `choice`, and nothing there is
// a cancel.
class FakeUiServices final : public UiServices {
 public:
  void ShowMessage(std::u16string_view text, MessageIcon icon) override {
    messages.push_back({std::u16string(text), icon});
  }
  std::optional<std::u16string> PickFileToOpen() override { return choice; }
  std::u16string Text(ControlId textBox) const override { return texts[IndexOf(textBox)]; }
  void SetText(ControlId textBox, std::u16string_view text) override {
    texts[IndexOf(textBox)] = std::u16string(text);
  }

  std::u16string& text(ControlId id) { return texts[IndexOf(id)]; }

  std::array<std::u16string, kControlCount> texts{};
  std::vector<ShownMessage> messages;
  std::optional<std::u16string> choice;
};

}  // namespace zeduzovir::testing
