#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "commands/file_rows.h"
#include "commands/restore_command.h"
#include "commands/restore_rule.h"
#include "commands/shown_name.h"
#include "ui/form1_routing.h"
#include "ui_services/ui_services.h"

namespace zeduzovir::testing {
namespace {

using ShownMessage = std::pair<std::u16string, MessageIcon>;

// Records what the commands show; the file dialog answers with `choice` (nothing: a cancel).
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

  std::array<std::u16string, kControlCount> texts{};
  std::vector<ShownMessage> messages;
  std::optional<std::u16string> choice;
};

// The promises below are checked against the plain definitions on every short text made of
// pieces that form, nearly form or break the marker, and on long random texts and presses.

constexpr auto IsHigh = [](char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; };
constexpr auto IsLow = [](char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; };
constexpr auto SplitsAPair = [](std::u16string_view text, std::size_t at) {
  return at > 0 && at < text.size() && IsHigh(text[at - 1]) && IsLow(text[at]);
};

// Shows no unit that acts unseen, and no surrogate outside a pair.
bool ShowsEverything(std::u16string_view text) {
  for (std::size_t at = 0; at < text.size(); ++at) {
    const char16_t u = text[at];
    if (u < 0x20 || (u >= 0x7F && u <= 0x9F) || u == 0xAD || u == 0x61C ||
        (u >= 0x200B && u <= 0x200F) || (u >= 0x2028 && u <= 0x202E) ||
        (u >= 0x2060 && u <= 0x2064) || (u >= 0x2066 && u <= 0x2069) || u == 0xFEFF ||
        (IsHigh(u) != SplitsAPair(text, at + 1)) || (IsLow(u) && !SplitsAPair(text, at))) {
      return false;
    }
  }
  return true;
}

// `shown` with each <U+XXXX> read back as its unit.
std::u16string ReadBack(std::u16string_view shown) {
  std::u16string text;
  for (std::size_t at = 0; at < shown.size(); ++at) {
    if (shown.substr(at, 3) == u"<U+" && at + 7 < shown.size() && shown[at + 7] == u'>') {
      const std::string hex(shown.begin() + at + 3, shown.begin() + at + 7);
      text += static_cast<char16_t>(std::stoi(hex, nullptr, 16));
      at += 7;
    } else {
      text += shown[at];
    }
  }
  return text;
}

// Whole characters from both ends, written out where they would act unseen, filling the room
// but what the next would overrun; a plain short name exactly as it is.
void CheckShownName(std::u16string_view name, std::size_t maxLength) {
  SCOPED_TRACE(::testing::Message() << name.size() << " units, at most " << maxLength);
  const std::u16string shown = ShownName(name, maxLength);
  ASSERT_TRUE(ShowsEverything(shown));
  ASSERT_LE(shown.size(), maxLength);
  const std::size_t ellipsis = shown.find(kEllipsis);
  if (ellipsis == std::u16string::npos) {
    ASSERT_EQ(ReadBack(shown), name);
    ASSERT_TRUE(!ShowsEverything(name) || shown == name);
    return;
  }
  const std::u16string head = ReadBack(shown.substr(0, ellipsis));
  const std::u16string tail = ReadBack(shown.substr(ellipsis + 1));
  ASSERT_GE(shown.size() + 14, maxLength);
  ASSERT_GT(ShownName(name, name.size() * 8).size(), maxLength);  // shortened only when too long
  ASSERT_TRUE(name.starts_with(head) && name.ends_with(tail));
  ASSERT_LE(head.size() + tail.size(), name.size());
  ASSERT_FALSE(SplitsAPair(name, head.size()) || SplitsAPair(name, name.size() - tail.size()));
}

// A restore press: row 1 cut before the first marker and reported, or kept; no other row moves.
void PressRestore(FakeUiServices& ui) {
  auto expected = ui.texts;
  const std::u16string path = expected[IndexOf(ControlId::Text1)];
  const std::u16string name = path.substr(0, std::min(path.find(RestoreMarker), path.size()));
  const bool restores = path.size() >= 2 && name != path && !name.empty();
  ASSERT_EQ(DeriveRestoredName(path), name == path ? u"" : name);

  ui.messages.clear();
  PressButton(kRestoreButton, ui);

  expected[IndexOf(ControlId::Text1)] = restores ? name : path;
  ASSERT_EQ(ui.texts, expected);
  ASSERT_EQ(ui.messages,
            (std::vector<ShownMessage>{
                restores ? ShownMessage{u"Restored " + ShownName(name, kMaxNameLengthInMessage) +
                                            u". Check your file to see if it's restored.",
                                        MessageIcon::Information}
                         : ShownMessage{u"Nothing to decrypt", MessageIcon::None}}));
}

const std::array<std::u16string_view, 8> kPieces{u"x",      u"aBrint", u"aBrInt", u"X",
                                                 u"\xD800", u"\xDC00", u"\u202E", u"/"};

// Every text of up to `pieces` pieces that starts with `text`.
void ForEveryText(std::u16string& text, int pieces, void (*check)(const std::u16string&)) {
  check(text);
  for (std::size_t i = 0; pieces > 0 && i < kPieces.size() && !::testing::Test::HasFailure(); ++i) {
    text += kPieces[i];
    ForEveryText(text, pieces - 1, check);
    text.resize(text.size() - kPieces[i].size());
  }
}

TEST(RestoreProperties, EveryShortTextOfMarkerPieces) {
  std::u16string text;
  ForEveryText(text, 6, [](const std::u16string& path) {
    FakeUiServices ui;
    ui.texts[IndexOf(ControlId::Text1)] = path;
    PressRestore(ui);
    CheckShownName(path, 9);
  });
  for (char32_t unit = 0; unit <= 0xFFFF && !HasFailure(); ++unit) {
    if (unit != kEllipsis) {  // which would read as a cut
      CheckShownName(u"a" + std::u16string(1, static_cast<char16_t>(unit)) + u"b", 12);
    }
  }
}

// Random long texts with markers, marker-like units and hidden characters spliced in.
std::u16string RandomText(std::mt19937& random, std::size_t maxLength) {
  const std::array<std::u16string_view, 6> splices{u"xaBrint", u"xaBrin", u"\u7878",
                                                   u"\u202E",  u"\xDC00", u"\U0001F600"};
  std::u16string text;
  for (const std::size_t length = random() % (maxLength + 1); text.size() < length;) {
    const auto unit = static_cast<char16_t>(random() % 0x10000);
    if (random() % 8 == 0) {
      text += splices[random() % splices.size()];
    } else {
      text += unit == u'<' || unit == kEllipsis ? u'?' : unit;
    }
  }
  return text;
}

TEST(RestoreProperties, LongRandomTextsAndPresses) {
  std::mt19937 random(20261207);
  for (int run = 0; run < 300 && !HasFailure(); ++run) {
    SCOPED_TRACE(::testing::Message() << "run " << run);
    FakeUiServices ui;
    for (const FileRow& row : FileRows()) {
      ui.texts[IndexOf(row.textBox)] = RandomText(random, 3000);
    }
    if (run == 0) {
      ui.texts[IndexOf(ControlId::Text1)] = std::u16string(1'000'000, u'x') + u"xaBrint";
    }
    CheckShownName(ui.texts[IndexOf(ControlId::Text1)], random() % 2000);
    for (int press = 0; press < 8 && !HasFailure(); ++press) {
      const FileRow& row = FileRows()[random() % FileRows().size()];
      const unsigned what = random() % 4;
      if (what == 0) {
        PressRestore(ui);
      } else if (what == 1) {
        ui.texts[IndexOf(row.textBox)] = RandomText(random, 3000);  // typed
      } else {
        // Browse fills its own row with the choice; a cancel changes nothing.
        auto expected = ui.texts;
        ui.choice.reset();
        if (what == 2) {
          ui.choice = RandomText(random, 300);
          expected[IndexOf(row.textBox)] = *ui.choice;
        }
        PressButton(row.browseButton, ui);
        ASSERT_EQ(ui.texts, expected);
      }
    }
  }
}

}  // namespace
}  // namespace zeduzovir::testing
