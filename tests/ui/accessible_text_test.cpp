#include "ui/accessible_text.h"

#include <gtest/gtest.h>

namespace zeduzovir {
namespace {

TEST(AccessibleDescriptionTest, EachBrowseButtonNamesItsOwnRow) {
  EXPECT_EQ(AccessibleDescription(ControlId::TesgardButton1), u"Choose the file for File1");
  EXPECT_EQ(AccessibleDescription(ControlId::TesgardButton4), u"Choose the file for File2");
  EXPECT_EQ(AccessibleDescription(ControlId::TesgardButton7), u"Choose the file for File5");
}

TEST(AccessibleDescriptionTest, ControlsThatNameThemselvesNeedNone) {
  for (ControlId id : {ControlId::TesgardButton2, ControlId::Text1, ControlId::Label3}) {
    EXPECT_TRUE(AccessibleDescription(id).empty());
  }
}

}  // namespace
}  // namespace zeduzovir
