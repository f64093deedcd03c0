// The window's behaviour, the same for every front end: each links this suite with its driver.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "support/restore_cases.h"
#include "window/window_driver.h"

namespace zeduzovir::testing {
namespace {

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
  void SetUp() override { window = OpenForm1(); }
  void TearDown() override { window.reset(); }

  PixelRect Expected(const ExpectedControl& control) const {
    return window->LayoutDpi() == 144 ? control.at144 : control.at96;
  }

  std::unique_ptr<WindowDriver> window;
};

TEST_F(Form1Conformance, LaysOutTheWindowAtItsDpi) {
  const int dpi = window->LayoutDpi();
  ASSERT_TRUE(dpi == 96 || dpi == 144) << dpi;
  EXPECT_EQ(window->ClientRect(),
            (dpi == 96 ? PixelRect{0, 0, 371, 286} : PixelRect{0, 0, 557, 429}));
  for (const ExpectedControl& control : kExpectedControls) {
    EXPECT_EQ(window->RectOf(control.name), Expected(control)) << control.name;
    EXPECT_EQ(window->TextOf(control.name), control.caption) << control.name;
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
  EXPECT_EQ(shown.text, GetParam().message);
  EXPECT_EQ(shown.icon, GetParam().informationIcon);
  EXPECT_EQ(shown.buttons, 1);
  EXPECT_EQ(window->TextOf("Text1"), GetParam().row1After);
  // Text5 also shows that the window took no typing while the box was open.
  for (const char* box : {"Text2", "Text3", "Text4", "Text5"}) {
    EXPECT_EQ(window->TextOf(box), u"other.docxaBrint") << box;
  }
}

INSTANTIATE_TEST_SUITE_P(Paths, RestoreConformance, ::testing::ValuesIn(kRestoreCases), CaseName);

TEST_F(Form1Conformance, TypedPathRestores) {
  window->Type("Text1", u"C:\\data\\photo.jpgxaBrint");
  EXPECT_EQ(window->Press("TesgardButton2", PressWith::Mouse).text,
            Restored(u"C:\\data\\photo.jpg"));
  EXPECT_EQ(window->TextOf("Text1"), u"C:\\data\\photo.jpg");
}

struct KeyCase {
  const char* control;
  PressWith key;
  Modal::Kind opens;
};

TEST_F(Form1Conformance, SpaceAndEnterPressTheFocusedButtonOnly) {
  for (const KeyCase& press : {KeyCase{"TesgardButton2", PressWith::Space, Modal::Kind::MessageBox},
                               KeyCase{"TesgardButton2", PressWith::Enter, Modal::Kind::MessageBox},
                               KeyCase{"TesgardButton6", PressWith::Enter, Modal::Kind::FileDialog},
                               KeyCase{"Text1", PressWith::Enter, Modal::Kind::None},
                               KeyCase{"Text1", PressWith::Space, Modal::Kind::None}}) {
    EXPECT_EQ(window->Press(press.control, press.key).kind, press.opens)
        << press.control << " key " << static_cast<int>(press.key);
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
  window->Paste("Text4", u"typed in row 4");

  const Modal dialog = window->Press("TesgardButton6", PressWith::Mouse);

  EXPECT_EQ(dialog.kind, Modal::Kind::FileDialog);
  EXPECT_NE(dialog.fileName.find(u"one.docxaBrint"), std::u16string::npos);
  EXPECT_EQ(window->TextOf("Text2"), chosen);
  EXPECT_EQ(window->TextOf("Text4"), u"typed in row 4");
  EXPECT_EQ(window->TextOf("Text5"), u"");  // typing while the dialog was open went nowhere
}

TEST_F(Form1Conformance, MillionCharacterPathRestoresAndTheWindowStaysUsable) {
  const std::u16string restored = u"/data/" + std::u16string(1'000'000, u'p');
  window->Paste("Text1", restored + u"xaBrint.bak");

  const Modal shown = window->Press("TesgardButton2", PressWith::Mouse);

  EXPECT_EQ(window->TextOf("Text1"), restored);
  EXPECT_LT(shown.text.size(), 1100U);
  EXPECT_TRUE(shown.text.starts_with(u"Restored /data/ppp"));
  EXPECT_TRUE(shown.text.ends_with(u"ppp. Check your file to see if it's restored."));
  EXPECT_EQ(window->Press("TesgardButton2", PressWith::Mouse).text, kNothing);
}

// The drawn buttons as a person sees them.
class ButtonPicture {
 public:
  ButtonPicture(const Picture& picture, const PixelRect& client, const PixelRect& button)
      : m_picture(picture), m_scale(double(picture.width) / client.width), m_button(button) {}

  // The colour at a layout pixel of the button; negative offsets count from its far edges.
  Rgb At(int x, int y) const {
    const int left = x >= 0 ? m_button.left + x : m_button.left + m_button.width + x;
    const int top = y >= 0 ? m_button.top + y : m_button.top + m_button.height + y;
    return m_picture.at(int((left + 0.5) * m_scale), int((top + 0.5) * m_scale));
  }

  // The caption's ink: the device pixels inside the edges that are not the face colour, and
  // the darkest of them.
  struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    Rgb darkest{255, 255, 255};
  };
  Ink CaptionInk(Rgb face) const {
    Ink ink;
    const int inset = int(std::ceil(4 * m_scale));
    const int x0 = int(m_button.left * m_scale), y0 = int(m_button.top * m_scale);
    const int x1 = int((m_button.left + m_button.width) * m_scale);
    const int y1 = int((m_button.top + m_button.height) * m_scale);
    for (int y = y0 + inset; y < y1 - inset; ++y) {
      for (int x = x0 + inset; x < x1 - inset; ++x) {
        const Rgb colour = m_picture.at(x, y);
        if (colour == face)
          continue;
        ink.left = std::min(ink.left, x);
        ink.top = std::min(ink.top, y);
        ink.right = std::max(ink.right, x);
        ink.bottom = std::max(ink.bottom, y);
        if (colour.red + colour.green + colour.blue <
            ink.darkest.red + ink.darkest.green + ink.darkest.blue) {
          ink.darkest = colour;
        }
      }
    }
    return ink;
  }

 private:
  const Picture& m_picture;
  double m_scale;
  PixelRect m_button;
};

TEST_F(Form1Conformance, ButtonsAreDrawnFromTheirSettings) {
  const TesgardButtonSettings& wanted = kTesgardButtonSettings;
  const Rgb outline{96, 96, 96};  // the shadow colour at half strength
  const Picture shown = window->Grab();
  const Picture held = window->Grab("TesgardButton2");
  for (const ExpectedControl& control : kExpectedControls) {
    if (control.caption != u"Browse" && control.caption != u"Restore xabrint File") {
      continue;
    }
    const ButtonPicture up(shown, window->ClientRect(), Expected(control));
    const int middle = Expected(control).height / 2;
    EXPECT_EQ(up.At(2, middle), wanted.bcol) << control.name;
    EXPECT_EQ(up.At(0, middle), outline) << control.name;
    EXPECT_EQ(up.At(-1, middle), outline) << control.name;
    EXPECT_EQ(up.At(1, middle), wanted.embosss) << control.name;
    EXPECT_EQ(up.At(middle, 1), wanted.embosss) << control.name;
    EXPECT_EQ(up.At(-2, middle), wanted.embossm) << control.name;
    EXPECT_EQ(up.At(middle, -2), wanted.embossm) << control.name;

    // Smoothed edges aside, the caption is drawn in its colour.
    const auto ink = up.CaptionInk(wanted.bcol);
    EXPECT_LT(std::abs(ink.darkest.red - wanted.fcol.red) +
                  std::abs(ink.darkest.green - wanted.fcol.green) +
                  std::abs(ink.darkest.blue - wanted.fcol.blue),
              120)
        << control.name;
    const int inkWidth = ink.right - ink.left + 1;
    const int captionWidth = window->CaptionWidth(control.name);
    EXPECT_NEAR(inkWidth, captionWidth, 3 + captionWidth / 10) << control.name;

    if (std::string(control.name) == "TesgardButton2") {
      // Held down, the edges swap and the caption moves down and to the right.
      const ButtonPicture down(held, window->ClientRect(), Expected(control));
      EXPECT_EQ(down.At(1, middle), wanted.embossm);
      EXPECT_EQ(down.At(-2, middle), wanted.embosss);
      const auto pushed = down.CaptionInk(wanted.bcol);
      EXPECT_GT(pushed.left, ink.left);
      EXPECT_GT(pushed.top, ink.top);
      EXPECT_EQ(pushed.right - pushed.left, ink.right - ink.left);
    }
  }
}

}  // namespace
}  // namespace zeduzovir::testing
