// Drives the commands with arbitrary rows and arbitrary sequences of restore and Browse presses
// against a fake UiServices, and stops at the first press that breaks one of their promises.

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "commands/file_rows.h"
#include "commands/restore_command.h"
#include "commands/restore_rule.h"
#include "support/fake_ui_services.h"
#include "ui/form1_routing.h"

namespace {

using zeduzovir::ControlId;
using zeduzovir::FileRow;
using zeduzovir::FileRows;
using zeduzovir::MessageIcon;
using zeduzovir::testing::FakeUiServices;

void Require(bool holds, const char* promise) {
  if (!holds) {
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
  }
}

// Any UTF-16 text: lone surrogates, NULs, the marker in pieces; sometimes repeated into a huge
// one.
std::u16string ConsumeText(FuzzedDataProvider& input) {
  // Choices come from the end of the input, text from its front (UTF-16LE), so seeds and the
  // dictionary's marker read as text.
  const auto length = input.ConsumeIntegralInRange<std::size_t>(0, 64);
  const auto bytes = input.ConsumeBytes<std::uint8_t>(length * 2);
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
  }
  if (input.ConsumeBool()) {
    const auto copies = input.ConsumeIntegralInRange<std::size_t>(1, 4096);
    std::u16string huge;
    huge.reserve(text.size() * copies);
    for (std::size_t i = 0; i < copies; ++i) {
      huge += text;
    }
    text = std::move(huge);
  }
  return text;
}

std::array<std::u16string, 5> RowTexts(FakeUiServices& ui) {
  std::array<std::u16string, 5> texts;
  for (std::size_t i = 0; i < texts.size(); ++i) {
    texts[i] = ui.text(FileRows()[i].textBox);
  }
  return texts;
}

void PressRestore(FakeUiServices& ui) {
  const auto before = RowTexts(ui);
  const std::size_t messagesBefore = ui.messages.size();

  zeduzovir::PressButton(zeduzovir::kRestoreButton, ui);

  const auto after = RowTexts(ui);
  Require(ui.messages.size() == messagesBefore + 1, "one message per restore press");
  for (std::size_t i = 1; i < after.size(); ++i) {
    Require(after[i] == before[i], "rows 2 to 5 never change on a restore");
  }
  const auto& message = ui.messages.back();
  const std::size_t markerAt = before[0].find(zeduzovir::RestoreMarker);
  if (after[0] == before[0]) {
    Require(
        message.text == zeduzovir::kNothingToDecryptMessage && message.icon == MessageIcon::None,
        "an unchanged row is reported as nothing to decrypt");
    Require(markerAt == std::u16string::npos || markerAt == 0,
            "a row with a name before its marker is restored");
  } else {
    Require(!after[0].empty(), "a restored name is never empty");
    Require(markerAt == after[0].size() && before[0].starts_with(after[0]),
            "the restored name is the text before the first marker");
    Require(message.icon == MessageIcon::Information &&
                message.text == zeduzovir::RestoredMessage(after[0]),
            "a restore is reported with the name");
  }
}

void PressBrowse(FakeUiServices& ui, const FileRow& row, std::optional<std::u16string> answer) {
  const auto before = RowTexts(ui);
  const std::size_t messagesBefore = ui.messages.size();
  ui.dialogAnswers = {answer};

  zeduzovir::PressButton(row.browseButton, ui);

  const auto after = RowTexts(ui);
  Require(ui.messages.size() == messagesBefore, "Browse shows no message");
  Require(ui.dialogAnswers.empty(), "Browse opens the dialog once");
  for (std::size_t i = 0; i < after.size(); ++i) {
    const bool ownRow = FileRows()[i].textBox == row.textBox;
    const std::u16string& expected = ownRow && answer ? *answer : before[i];
    Require(after[i] == expected, "Browse fills its own row with the choice, a cancel nothing");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  FakeUiServices ui;
  for (const FileRow& row : FileRows()) {
    ui.text(row.textBox) = ConsumeText(input);
  }
  for (int presses = 0; presses < 32 && input.remaining_bytes() > 0; ++presses) {
    const FileRow& row = FileRows()[input.ConsumeIntegralInRange<std::size_t>(0, 4)];
    switch (input.ConsumeIntegralInRange<int>(0, 3)) {
      case 0:
        PressRestore(ui);
        break;
      case 1:
        PressBrowse(ui, row, ConsumeText(input));
        break;
      case 2:
        PressBrowse(ui, row, std::nullopt);
        break;
      default:
        ui.text(row.textBox) = ConsumeText(input);  // the user types
        break;
    }
  }
  return 0;
}
