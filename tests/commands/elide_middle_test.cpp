#include "commands/elide_middle.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/param_name.h"

namespace zeduzovir {
namespace {

struct ElideCase {
  const char* name;
  std::u16string text;
  std::size_t maxLength;
  std::u16string elided;
  friend void PrintTo(const ElideCase& c, std::ostream* os) { *os << c.name; }
};

class ElideMiddleTest : public ::testing::TestWithParam<ElideCase> {};

TEST_P(ElideMiddleTest, KeepsStartAndEnd) {
  EXPECT_EQ(ElideMiddle(GetParam().text, GetParam().maxLength), GetParam().elided);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, ElideMiddleTest,
    ::testing::Values(ElideCase{"ShortTextUnchanged", u"C:\\a\\b.doc", 20, u"C:\\a\\b.doc"},
                      ElideCase{"ExactlyAtTheLimit", u"abcdef", 6, u"abcdef"},
                      ElideCase{"OneOver", u"abcdefg", 6, u"abc\u2026fg"},
                      ElideCase{"LongPath", u"/home/ana/very/long/folder/photo.jpg", 15,
                                u"/home/a\u2026oto.jpg"},
                      // U+1F600 is the pair D83D DE00; a cut would otherwise fall between them.
                      ElideCase{"PairAtHeadCut", u"ab\U0001F600cdefghij", 6, u"ab\u2026ij"},
                      ElideCase{"PairAtTailCut", u"abcdefgh\U0001F600ij", 6, u"abc\u2026ij"},
                      ElideCase{"NothingLeft", u"abc", 0, u""}),
    testing::ParamName());

TEST(ElideMiddleLengthTest, NeverLongerThanAsked) {
  const std::u16string million(1'000'000, u'p');
  EXPECT_EQ(ElideMiddle(million, 1024).size(), 1024U);
}

}  // namespace
}  // namespace zeduzovir
