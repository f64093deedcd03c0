// The window's behaviour, the same for every front end: each links this suite with its driver.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <iterator>
#include <map>
#include <ostream>
#include <string>

#include "window/window_driver.h"

namespace zeduzovir::testing {
namespace {

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

// The message a restore press shows, and whether it carries the information icon.
inline std::u16string MessageFor(const RestoreCase& c) {
  return c.restored() ? u"Restored " + c.shownAs + u". Check your file to see if it's restored."
                      : u"Nothing to decrypt";
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

// Where each control stands, worked out by hand from its twips: 15 to the pixel at 96 DPI,
// 10 at 144, halves rounded up.
struct ExpectedControl {
  const char* name;
  std::u16string caption;
  PixelRect at96;
  PixelRect at144;
};

const std::array kExpectedControls{
    ExpectedControl{"Label1", u"File1:", {7, 7, 39, 16}, {11, 11, 59, 24}},
    ExpectedControl{"Text1", u"", {46, 5, 213, 19}, {69, 8, 320, 29}},
    ExpectedControl{"TesgardButton1", u"Browse", {264, 5, 50, 18}, {396, 8, 75, 27}},
    ExpectedControl{"Label2", u"File2:", {7, 34, 39, 16}, {11, 51, 59, 24}},
    ExpectedControl{"Text2", u"", {46, 32, 213, 19}, {69, 48, 320, 29}},
    ExpectedControl{"TesgardButton4", u"Browse", {265, 32, 50, 18}, {398, 49, 75, 27}},
    ExpectedControl{"Label3", u"File3:", {7, 61, 39, 16}, {11, 92, 59, 24}},
    ExpectedControl{"Text3", u"", {46, 59, 213, 19}, {69, 89, 320, 29}},
    ExpectedControl{"TesgardButton5", u"Browse", {265, 60, 50, 18}, {398, 90, 75, 27}},
    ExpectedControl{"Label4", u"File4:", {7, 88, 39, 16}, {11, 132, 59, 24}},
    ExpectedControl{"Text4", u"", {46, 86, 213, 19}, {69, 129, 320, 29}},
    ExpectedControl{"TesgardButton6", u"Browse", {265, 87, 50, 18}, {398, 131, 75, 27}},
    ExpectedControl{"Label5", u"File5:", {7, 114, 39, 16}, {11, 171, 59, 24}},
    ExpectedControl{"Text5", u"", {46, 113, 213, 19}, {69, 170, 320, 29}},
    ExpectedControl{"TesgardButton7", u"Browse", {265, 115, 50, 18}, {398, 173, 75, 27}},
    ExpectedControl{
        "TesgardButton2", u"Restore xabrint File", {46, 148, 217, 31}, {69, 222, 326, 47}},
};

const std::array<const char*, 5> kBoxes{"Text1", "Text2", "Text3", "Text4", "Text5"};
const std::array<const char*, 5> kBrowseButtons{
    "TesgardButton1", "TesgardButton4", "TesgardButton5", "TesgardButton6", "TesgardButton7"};

class Form1Conformance : public ::testing::Test {
 protected:
  std::unique_ptr<WindowDriver> window = OpenForm1();
};

// Fonts by the heights worked out by hand at 96 and 144 DPI (halves rounded up), and what a
// screen reader hears.
struct ExpectedLook {
  const char* control;
  Font at96;  // none: the window's own font
  int pixelsAt144;
  std::u16string accessibleName;
  std::u16string description;
};

const std::array kLooks{
    ExpectedLook{"Label2", {u"MS Sans Serif", 13, 700}, 20, u"File2:", u""},
    ExpectedLook{"Text2", {}, 0, u"File2:", u""},
    ExpectedLook{"TesgardButton1",
                 {u"Times New Roman", 11, 400},
                 17,
                 u"Browse",
                 u"Choose the file for File1"},
    ExpectedLook{"TesgardButton7",
                 {u"Times New Roman", 11, 400},
                 17,
                 u"Browse",
                 u"Choose the file for File5"},
    ExpectedLook{"TesgardButton2", {u"Times New Roman", 19, 700}, 29, u"Restore xabrint File", u""},
};

TEST_F(Form1Conformance, LaysOutTheWindowForItsScreenAndAgainOnAnother) {
  EXPECT_EQ(window->TextOf("Form1"), u"Zeduzovir");
  // At the DPI the window starts at and, where it lays itself out per screen, again on a
  // screen of 144 DPI.
  for (bool moved = false;; moved = true) {
    const int dpi = window->LayoutDpi();
    SCOPED_TRACE(::testing::Message() << dpi << " DPI");
    ASSERT_TRUE(dpi == 96 || dpi == 144);
    EXPECT_EQ(window->ClientRect(),
              (dpi == 96 ? PixelRect{0, 0, 371, 286} : PixelRect{0, 0, 557, 429}));
    for (const ExpectedControl& control : kExpectedControls) {
      EXPECT_EQ(window->RectOf(control.name), dpi == 96 ? control.at96 : control.at144)
          << control.name;
      EXPECT_EQ(window->TextOf(control.name), control.caption) << control.name;
    }
    for (const auto& [control, at96, pixelsAt144, name, description] : kLooks) {
      const Font wanted{at96.face, dpi == 96 ? at96.pixels : pixelsAt144, at96.weight};
      EXPECT_EQ(window->FontOf(control), at96.face.empty() ? window->FontOf("Form1") : wanted)
          << control;
    }
    if (moved || dpi == 144 || !window->MoveToScreenOfDpi(144)) {
      break;
    }
  }
}

TEST_F(Form1Conformance, WhatScreenReadersHearAndTheIcon) {
  for (const auto& [control, at96, pixelsAt144, name, description] : kLooks) {
    EXPECT_EQ(window->AccessibleName(control), name) << control;
    EXPECT_EQ(window->AccessibleDescription(control), description) << control;
  }
  // The small and the large icon, as the desktop scales them.
  const std::vector<int> icons = window->IconSizes();
  for (const int size : {16, 32}) {
    const int scaled = size * window->LayoutDpi() / 96;
    EXPECT_TRUE(std::count(icons.begin(), icons.end(), scaled)) << scaled << " pixels";
  }
}

TEST_F(Form1Conformance, FocusStartsOnFirstBrowseAndTabWalksRoundTheWindow) {
  const std::array<std::string, 12> order{"TesgardButton1", "Text1",          "TesgardButton2",
                                          "Text2",          "Text3",          "Text4",
                                          "Text5",          "TesgardButton4", "TesgardButton5",
                                          "TesgardButton6", "TesgardButton7", "TesgardButton1"};
  EXPECT_EQ(window->FocusedControl(), order.front());
  for (std::size_t i = 1; i < order.size(); ++i) {
    window->PressTab();
    EXPECT_EQ(window->FocusedControl(), order[i]) << "after " << i << " presses of Tab";
  }
}

class RestoreConformance : public Form1Conformance,
                           public ::testing::WithParamInterface<RestoreCase> {};

TEST_P(RestoreConformance, RestoresRowOneOnlyAndReportsIt) {
  for (const char* box : kBoxes) {
    window->Paste(box, std::string(box) == "Text1" ? GetParam().path : u"other.docxaBrint");
  }

  const Modal shown = window->Press("TesgardButton2", PressWith::Mouse);

  EXPECT_EQ(shown.kind, Modal::Kind::MessageBox);
  EXPECT_EQ(shown.title, u"Zeduzovir");
  EXPECT_EQ(shown.text, MessageFor(GetParam()));
  EXPECT_EQ(shown.icon, GetParam().restored());
  EXPECT_EQ(shown.buttons, 1);
  EXPECT_EQ(window->TextOf("Text1"), GetParam().row1After);
  EXPECT_EQ(window->FocusedControl(), "TesgardButton2");  // the keyboard is back where it was
  // Text5 also shows that the window took no typing while the box was open.
  for (const char* box : {"Text2", "Text3", "Text4", "Text5"}) {
    EXPECT_EQ(window->TextOf(box), u"other.docxaBrint") << box;
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, RestoreConformance, ::testing::ValuesIn(kRestoreCases),
                         [](const auto& c) { return std::string(c.param.name); });

// Files named on the command line, as a file manager's "Open with" passes them: each fills the
// next row, as its absolute path, and the restore then works on row 1 as after Browse.
struct StartCase {
  std::vector<std::string> arguments;
  std::vector<std::u16string> rows;  // in the current folder
  std::u16string told;               // at start, of files left out
  std::u16string restoredRow1;
};

TEST(StartedWithFiles, EachFillsTheNextRowAndThoseLeftOutAreCounted) {
  const std::u16string nothing = u"Nothing to decrypt";
  for (const auto& [arguments, rows, told, restored] : {
           StartCase{
               {"photo one.jpgxaBrint", "\xC3\xA9t\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC.txt",
                "./missing.docxaBrint"},
               {u"photo one.jpgxaBrint", u"\u00e9t\u00e9 \u65E5\u672C.txt", u"missing.docxaBrint"},
               u"",
               u"photo one.jpg"},
           {{"1", "2", "3", "4", "5", "6", "7"},
            {u"1", u"2", u"3", u"4", u"5"},
            u"2 files were left out: the window has five rows.",
            u""},
#ifndef _WIN32
           // Linux hands over bytes, and options before "--".
           {{"-", "--", "-platform", "-b.txt", "--help"},
            {u"-", u"-platform", u"-b.txt", u"--help"},
            u"",
            u""},
           {{"a.txt", "\xFF.txt", "b.txtxaBrint", "3", "4", "5", "6"},
            {u"a.txt", u"b.txtxaBrint", u"3", u"4", u"5"},
            u"1 file was left out: the window has five rows. 1 file was left out: its name is not "
            u"valid text and cannot be shown exactly.",
            u""},
#endif
       }) {
    SCOPED_TRACE(::testing::Message() << arguments.size() << " arguments, first " << arguments[0]);
    const std::unique_ptr<WindowDriver> window = OpenForm1(arguments);
    const std::u16string folder = window->CurrentFolder();
    EXPECT_EQ(window->ShownAtStart().text, told);
    for (std::size_t row = 0; row < kBoxes.size(); ++row) {
      EXPECT_EQ(window->TextOf(kBoxes[row]), row < rows.size() ? folder + rows[row] : u"")
          << kBoxes[row];
    }
    EXPECT_EQ(window->Press("TesgardButton2", PressWith::Mouse).text,
              restored.empty() ? nothing
                               : u"Restored " + folder + restored +
                                     u". Check your file to see if it's restored.");
  }
}

#ifndef _WIN32
// Started from a folder since deleted: a relative name has no full name to show, and the person
// is told why; an absolute one fills its row as ever.
TEST(StartedWithFiles, FromADeletedFolderOnlyAbsoluteNamesFillRows) {
  const std::filesystem::path before = std::filesystem::current_path();
  std::string gone = std::filesystem::temp_directory_path() / "zeduzovir-gone-XXXXXX";
  ASSERT_NE(mkdtemp(gone.data()), nullptr);
  std::filesystem::current_path(gone);
  std::filesystem::remove(gone);
  const std::unique_ptr<WindowDriver> window = OpenForm1({"a.txtxaBrint", "/tmp/b.txt", "./c"});
  std::filesystem::current_path(before);
  EXPECT_EQ(window->ShownAtStart().text,
            u"2 files were left out: the current folder cannot be read.");
  EXPECT_EQ(window->TextOf("Text1"), u"/tmp/b.txt");
  EXPECT_EQ(window->TextOf("Text2"), u"");
}
#endif

TEST_F(Form1Conformance, SpaceAndEnterPressTheFocusedButtonAndNothingElse) {
  using enum Modal::Kind;
  for (const auto& [control, key, opens] :
       {std::tuple{"TesgardButton2", PressWith::Space, MessageBox},
        {"TesgardButton2", PressWith::Enter, MessageBox},
        {"TesgardButton6", PressWith::Enter, FileDialog},
        {"TesgardButton2", PressWith::Letter, None},
        {"Text1", PressWith::Enter, None},
        {"Text1", PressWith::Space, None}}) {
    EXPECT_EQ(window->Press(control, key).kind, opens) << control << " key " << int(key);
  }
}

TEST_F(Form1Conformance, EachBrowseFillsOnlyItsOwnRow) {
  const std::u16string chosen = window->CreateFile(u"report.docxaBrint");
  for (std::size_t browsed = 0; browsed < kBrowseButtons.size(); ++browsed) {
    for (const char* box : kBoxes) {
      window->Paste(box, u"typed");
    }
    const Modal dialog = window->Press(kBrowseButtons[browsed], PressWith::Mouse, chosen);
    EXPECT_EQ(dialog.kind, Modal::Kind::FileDialog);
    for (std::size_t row = 0; row < kBoxes.size(); ++row) {
      EXPECT_EQ(window->TextOf(kBoxes[row]), row == browsed ? chosen : u"typed")
          << kBrowseButtons[browsed] << " " << kBoxes[row];
    }
  }
}

TEST_F(Form1Conformance, DialogOffersTheLastChosenFileAndCancelKeepsTheRow) {
  const std::u16string chosen = window->CreateFile(u"one.docxaBrint");
  window->Press("TesgardButton4", PressWith::Mouse, chosen);
  window->Type("Text4", u"typed in row 4");

  const Modal dialog = window->Press("TesgardButton6", PressWith::Mouse);

  EXPECT_EQ(dialog.kind, Modal::Kind::FileDialog);
  EXPECT_NE(dialog.fileName.find(u"one.docxaBrint"), std::u16string::npos);
  EXPECT_EQ(window->TextOf("Text2"), chosen);
  EXPECT_EQ(window->TextOf("Text4"), u"typed in row 4");
  EXPECT_EQ(window->TextOf("Text5"), u"");  // typing while the dialog was open went nowhere
}

TEST_F(Form1Conformance, DroppedFileFillsTheRowItLandsOnAsBrowseWould) {
  const std::u16string folder = window->CurrentFolder();
  // Longer than a text box takes by default, and ending beyond the BMP.
  const std::u16string longPath = folder + std::u16string(40000, u'd') + u"/\U0001F600.jpgxaBrint";
  const std::u16string file = folder + u"photo.jpgxaBrint";
  using Paths = std::vector<std::u16string>;
  int drop = 0;
  for (const auto& [on, paths, filled, with] : {
           std::tuple{"Text2", Paths{file}, "Text2", file},
           {"Label3", Paths{longPath, folder + u"second.doc"}, "Text3", longPath},
           {"Text5", Paths{folder + u"folder"}, "Text5", folder + u"folder"},
           {"TesgardButton6", Paths{file}, "", u""},
           // Names that are no file's full path: left by a link, or by a source that lost the rest.
           {"Text4", Paths{u""}, "", u""},
           {"Text4", Paths{u"ows\\x"}, "", u""},
           {"Text4", Paths{u"https://example.com/photo.jpgxaBrint"}, "", u""},
           {"Text1", Paths{u"https://example.com/", u"ows\\x", file}, "Text1", file},
       }) {
    for (const char* box : kBoxes) {
      window->Paste(box, u"typed");
    }
    window->Drop(on, paths);
    ++drop;
    for (const char* box : kBoxes) {
      EXPECT_EQ(window->TextOf(box), std::string(box) == filled ? with : u"typed")
          << "drop " << drop << " on " << on << ", " << box;
    }
  }
  // The file dialog still offers what was last chosen in it: nothing yet.
  EXPECT_EQ(window->Press("TesgardButton1", PressWith::Mouse).fileName, u"");
}

int Lightness(Rgb c) {
  return c.red + c.green + c.blue;
}

TEST_F(Form1Conformance, LabelsStandOutInADarkScheme) {
  window->UseDarkColours();
  for (const char* label : {"Label1", "Label2", "Label3", "Label4", "Label5"}) {
    const Picture picture = window->Grab(label, false);
    // The background is the commonest colour; the caption must stand out from it.
    std::map<int, int> counts;
    for (const Rgb c : picture.pixels) {
      ++counts[Lightness(c)];
    }
    const int background = std::max_element(counts.begin(), counts.end(), [](auto a, auto b) {
                             return a.second < b.second;
                           })->first;
    const int ink = std::prev(counts.end())->first;  // the lightest
    EXPECT_LT(background, 3 * 64) << label << ": the scheme is dark";
    EXPECT_GT(ink - background, 3 * 128) << label;
  }
}

// The caption's ink in a picture of a button: the dark pixels inside the edges (a focus ring is
// light), and the darkest of them.
struct Ink {
  int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1, darkest = 3 * 255;
};

Ink CaptionInk(const Picture& button, int inset) {
  Ink ink;
  for (int y = inset; y < button.height - inset; ++y) {
    for (int x = inset; x < button.width - inset; ++x) {
      const Rgb c = button.at(x, y);
      if (c.red + c.green + c.blue >= 3 * 128)
        continue;
      ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x),
             std::max(ink.bottom, y), std::min(ink.darkest, c.red + c.green + c.blue)};
    }
  }
  return ink;
}

TEST_F(Form1Conformance, ButtonsAreDrawnFromTheirSettings) {
  const TesgardButtonSettings& wanted = kTesgardButtonSettings;
  window->PressTab();
  window->PressTab();  // on to the restore button, by keyboard, so its focus ring shows
  for (const char* name : {"TesgardButton1", "TesgardButton6", "TesgardButton2"}) {
    SCOPED_TRACE(name);
    const bool focused = std::string(name) == "TesgardButton2";
    // Held down, the button takes the focus, so only the focused button is also seen held.
    for (const bool held : {false, true}) {
      if (held && !focused)
        continue;
      const Picture button = window->Grab(name, held);
      const int scale = button.width / window->RectOf(name).width;
      // A layout pixel's colour; negative offsets count from the far edges.
      const auto at = [&](int x, int y) {
        return button.at((x < 0 ? button.width / scale + x : x) * scale,
                         (y < 0 ? button.height / scale + y : y) * scale);
      };
      const int middle = button.height / scale / 2;
      // Face, outline (the shadow at half strength), and the emboss, swapped while held.
      EXPECT_EQ(at(2, middle), wanted.bcol);
      for (const auto& [x, y] : {std::pair{0, middle}, {middle, 0}, {-1, middle}, {middle, -1}}) {
        EXPECT_EQ(at(x, y), (Rgb{96, 96, 96})) << "outline at " << x << "," << y;
      }
      EXPECT_EQ(at(1, middle), held ? wanted.embossm : wanted.embosss);
      EXPECT_EQ(at(middle, 1), held ? wanted.embossm : wanted.embosss);
      EXPECT_EQ(at(-2, middle), held ? wanted.embosss : wanted.embossm);
      EXPECT_EQ(at(middle, -2), held ? wanted.embosss : wanted.embossm);

      // A focus ring inside the edges on the focused button alone.
      bool ring = false;
      for (int y = 3; y < button.height / scale - 3; ++y) {
        ring = ring || at(3, y) != wanted.bcol;
      }
      EXPECT_EQ(ring, focused);

      // The whole caption, in its colour (black, smoothed edges aside), moved down and to the
      // right while held.
      const Ink ink = CaptionInk(button, 4 * scale);
      const Ink up = CaptionInk(window->Grab(name, false), 4 * scale);
      EXPECT_LT(ink.darkest, 120);
      EXPECT_NEAR(ink.right - ink.left + 1, window->CaptionWidth(name), 3 * scale + 2);
      EXPECT_EQ(ink.left - up.left, held ? scale : 0);
      EXPECT_EQ(ink.top - up.top, held ? scale : 0);
    }
  }
}

}  // namespace
}  // namespace zeduzovir::testing
