#include "ui/form1_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "commands/file_rows.h"
#include "ui/form1_routing.h"

namespace zeduzovir {
namespace {

// Properties any edit of the window table must keep.

TEST(Form1LayoutTest, EveryControlHasOneEntryAndAUniqueName) {
  std::set<ControlId> ids;
  std::set<std::string_view> names;
  for (const ControlSpec& entry : Form1Controls()) {
    ids.insert(entry.id);
    names.insert(entry.name);
    EXPECT_EQ(Form1Control(entry.id).name, entry.name);
  }
  EXPECT_EQ(ids.size(), kControlCount);
  EXPECT_EQ(names.size(), kControlCount);
}

TEST(Form1LayoutTest, TabOrderVisitsEveryFocusableControlOnce) {
  const auto order = Form1TabOrder();
  const std::set<ControlId> visited(order.begin(), order.end());
  EXPECT_EQ(visited.size(), order.size());
  for (const ControlSpec& entry : Form1Controls()) {
    EXPECT_EQ(visited.count(entry.id), entry.kind == ControlKind::Label ? 0U : 1U) << entry.name;
  }
}

TEST(Form1LayoutTest, ControlsFitTheClientAreaAboveAnEmptyBottomStrip) {
  const TwipsRect restore = Form1Control(kRestoreButton).bounds;
  for (const ControlSpec& entry : Form1Controls()) {
    const TwipsRect& r = entry.bounds;
    EXPECT_GE(r.left, 0) << entry.name;
    EXPECT_LE(r.left + r.width, kForm1ClientWidth) << entry.name;
    EXPECT_LE(r.top + r.height, restore.top + restore.height) << entry.name;
  }
  EXPECT_LT(restore.top + restore.height, kForm1ClientHeight);
}

TEST(Form1LayoutTest, EachRowReadsLabelThenBoxThenBrowseOnOneLine) {
  int previousTop = -1;
  for (const FileRow& row : FileRows()) {
    const ControlSpec& label = Form1Control(row.label);
    const ControlSpec& box = Form1Control(row.textBox);
    const ControlSpec& browse = Form1Control(row.browseButton);
    ASSERT_EQ(label.kind, ControlKind::Label);
    ASSERT_EQ(box.kind, ControlKind::TextBox);
    ASSERT_EQ(browse.kind, ControlKind::Button);
    EXPECT_LE(label.bounds.left + label.bounds.width, box.bounds.left) << box.name;
    EXPECT_LE(box.bounds.left + box.bounds.width, browse.bounds.left) << box.name;
    EXPECT_LT(std::abs(label.bounds.top - box.bounds.top), box.bounds.height) << box.name;
    EXPECT_LT(std::abs(browse.bounds.top - box.bounds.top), box.bounds.height) << box.name;
    EXPECT_GT(box.bounds.top, previousTop);
    previousTop = box.bounds.top;
    EXPECT_EQ(browse.text, u"Browse");
    EXPECT_TRUE(box.text.empty()) << box.name;
  }
}

}  // namespace
}  // namespace zeduzovir
