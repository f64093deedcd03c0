#pragma once

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>

namespace zeduzovir::testing {

// Row 1 before a restore press, and what the press leaves: row 1, the message, its icon.
struct RestoreCase {
  const char* name;
  std::u16string path;
  std::u16string row1After;
  std::u16string message;
  bool informationIcon;
  friend void PrintTo(const RestoreCase& c, std::ostream* os) { *os << c.name; }
};

inline std::string CaseName(const ::testing::TestParamInfo<RestoreCase>& param) {
  return param.param.name;
}

inline std::u16string Restored(const std::u16string& name) {
  return u"Restored " + name + u". Check your file to see if it's restored.";
}

inline const std::u16string kNothing = u"Nothing to decrypt";

inline const std::array kRestoreCases{
    RestoreCase{"MarkedPath", u"C:\\data\\photo.jpgxaBrint", u"C:\\data\\photo.jpg",
                Restored(u"C:\\data\\photo.jpg"), true},
    RestoreCase{"DotBeforeMarkerStays", u"C:\\data\\photo.jpg.xaBrint", u"C:\\data\\photo.jpg.",
                Restored(u"C:\\data\\photo.jpg."), true},
    RestoreCase{"TextAfterMarkerDropped", u"/home/ana/report.docxaBrint.bak",
                u"/home/ana/report.doc", Restored(u"/home/ana/report.doc"), true},
    RestoreCase{"FirstOfTwoMarkers", u"a.xaBrint.b.xaBrint", u"a.", Restored(u"a."), true},
    RestoreCase{"MarkerAfterOverlappingStart", u"xaxaBrint", u"xa", Restored(u"xa"), true},
    RestoreCase{"MarkerInFolderName", u"C:\\xaBrint\\report.doc", u"C:\\", Restored(u"C:\\"), true},
    RestoreCase{"BeyondTheBmp", u"/\u00e9t\u00e9 \U0001F600.jpgxaBrint",
                u"/\u00e9t\u00e9 \U0001F600.jpg", Restored(u"/\u00e9t\u00e9 \U0001F600.jpg"), true},
    RestoreCase{"MarkupShownAsTyped", u"<b>bold</b>xaBrint", u"<b>bold</b>",
                Restored(u"<b>bold</b>"), true},
    // Units holding the byte 'x' without being 'x' (U+7800, U+0178) are not the marker's start.
    RestoreCase{"LookalikeUnits", u"\u7800\u0178a\u7861BrintxaBrint", u"\u7800\u0178a\u7861Brint",
                Restored(u"\u7800\u0178a\u7861Brint"), true},
    // Nothing to restore: the path stays as typed and no success is claimed.
    RestoreCase{"Empty", u"", u"", kNothing, false},
    RestoreCase{"OneCharacter", u"x", u"x", kNothing, false},
    RestoreCase{"NoMarker", u"C:\\data\\photo.jpg", u"C:\\data\\photo.jpg", kNothing, false},
    RestoreCase{"MarkerInOtherCase", u"photo.jpgXABRINT", u"photo.jpgXABRINT", kNothing, false},
    RestoreCase{"MarkerMissingItsLastLetter", u"photo.jpgxaBrin", u"photo.jpgxaBrin", kNothing,
                false},
    RestoreCase{"MarkerAtStart", u"xaBrint.doc", u"xaBrint.doc", kNothing, false},
};

}  // namespace zeduzovir::testing
