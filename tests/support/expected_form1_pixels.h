#pragma once

#include <array>
#include <string_view>

#include "ui/twips.h"

namespace zeduzovir::testing {

// Where each control must stand at 96 DPI, worked out by hand from its twips (15 to the
// pixel, halves rounded up), so a slip in the window table or in the conversion shows.
struct ExpectedControl {
  std::string_view name;
  PixelRect pixels;
};

inline constexpr int kExpectedClientWidth = 371;
inline constexpr int kExpectedClientHeight = 286;

inline constexpr std::array kExpectedForm1Pixels{
    ExpectedControl{"Label1", {7, 7, 39, 16}},
    ExpectedControl{"Text1", {46, 5, 213, 19}},
    ExpectedControl{"TesgardButton1", {264, 5, 50, 18}},
    ExpectedControl{"Label2", {7, 34, 39, 16}},
    ExpectedControl{"Text2", {46, 32, 213, 19}},
    ExpectedControl{"TesgardButton4", {265, 32, 50, 18}},
    ExpectedControl{"Label3", {7, 61, 39, 16}},
    ExpectedControl{"Text3", {46, 59, 213, 19}},
    ExpectedControl{"TesgardButton5", {265, 60, 50, 18}},
    ExpectedControl{"Label4", {7, 88, 39, 16}},
    ExpectedControl{"Text4", {46, 86, 213, 19}},
    ExpectedControl{"TesgardButton6", {265, 87, 50, 18}},
    ExpectedControl{"Label5", {7, 114, 39, 16}},
    ExpectedControl{"Text5", {46, 113, 213, 19}},
    ExpectedControl{"TesgardButton7", {265, 115, 50, 18}},
    ExpectedControl{"TesgardButton2", {46, 148, 217, 31}},
};

// Focus moves through these, by name, from the first Browse button.
inline constexpr std::array<std::string_view, 11> kExpectedTabOrder{
    "TesgardButton1", "Text1",          "TesgardButton2", "Text2",
    "Text3",          "Text4",          "Text5",          "TesgardButton4",
    "TesgardButton5", "TesgardButton6", "TesgardButton7",
};

}  // namespace zeduzovir::testing
