#pragma once

#include <span>
#include <string_view>

#include "ui/twips.h"
#include "ui_services/control_id.h"

namespace zeduzovir {

// The one window, described as data. Front ends build their controls from this table and
// nothing else, so a change of layout is a change here.

inline constexpr std::u16string_view kApplicationTitle = u"Zeduzovir";
inline constexpr std::u16string_view kForm1Caption = kApplicationTitle;
inline constexpr int kForm1ClientWidth = 5565;   // twips
inline constexpr int kForm1ClientHeight = 4290;  // twips

enum class ControlKind { Label, TextBox, Button };

inline constexpr int kFontWeightRegular = 400;
inline constexpr int kFontWeightBold = 700;

struct FontSpec {
  std::u16string_view face;  // empty: the window's default font
  double points;
  int weight;
  friend constexpr bool operator==(const FontSpec&, const FontSpec&) = default;
};

inline constexpr FontSpec kWindowDefaultFont{};

struct ControlSpec {
  ControlId id;
  std::string_view name;  // also the toolkit object name that tests find controls by
  ControlKind kind;
  std::u16string_view text;
  TwipsRect bounds;
  FontSpec font;
};

// In creation order: row by row, then the restore button.
std::span<const ControlSpec> Form1Controls();

const ControlSpec& Form1Control(ControlId id);

// The order keyboard focus moves in; the first control has the focus at start.
std::span<const ControlId> Form1TabOrder();

}  // namespace zeduzovir
