#pragma once

#include <QFont>

#include "ui/form1_layout.h"

namespace zeduzovir {

// Maps the window's Windows font names to metric-compatible faces where they are missing,
// so captions keep the room the layout gives them. Safe to call more than once.
void InstallFontSubstitutes();

// The font a control is drawn with: `wanted`, or `windowFont` when it asks for the default.
QFont ControlFont(const FontSpec& wanted, const QFont& windowFont);

}  // namespace zeduzovir
