#include "ui/form1_routing.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "commands/file_rows.h"
#include "support/fake_ui_services.h"

namespace zeduzovir {
namespace {

using testing::FakeUiServices;

struct BrowseRoute {
  ControlId button;
  ControlId filledBox;
  friend void PrintTo(const BrowseRoute& r, std::ostream* os) {
    *os << "button " << static_cast<int>(r.button);
  }
};

class BrowseRoutingTest : public ::testing::TestWithParam<BrowseRoute> {};

TEST_P(BrowseRoutingTest, EachBrowseButtonFillsOnlyItsOwnRow) {
  FakeUiServices ui;
  for (const FileRow& row : FileRows()) {
    ui.text(row.textBox) = u"before";
  }
  ui.dialogAnswers = {u"/home/ana/chosen.txtxaBrint"};

  EXPECT_TRUE(PressButton(GetParam().button, ui));

  for (const FileRow& row : FileRows()) {
    EXPECT_EQ(ui.text(row.textBox),
              row.textBox == GetParam().filledBox ? u"/home/ana/chosen.txtxaBrint" : u"before");
  }
  EXPECT_EQ(ui.dialogsShown, 1);
  EXPECT_TRUE(ui.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Rows, BrowseRoutingTest,
                         ::testing::Values(BrowseRoute{ControlId::TesgardButton1, ControlId::Text1},
                                           BrowseRoute{ControlId::TesgardButton4, ControlId::Text2},
                                           BrowseRoute{ControlId::TesgardButton5, ControlId::Text3},
                                           BrowseRoute{ControlId::TesgardButton6, ControlId::Text4},
                                           BrowseRoute{ControlId::TesgardButton7,
                                                       ControlId::Text5}));

TEST(RestoreRoutingTest, RestoreButtonWorksOnRowOneOnly) {
  FakeUiServices ui;
  ui.text(ControlId::Text1) = u"one.txtxaBrint";
  ui.text(ControlId::Text2) = u"two.txtxaBrint";

  EXPECT_TRUE(PressButton(ControlId::TesgardButton2, ui));

  EXPECT_EQ(ui.text(ControlId::Text1), u"one.txt");
  EXPECT_EQ(ui.text(ControlId::Text2), u"two.txtxaBrint");
  EXPECT_EQ(ui.messages.size(), 1U);
  EXPECT_EQ(ui.dialogsShown, 0);
}

TEST(RestoreRoutingTest, RowTwoFilledRowOneEmptyIsNothingToDecrypt) {
  FakeUiServices ui;
  ui.dialogAnswers = {u"C:\\a\\one.docxaBrint"};
  PressButton(ControlId::TesgardButton4, ui);

  PressButton(ControlId::TesgardButton2, ui);

  ASSERT_EQ(ui.messages.size(), 1U);
  EXPECT_EQ(ui.messages.front().text, u"Nothing to decrypt");
  EXPECT_EQ(ui.text(ControlId::Text2), u"C:\\a\\one.docxaBrint");
}

TEST(UnroutedControlTest, LabelsAndBoxesRunNothing) {
  FakeUiServices ui;
  ui.text(ControlId::Text1) = u"one.txtxaBrint";
  for (ControlId id : {ControlId::Label1, ControlId::Text1, ControlId::Label5}) {
    EXPECT_FALSE(PressButton(id, ui));
  }
  EXPECT_TRUE(ui.messages.empty());
  EXPECT_EQ(ui.dialogsShown, 0);
  EXPECT_EQ(ui.text(ControlId::Text1), u"one.txtxaBrint");
}

}  // namespace
}  // namespace zeduzovir
