#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string>

#include "commands/file_rows.h"
#include "commands/restore_command.h"
#include "commands/restore_rule.h"
#include "commands/shown_name.h"
#include "support/fake_ui_services.h"
#include "support/restore_cases.h"
#include "ui/form1_routing.h"

namespace zeduzovir::testing {
namespace {

class RestoreTest : public ::testing::TestWithParam<RestoreCase> {};

TEST_P(RestoreTest, RestoreButtonWorksOnRowOneOnly) {
  FakeUiServices ui;
  ui.text(ControlId::Text1) = GetParam().path;
  ui.text(ControlId::Text2) = u"two.txtxaBrint";

  PressButton(kRestoreButton, ui);

  EXPECT_EQ(ui.text(ControlId::Text1), GetParam().row1After);
  EXPECT_EQ(ui.messages,
            (std::vector<ShownMessage>{{MessageFor(GetParam()), GetParam().restored()
                                                                    ? MessageIcon::Information
                                                                    : MessageIcon::None}}));
  EXPECT_EQ(ui.text(ControlId::Text2), u"two.txtxaBrint");
  EXPECT_EQ(ui.reads[IndexOf(ControlId::Text2)], 0);
  EXPECT_EQ(ui.dialogsShown, 0);
}

INSTANTIATE_TEST_SUITE_P(Paths, RestoreTest, ::testing::ValuesIn(kRestoreCases), CaseName);

// The promises below are checked against the plain definitions on every short text made of
// pieces that form, nearly form or break the marker, and on long random texts and presses.

bool IsSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDFFF;
}

// `shown` with each <U+XXXX> read back as its unit.
std::u16string ReadBack(std::u16string_view shown) {
  std::u16string text;
  for (std::size_t at = 0; at < shown.size(); ++at) {
    if (shown.substr(at, 3) == u"<U+" && at + 7 < shown.size() && shown[at + 7] == u'>') {
      text += static_cast<char16_t>(
          std::stoi(std::string(shown.begin() + at + 3, shown.begin() + at + 7), nullptr, 16));
      at += 7;
    } else {
      text += shown[at];
    }
  }
  return text;
}

bool ActsUnseen(char16_t unit) {
  return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F) || unit == 0xAD || unit == 0x61C ||
         (unit >= 0x200B && unit <= 0x200F) || (unit >= 0x2028 && unit <= 0x202E) ||
         (unit >= 0x2060 && unit <= 0x2064) || (unit >= 0x2066 && unit <= 0x2069) || unit == 0xFEFF;
}

// Shows nothing that acts unseen, and no surrogate outside a pair.
bool ShowsEverything(std::u16string_view shown) {
  for (std::size_t at = 0; at < shown.size(); ++at) {
    const char16_t unit = shown[at];
    if (ActsUnseen(unit)) {
      return false;
    }
    if (IsSurrogate(unit)) {
      if (unit > 0xDBFF || at + 1 == shown.size() || shown[at + 1] < 0xDC00 ||
          shown[at + 1] > 0xDFFF) {
        return false;
      }
      ++at;
    }
  }
  return true;
}

// Whether a cut after `length` units of `name` falls between two halves of a pair.
bool SplitsAPair(std::u16string_view name, std::size_t length) {
  return length > 0 && length < name.size() && name[length - 1] >= 0xD800 &&
         name[length - 1] <= 0xDBFF && name[length] >= 0xDC00 && name[length] <= 0xDFFF;
}

void CheckShownName(std::u16string_view name, std::size_t maxLength) {
  SCOPED_TRACE(::testing::Message()
               << "name of " << name.size() << " units, at most " << maxLength);
  const std::u16string shown = ShownName(name, maxLength);
  ASSERT_TRUE(ShowsEverything(shown));
  const std::size_t ellipsis = shown.find(kEllipsis);
  if (ellipsis == std::u16string::npos) {
    ASSERT_EQ(ReadBack(shown), name);
    ASSERT_LE(shown.size(), maxLength);
    if (ShowsEverything(name)) {
      ASSERT_EQ(shown, name);  // a plain name reads exactly as it is
    }
    return;
  }
  // Whole characters from both ends, filling all but what the next character would overrun.
  const std::u16string head = ReadBack(shown.substr(0, ellipsis));
  const std::u16string tail = ReadBack(shown.substr(ellipsis + 1));
  ASSERT_LE(shown.size(), maxLength);
  ASSERT_GE(shown.size() + 14, maxLength);
  ASSERT_TRUE(name.starts_with(head) && name.ends_with(tail));
  ASSERT_LE(head.size() + tail.size(), name.size());
  ASSERT_FALSE(SplitsAPair(name, head.size()));
  ASSERT_FALSE(SplitsAPair(name, name.size() - tail.size()));
}

