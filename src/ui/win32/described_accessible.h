#pragma once

#include <windows.h>

#include <string_view>

namespace zeduzovir {

// Answers WM_GETOBJECT for `control`'s client object: the system's standard object for it,
// which also gives `description`. Returns 0, for the control to answer as usual, where the
// system's accessibility library is missing. The library is loaded on the first question, so
// a start without a screen reader never pays for it.
LRESULT AnswerWithDescription(HWND control, WPARAM wParam, std::wstring_view description);

}  // namespace zeduzovir
