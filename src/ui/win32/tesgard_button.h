#pragma once

#include <windows.h>

#include <string_view>

#include "ui/tesgard_button_settings.h"

namespace zeduzovir {

// The window's push button, an owner-drawn BUTTON: the system handles clicks, Space and focus,
// and the window paints the face from the stored settings when it receives WM_DRAWITEM. A
// non-empty `description` tells screen readers more than the caption does.
HWND CreateTesgardButton(HWND parent, int id, const wchar_t* caption,
                         std::wstring_view description);

// Whether the user has asked every program for high contrast.
bool HighContrastIsOn();

// The settings as drawn in the system's colours, as high contrast wants: face, caption and
// emboss taken from the user's scheme, the rest kept.
TesgardButtonSettings InSystemColours(TesgardButtonSettings settings);

void DrawTesgardButton(const DRAWITEMSTRUCT& item, const TesgardButtonSettings& settings);

}  // namespace zeduzovir
