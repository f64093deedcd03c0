#pragma once

#include <windows.h>

#include "ui/tesgard_button_settings.h"

namespace zeduzovir {

// The window's push button, an owner-drawn BUTTON: the system handles clicks, Space and focus,
// and the window paints the face from the stored settings when it receives WM_DRAWITEM.
HWND CreateTesgardButton(HWND parent, int id, const wchar_t* caption);

void DrawTesgardButton(const DRAWITEMSTRUCT& item, const TesgardButtonSettings& settings);

}  // namespace zeduzovir
