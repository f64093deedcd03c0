#include "commands/restore_command.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/param_name.h"

#include "support/fake_ui_services.h"

namespace zeduzovir {
namespace {

using testing::FakeUiServices;
using testing::ShownMessage;

const ShownMessage kNothingToDecrypt{u"Nothing to decrypt", MessageIcon::None};

struct RestoreCase {
  const char* name;
  std::u16string text1;
  std::u16string text1After;
  ShownMessage message;
  friend void PrintTo(const RestoreCase& c, std::ostream* os) { *os << c.name; }
};

class RestoreCommandTest : public ::testing::TestWithParam<RestoreCase> {};

TEST_P(RestoreCommandTest, LeavesRestoredNameAndShowsOneMessage) {
  FakeUiServices ui;
  ui.text(ControlId::Text1) = GetParam().text1;

  RestoreCommand(ControlId::Text1, ui);

  EXPECT_EQ(ui.text(ControlId::Text1), GetParam().text1After);
  ASSERT_EQ(ui.messages.size(), 1U);
  EXPECT_EQ(ui.messages.front(), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Text1, RestoreCommandTest,
    ::testing::Values(
        RestoreCase{"MarkedPath",
                    u"C:\\data\\photo.jpgxaBrint",
                    u"C:\\data\\photo.jpg",
                    {u"Restored C:\\data\\photo.jpg. Check your file to see if it's restored.",
                     MessageIcon::Information}},
        RestoreCase{"DotBeforeMarker",
                    u"C:\\data\\photo.jpg.xaBrint",
                    u"C:\\data\\photo.jpg.",
                    {u"Restored C:\\data\\photo.jpg.. Check your file to see if it's restored.",
                     MessageIcon::Information}},
        RestoreCase{
            "FirstMarkerOfTwo",
            u"a.xaBrint.b.xaBrint",
            u"a.",
            {u"Restored a.. Check your file to see if it's restored.", MessageIcon::Information}},
        RestoreCase{"Empty", u"", u"", kNothingToDecrypt},
        RestoreCase{"OneCharacter", u"x", u"x", kNothingToDecrypt},
        // Nothing to restore: the path stays as typed and no success is claimed.
        RestoreCase{"TwoCharactersNoMarker", u"ab", u"ab", kNothingToDecrypt},
        RestoreCase{"NoMarker", u"C:\\data\\photo.jpg", u"C:\\data\\photo.jpg", kNothingToDecrypt},
        RestoreCase{"MarkerInOtherCase", u"photo.jpgXABRINT", u"photo.jpgXABRINT",
                    kNothingToDecrypt},
        RestoreCase{"MarkerAtStart", u"xaBrint.doc", u"xaBrint.doc", kNothingToDecrypt}),
    testing::ParamName());

TEST(RestoreCommandRepeatTest, SecondPressKeepsTheRestoredName) {
  FakeUiServices ui;
  ui.text(ControlId::Text1) = u"C:\\data\\photo.jpgxaBrint";

  RestoreCommand(ControlId::Text1, ui);
  RestoreCommand(ControlId::Text1, ui);

  EXPECT_EQ(ui.text(ControlId::Text1), u"C:\\data\\photo.jpg");
  ASSERT_EQ(ui.messages.size(), 2U);
  EXPECT_EQ(ui.messages.back(), kNothingToDecrypt);
}

TEST(RestoreCommandScopeTest, WorksOnlyOnTheBoxItIsGiven) {
  FakeUiServices ui;
  ui.text(ControlId::Text1) = u"one.txtxaBrint";
  ui.text(ControlId::Text2) = u"two.txtxaBrint";
  ui.text(ControlId::Text5) = u"five.txtxaBrint";

  RestoreCommand(ControlId::Text1, ui);

  EXPECT_EQ(ui.text(ControlId::Text1), u"one.txt");
  EXPECT_EQ(ui.text(ControlId::Text2), u"two.txtxaBrint");
  EXPECT_EQ(ui.text(ControlId::Text5), u"five.txtxaBrint");
  for (ControlId other : {ControlId::Text2, ControlId::Text3, ControlId::Text4, ControlId::Text5}) {
    EXPECT_EQ(ui.reads(other), 0);
  }
  EXPECT_EQ(ui.dialogsShown, 0);
}

TEST(RestoreCommandMessageTest, VeryLongNameIsShortenedInTheMessageOnly) {
  FakeUiServices ui;
  const std::u16string restored = u"/data/" + std::u16string(1'000'000, u'p') + u"/end.txt";
  ui.text(ControlId::Text1) = restored + u"xaBrint";

  RestoreCommand(ControlId::Text1, ui);

  EXPECT_EQ(ui.text(ControlId::Text1), restored);
  ASSERT_EQ(ui.messages.size(), 1U);
  const std::u16string& message = ui.messages.front().text;
  EXPECT_LT(message.size(), 1100U);
  EXPECT_TRUE(message.starts_with(u"Restored /data/ppp"));
  EXPECT_TRUE(message.ends_with(u"/end.txt. Check your file to see if it's restored."));
  EXPECT_NE(message.find(u'\u2026'), std::u16string::npos);
}

// The message reports what the box shows after the change, which a toolkit may have altered.
class TrimmingUiServices final : public UiServices {
 public:
  void ShowMessage(std::u16string_view text, MessageIcon) override { shown = text; }
  std::optional<std::u16string> PickFileToOpen() override { return std::nullopt; }
  std::u16string Text(ControlId) const override { return box; }
  void SetText(ControlId, std::u16string_view text) override { box = text.substr(0, 3); }
  std::u16string box;
  std::u16string shown;
};

TEST(RestoreCommandMessageTest, ReportsTheTextTheBoxNowHolds) {
  TrimmingUiServices ui;
  ui.box = u"abcdefxaBrint";
  RestoreCommand(ControlId::Text1, ui);
  EXPECT_EQ(ui.shown, u"Restored abc. Check your file to see if it's restored.");
}

}  // namespace
}  // namespace zeduzovir
