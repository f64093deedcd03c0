#include <gtest/gtest.h>

#include <string>

#include "commands/elide_middle.h"
#include "commands/restore_rule.h"
#include "support/fake_ui_services.h"
#include "support/restore_cases.h"
#include "ui/form1_routing.h"

namespace zeduzovir::testing {
namespace {

class RestoreTest : public ::testing::TestWithParam<RestoreCase> {};

TEST_P(RestoreTest, RuleCutsAtTheFirstMarker) {
  // A path with nothing to restore yields an empty name.
  const std::u16string& path = GetParam().path;
  EXPECT_EQ(DeriveRestoredName(path), GetParam().restored() ? GetParam().row1After : u"");
  // Far into a long path too.
  const std::u16string padded = std::u16string(300, u'p') + path;
  const std::size_t marker = padded.find(RestoreMarker);
  EXPECT_EQ(DeriveRestoredName(padded),
            marker == std::u16string::npos ? u"" : padded.substr(0, marker));
}

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

TEST(RestoreTest, MarkerBeyondTheFirstUnitsOfAVeryLongPath) {
  const std::u16string prefix(40000, u'p');
  EXPECT_EQ(DeriveRestoredName(prefix + u"xaBrint" + prefix), prefix);
  EXPECT_EQ(DeriveRestoredName(prefix + u"xaBrin"), u"");
}

struct ElideCase {
  std::u16string text;
  std::size_t maxLength;
  std::u16string elided;
};

TEST(ElideMiddleTest, KeepsStartAndEndWithinTheLength) {
  // U+1F600 is the pair D83D DE00; neither cut may fall between its halves.
  const ElideCase cases[] = {
      {u"abcdef", 6, u"abcdef"},
      {u"abcdefg", 6, u"abc\u2026fg"},
      {u"/home/ana/very/long/folder/photo.jpg", 15, u"/home/a\u2026oto.jpg"},
      {u"ab\U0001F600cdefghij", 6, u"ab\u2026ij"},
      {u"abcdefgh\U0001F600ij", 6, u"abc\u2026ij"},
      {u"abc", 0, u""},
      {u"\U00010400cdefgh", 3, u"\u2026h"},  // the pair D801 DC00 right at the head's cut
  };
  for (const ElideCase& c : cases) {
    EXPECT_EQ(ElideMiddle(c.text, c.maxLength), c.elided) << c.maxLength;
  }
}

}  // namespace
}  // namespace zeduzovir::testing
