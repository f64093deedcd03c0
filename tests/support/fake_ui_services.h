#pragma once

#include <array>
#include <deque>
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

// Records what the commands show and answers the file dialog from a script. A dialog the test
// did not script counts as cancelled and is still recorded.
class FakeUiServices final : public UiServices {
 public:
  void ShowMessage(std::u16string_view text, MessageIcon icon) override {
    messages.push_back({std::u16string(text), icon});
  }

  std::optional<std::u16string> PickFileToOpen() override {
    ++dialogsShown;
    if (dialogAnswers.empty()) {
      return std::nullopt;
    }
    auto answer = dialogAnswers.front();
    dialogAnswers.pop_front();
    return answer;
  }

  std::u16string Text(ControlId textBox) const override {
    ++textReads[IndexOf(textBox)];
    return texts[IndexOf(textBox)];
  }

  void SetText(ControlId textBox, std::u16string_view text) override {
    texts[IndexOf(textBox)] = std::u16string(text);
  }

  std::u16string& text(ControlId id) { return texts[IndexOf(id)]; }
  int reads(ControlId id) const { return textReads[IndexOf(id)]; }

  std::array<std::u16string, kControlCount> texts{};
  mutable std::array<int, kControlCount> textReads{};
  std::vector<ShownMessage> messages;
  std::deque<std::optional<std::u16string>> dialogAnswers;  // nullopt: the user cancels
  int dialogsShown = 0;
};

}  // namespace zeduzovir::testing
