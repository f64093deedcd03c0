#include "commands/restore_rule.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "support/param_name.h"

namespace zeduzovir {
namespace {

struct RuleCase {
  const char* name;
  std::u16string path;
  std::u16string restored;
  friend void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.name; }
};

class DeriveRestoredNameTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(DeriveRestoredNameTest, CutsAtTheFirstMarker) {
  EXPECT_EQ(DeriveRestoredName(GetParam().path), GetParam().restored);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, DeriveRestoredNameTest,
    ::testing::Values(
        RuleCase{"MarkerAtEnd", u"C:\\data\\photo.jpgxaBrint", u"C:\\data\\photo.jpg"},
        RuleCase{"CharacterBeforeMarkerStays", u"C:\\data\\photo.jpg.xaBrint",
                 u"C:\\data\\photo.jpg."},
        RuleCase{"TextAfterMarkerDropped", u"/home/ana/report.docxaBrint.bak",
                 u"/home/ana/report.doc"},
        RuleCase{"FirstOfTwoMarkers", u"a.xaBrint.b.xaBrint", u"a."},
        RuleCase{"MarkerInFolderName", u"C:\\xaBrint\\report.doc", u"C:\\"},
        RuleCase{"MarkerAtStart", u"xaBrint.doc", u""},
        RuleCase{"NoMarker", u"C:\\data\\photo.jpg", u""},
        RuleCase{"UpperCaseIsNotTheMarker", u"photo.jpgXABRINT", u""},
        RuleCase{"LowerCaseIsNotTheMarker", u"photo.jpgxabrint", u""},
        RuleCase{"MarkerMissingItsLastLetter", u"photo.jpgxaBrin", u""},
        RuleCase{"Empty", u"", u""}, RuleCase{"MarkerAfterOverlappingStart", u"xaxaBrint", u"xa"},
        RuleCase{"NonAsciiBeforeMarker", u"C:\\Fotos\\\u00e9t\u00e9 \U0001F600.jpgxaBrint",
                 u"C:\\Fotos\\\u00e9t\u00e9 \U0001F600.jpg"},
        RuleCase{"EmbeddedNulKept", std::u16string(u"a\0bxaBrint", 10), std::u16string(u"a\0b", 3)},
        RuleCase{"FullWidthLettersAreNotTheMarker", u"f\uff58\uff41\uff22rint", u""}),
    testing::ParamName());

// Units that hold the byte 'x' without being 'x' (U+7800, U+0178) must not be taken for it.
TEST(DeriveRestoredNameBytesTest, OnlyWholeCodeUnitsMatch) {
  const std::u16string path = u"\u7800\u0178a\u7861BrintxaBrint";
  EXPECT_EQ(DeriveRestoredName(path), u"\u7800\u0178a\u7861Brint");
}

TEST(DeriveRestoredNameResultTest, IsAPrefixOfThePathItself) {
  const std::u16string path = u"C:\\data\\photo.jpgxaBrint";
  EXPECT_EQ(DeriveRestoredName(path).data(), path.data());
}

TEST(DeriveRestoredNameLongPathTest, FindsMarkerFarIntoAPath) {
  const std::u16string prefix(40000, u'p');
  const std::u16string path = prefix + u"xaBrint" + prefix;
  EXPECT_EQ(DeriveRestoredName(path), prefix);
}

}  // namespace
}  // namespace zeduzovir
