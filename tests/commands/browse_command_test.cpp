#include "commands/browse_command.h"

#include <gtest/gtest.h>

#include "support/fake_ui_services.h"

namespace zeduzovir {
namespace {

using testing::FakeUiServices;

TEST(BrowseCommandTest, ChosenFileReplacesTypedText) {
  FakeUiServices ui;
  ui.text(ControlId::Text3) = u"typed by hand";
  ui.dialogAnswers = {u"C:\\a\\one.docxaBrint"};

  BrowseCommand(ControlId::Text3, ui);

  EXPECT_EQ(ui.text(ControlId::Text3), u"C:\\a\\one.docxaBrint");
  EXPECT_EQ(ui.dialogsShown, 1);
  EXPECT_TRUE(ui.messages.empty());
}

TEST(BrowseCommandTest, CancelLeavesTheRowAsItWas) {
  FakeUiServices ui;
  ui.text(ControlId::Text4) = u"typed by hand";
  ui.dialogAnswers = {std::nullopt};

  BrowseCommand(ControlId::Text4, ui);

  EXPECT_EQ(ui.text(ControlId::Text4), u"typed by hand");
  EXPECT_EQ(ui.dialogsShown, 1);
}

TEST(BrowseCommandTest, ChosenFileLongerThanOldPathLimitIsKeptWhole) {
  FakeUiServices ui;
  const std::u16string longPath = u"/srv/" + std::u16string(5000, u'd') + u"/file.binxaBrint";
  ui.dialogAnswers = {longPath};

  BrowseCommand(ControlId::Text2, ui);

  EXPECT_EQ(ui.text(ControlId::Text2), longPath);
}

}  // namespace
}  // namespace zeduzovir
