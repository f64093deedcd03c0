#pragma once

#include <gtest/gtest.h>

#include <array>
#include <ostream>
#include <string>

namespace zeduzovir::testing {

// Row 1 before a restore press, and after it; a row left as it was had nothing to restore. A
// name whose message shows it otherwise than the row does gives it as `shownAs`.
struct RestoreCase {
  const char* name;
  std::u16string path;
  std::u16string row1After;
  std::u16string shownAs = row1After;
  bool restored() const { return row1After != path; }
  friend void PrintTo(const RestoreCase& c, std::ostream* os) { *os << c.name; }
};

inline std::string CaseName(const ::testing::TestParamInfo<RestoreCase>& param) {
  return param.param.name;
}

inline const std::u16string kNothing = u"Nothing to decrypt";

// The message a restore press shows, and whether it carries the information icon.
inline std::u16string MessageFor(const RestoreCase& c) {
  return c.restored() ? u"Restored " + c.shownAs + u". Check your file to see if it's restored."
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
    RestoreCase{"EmojiBeyondTheBmp", u"/\u00e9t\u00e9 \U0001F600.jpgxaBrint",
                u"/\u00e9t\u00e9 \U0001F600.jpg"},
    RestoreCase{"MarkupShownAsTyped", u"<b>bold</b>xaBrint", u"<b>bold</b>"},
    // Units holding the byte 'x' without being 'x' (U+7800, U+0178) are not the marker's start.
    RestoreCase{"LookalikeUnits", u"\u7800\u0178a\u7861BrintxaBrint", u"\u7800\u0178a\u7861Brint"},
    // Characters that would act unseen are written out in the message; the row keeps them.
    RestoreCase{"OverrideInName", u"/home/ann/invoice\u202Efdp.exexaBrint",
                u"/home/ann/invoice\u202Efdp.exe", u"/home/ann/invoice<U+202E>fdp.exe"},
    RestoreCase{"OverrideInFolder", u"/home/\u202Ecod.exe/notes.txtxaBrint",
                u"/home/\u202Ecod.exe/notes.txt", u"/home/<U+202E>cod.exe/notes.txt"},
    RestoreCase{"ZeroWidthSpace", u"photo\u200B.jpgxaBrint", u"photo\u200B.jpg",
                u"photo<U+200B>.jpg"},
    RestoreCase{"LineBreak", u"two\nlines.txtxaBrint", u"two\nlines.txt", u"two<U+000A>lines.txt"},
    RestoreCase{"LoneSurrogate", u"half\xD800.txtxaBrint", u"half\xD800.txt", u"half<U+D800>.txt"},
    RestoreCase{"IsolatePair", u"\u2067lmth\u2069.exexaBrint", u"\u2067lmth\u2069.exe",
                u"<U+2067>lmth<U+2069>.exe"},
    // Any script is shown as it is.
    RestoreCase{"HebrewName", u"/home/ann/\u05E9\u05DC\u05D5\u05DD.txtxaBrint",
                u"/home/ann/\u05E9\u05DC\u05D5\u05DD.txt"},
    RestoreCase{"ArabicNameAndDigits", u"\u0635\u0648\u0631\u0629 \u0661\u0662.jpgxaBrint",
                u"\u0635\u0648\u0631\u0629 \u0661\u0662.jpg"},
    // A long name is shortened in the message around the ellipsis, a written-out character whole.
    RestoreCase{"LongNameOverrideAtTheCut",
                std::u16string(508, u'a') + u"\u202E" + std::u16string(700, u'b') + u"xaBrint",
                std::u16string(508, u'a') + u"\u202E" + std::u16string(700, u'b'),
                std::u16string(508, u'a') + u"\u2026" + std::u16string(511, u'b')},
    // Nothing to restore: the path stays as typed and no success is claimed.
    RestoreCase{"Empty", u"", u""},
    RestoreCase{"OneCharacter", u"x", u"x"},
    RestoreCase{"NoMarker", u"C:\\data\\photo.jpg", u"C:\\data\\photo.jpg"},
    RestoreCase{"MarkerInOtherCase", u"photo.jpgXABRINT", u"photo.jpgXABRINT"},
    RestoreCase{"MarkerMissingItsLastLetter", u"photo.jpgxaBrin", u"photo.jpgxaBrin"},
    RestoreCase{"MarkerAtStart", u"xaBrint.doc", u"xaBrint.doc"},
};

}  // namespace zeduzovir::testing