// Runs a restore press and checks it against the rule's plain definition.
void PressRestore(FakeUiServices& ui) {
  const auto before = ui.texts;
  const std::u16string& path = before[IndexOf(ControlId::Text1)];
  const std::size_t marker = path.find(RestoreMarker);
  const std::u16string name = marker == std::u16string::npos ? u"" : path.substr(0, marker);
  ASSERT_EQ(DeriveRestoredName(path), name);

  ui.messages.clear();
  PressButton(kRestoreButton, ui);

  auto expected = before;
  if (path.size() >= 2 && !name.empty()) {
    expected[IndexOf(ControlId::Text1)] = name;
    ASSERT_EQ(ui.messages.size(), 1U);
    ASSERT_EQ(ui.messages[0].icon, MessageIcon::Information);
    const std::u16string_view text = ui.messages[0].text;
    ASSERT_TRUE(text.starts_with(u"Restored ") &&
                text.ends_with(u". Check your file to see if it's restored."));
    const std::u16string_view shown = text.substr(9, text.size() - 9 - 42);
    ASSERT_EQ(shown, ShownName(name, kMaxNameLengthInMessage));
  } else {
    ASSERT_EQ(ui.messages, (std::vector<ShownMessage>{{u"Nothing to decrypt", MessageIcon::None}}));
  }
  ASSERT_EQ(ui.texts, expected);  // row 1 restored or kept; the other rows untouched
}

TEST(RestoreProperties, EveryShortTextOfMarkerPieces) {
  const std::array<std::u16string_view, 8> pieces{u"x",      u"aBrint", u"aBrInt", u"X",
                                                  u"\xD800", u"\xDC00", u"\u202E", u"/"};
  std::array<std::size_t, 6> digits{};
  for (std::size_t length = 0; length <= digits.size(); ++length) {
    std::fill(digits.begin(), digits.end(), 0);
    while (true) {
      std::u16string path;
      for (std::size_t i = 0; i < length; ++i) {
        path += pieces[digits[i]];
      }
      FakeUiServices ui;
      ui.text(ControlId::Text1) = path;
      PressRestore(ui);
      CheckShownName(path, 9);
      if (::testing::Test::HasFatalFailure()) {
        return;
      }
      std::size_t i = 0;
      while (i < length && ++digits[i] == pieces.size()) {
        digits[i++] = 0;
      }
      if (i == length) {
        break;
      }
    }
  }
}

// Random long texts with markers, marker-like units and hidden characters spliced in.
std::u16string RandomText(std::mt19937& random, std::size_t maxLength) {
  const std::array<std::u16string_view, 6> splices{u"xaBrint", u"xaBrin", u"\u7878",
                                                   u"\u202E",  u"\xDC00", u"\U0001F600"};
  std::u16string text;
  const std::size_t length = random() % (maxLength + 1);
  while (text.size() < length) {
    if (random() % 8 == 0) {
      text += splices[random() % splices.size()];
    } else {
      auto unit = static_cast<char16_t>(random() % 0x10000);
      text += unit == u'<' || unit == kEllipsis ? u'?' : unit;
    }
  }
  return text;
}

TEST(RestoreProperties, LongRandomTextsAndPresses) {
  std::mt19937 random(20261207);
  for (int run = 0; run < 300; ++run) {
    SCOPED_TRACE(::testing::Message() << "run " << run);
    FakeUiServices ui;
    for (const FileRow& row : FileRows()) {
      ui.text(row.textBox) = RandomText(random, 3000);
    }
    if (run == 0) {
      ui.text(ControlId::Text1) = std::u16string(1'000'000, u'x') + u"xaBrint";
    }
    CheckShownName(ui.text(ControlId::Text1), random() % 2000);
    for (int press = 0; press < 8; ++press) {
      const FileRow& row = FileRows()[random() % FileRows().size()];
      switch (random() % 4) {
        case 0:
          PressRestore(ui);
          break;
        case 1:
          ui.text(row.textBox) = RandomText(random, 3000);  // typed
          break;
        default: {
          // Browse fills its own row with the choice; a cancel changes nothing.
          auto expected = ui.texts;
          ui.choice.reset();
          if (random() % 2 == 0) {
            ui.choice = RandomText(random, 300);
            expected[IndexOf(row.textBox)] = *ui.choice;
          }
          PressButton(row.browseButton, ui);
          ASSERT_EQ(ui.texts, expected);
        }
      }
      if (HasFatalFailure()) {
        return;
      }
    }
  }
}

}  // namespace
}  // namespace zeduzovir::testing
