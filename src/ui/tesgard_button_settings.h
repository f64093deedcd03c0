#pragma once

#include <cstdint>
#include <string_view>

namespace zeduzovir {

struct Rgb {
  std::uint8_t red;
  std::uint8_t green;
  std::uint8_t blue;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The stored settings of the window's button control, under the control's own property
// names. Only the face, caption and emboss colours change how the buttons are drawn; the
// rest are kept so that every button carries the same complete set.
struct TesgardButtonSettings {
  Rgb bcol;     // face
  Rgb fcol;     // caption
  Rgb fcolo;    // caption while the pointer is over the button
  Rgb embossm;  // emboss shadow
  Rgb embosss;  // emboss highlight
  int btype;
  int coltype;
  int align;
  int iconsize;
  bool showf;  // draw the focus rectangle
  int bstyle;
  int style;
  int orient;
  int iconalign;
  int mptr;
  std::u16string_view micon;  // empty: no picture
  std::u16string_view imglst;
  std::u16string_view imgicon;
};

inline constexpr TesgardButtonSettings kTesgardButtonSettings{
    .bcol = {236, 233, 216},
    .fcol = {0, 0, 0},
    .fcolo = {0, 0, 0},
    .embossm = {192, 192, 192},
    .embosss = {255, 255, 255},
    .btype = 3,
    .coltype = 1,
    .align = 1,
    .iconsize = 2,
    .showf = true,
    .bstyle = 0,
    .style = 0,
    .orient = 0,
    .iconalign = 0,
    .mptr = 0,
    .micon = u"",
    .imglst = u"(None)",
    .imgicon = u"(None)",
};

}  // namespace zeduzovir
