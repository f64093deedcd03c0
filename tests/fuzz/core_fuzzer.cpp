// Drives the commands with arbitrary rows and arbitrary sequences of restore and Browse presses
// against a fake UiServices, and stops at the first press that breaks one of their promises.

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstdio>
#include <cstdlib>

#include "commands/file_rows.h"
#include "commands/restore_command.h"
#include "commands/restore_rule.h"
#include "support/fake_ui_services.h"
#include "ui/form1_routing.h"

namespace {

using namespace zeduzovir;
using testing::FakeUiServices;

void Require(bool holds, const char* promise) {
  if (!holds) {
    std::fprintf(stderr, "broken promise: %s\n", promise);
    std::abort();
  }
}

// Any UTF-16 text, lone surrogates and NULs included, from the front of the input (so seeds
// and the dictionary read as text); sometimes repeated into a huge one.
std::u16string ConsumeText(FuzzedDataProvider& input) {
  const auto bytes =
      input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange<std::size_t>(0, 64) * 2);
  std::u16string text;
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    text += static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
  }
  if (input.ConsumeBool()) {
    const std::u16string once = text;
    for (auto copies = input.ConsumeIntegralInRange(1, 4096); copies > 1; --copies)
      text += once;
  }
  return text;
}

std::array<std::u16string, 5> Rows(FakeUiServices& ui) {
  std::array<std::u16string, 5> texts;
  for (std::size_t i = 0; i < texts.size(); ++i)
    texts[i] = ui.text(FileRows()[i].textBox);
  return texts;
}

void PressRestore(FakeUiServices& ui) {
  const auto before = Rows(ui);
  const std::size_t shown = ui.messages.size();
  PressButton(kRestoreButton, ui);
  const auto after = Rows(ui);

  Require(ui.messages.size() == shown + 1, "one message per restore press");
  Require(std::equal(after.begin() + 1, after.end(), before.begin() + 1),
          "rows 2 to 5 never change on a restore");
  const auto& message = ui.messages.back();
  const std::size_t marker = before[0].find(RestoreMarker);
  if (marker == std::u16string::npos || marker == 0) {
    Require(after[0] == before[0] && message.text == kNothingToDecryptMessage &&
                message.icon == MessageIcon::None,
            "a row with no name before a marker stays, reported as nothing to decrypt");
  } else {
    Require(after[0] == before[0].substr(0, marker), "the name before the first marker is kept");
    Require(message.text == RestoredMessage(after[0]) && message.icon == MessageIcon::Information,
            "a restore is reported with the name");
  }
}

void PressBrowse(FakeUiServices& ui, const FileRow& row, std::optional<std::u16string> choice) {
  const auto before = Rows(ui);
  const auto shown = ui.messages.size();
  const int dialogs = ui.dialogsShown;
  ui.choice = choice;
  PressButton(row.browseButton, ui);
  const auto after = Rows(ui);

  Require(ui.messages.size() == shown && ui.dialogsShown == dialogs + 1,
          "Browse opens the dialog once and shows no message");
  for (std::size_t i = 0; i < after.size(); ++i) {
    const bool own = FileRows()[i].textBox == row.textBox;
    Require(after[i] == (own && choice ? *choice : before[i]),
            "Browse fills its own row with the choice, a cancel nothing");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  FakeUiServices ui;
  for (const FileRow& row : FileRows())
    ui.text(row.textBox) = ConsumeText(input);
  for (int presses = 0; presses < 32 && input.remaining_bytes() > 0; ++presses) {
    const FileRow& row = FileRows()[input.ConsumeIntegralInRange<std::size_t>(0, 4)];
    switch (input.ConsumeIntegralInRange(0, 3)) {
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
    }
  }
  return 0;
}
