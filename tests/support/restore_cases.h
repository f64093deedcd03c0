#pragma once

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>

namespace zeduzovir::testing {

// Row 1 before a restore press, and after it; a row left as it was had nothing to restore.
struct RestoreCase {
  const char* name;
  std::u16string path;
  std::u16string row1After;
  bool restored() const { return row1After != path; }
  friend void PrintTo(const RestoreCase& c, std::ostream* os) { *os << c.name; }
};

inline std::string CaseName(const ::testing::TestParamInfo<RestoreCase>& param) {
  return param.param.name;
}

inline const std::u16string kNothing = u"Nothing to decrypt";

// The message a restore press shows, and whether it carries the information icon.
inline std::u16string MessageFor(const RestoreCase& c) {
  return c.restored() ? u"Restored " + c.row1After + u". Check your file to see if it's restored."
                      : kNothing;
}

inline const std::array kRestoreCases{
    RestoreCase{"MarkedPath", u"C:\\data\\photo.jpgxaBrint", u"C:\\data\\photo.jpg"},
    RestoreCase{"DotBeforeMarkerStays", u"C:\\data\\photo.jpg.xaBrint", u"C:\\data\\photo.jpg."},
    RestoreCase{"TextAfterMarkerDropped", u"/home/ana/report.docxaBrint.bak",
                u"/home/ana/report.doc"},
    RestoreCase{"FirstOfTwoMarkers", u"a.xaBrint.b.xaBrint", u"a."},
    RestoreCase{"MarkerAfterOverlappingStart", u"xaxaBrint", u"xa"},
    RestoreCase{"MarkerInFolderName", u"C:\\xaBrint\\report.doc", u"C:\\"},
    RestoreCase{"BeyondTheBmp", u"/\u00e9t\u00e9 \U0001F600.jpgxaBrint",
                u"/\u00e9t\u00e9 \U0001F600.jpg"},
    RestoreCase{"MarkupShownAsTyped", u"<b>bold</b>xaBrint", u"<b>bold</b>"},
    // Units holding the byte 'x' without being 'x' (U+7800, U+0178) are not the marker's start.
    RestoreCase{"LookalikeUnits", u"\u7800\u0178a\u7861BrintxaBrint", u"\u7800\u0178a\u7861Brint"},
    // Nothing to restore: the path stays as typed and no success is claimed.
    RestoreCase{"Empty", u"", u""},
    RestoreCase{"OneCharacter", u"x", u"x"},
    RestoreCase{"NoMarker", u"C:\\data\\photo.jpg", u"C:\\data\\photo.jpg"},
    RestoreCase{"MarkerInOtherCase", u"photo.jpgXABRINT", u"photo.jpgXABRINT"},
    RestoreCase{"MarkerMissingItsLastLetter", u"photo.jpgxaBrin", u"photo.jpgxaBrin"},
    RestoreCase{"MarkerAtStart", u"xaBrint.doc", u"xaBrint.doc"},
};

}  // namespace zeduzovir::testing
