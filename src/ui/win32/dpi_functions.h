#pragma once

#include <windows.h>

namespace zeduzovir {

// The per-window DPI functions of Windows 10 version 1607 and later, looked up at run time so
// that the program starts on Windows 7 and 8 too. Without them every window has the system
// DPI, and a window moved to a screen of another DPI scales the system's font itself.
class DpiFunctions {
 public:
  static DpiFunctions Lookup();
  // As on a system that has none of them.
  static DpiFunctions None() { return {}; }

  int DpiOf(HWND window) const;
  // The font that message boxes and the window's text boxes use, at `dpi`.
  LOGFONTW MessageFont(int dpi) const;

 private:
  using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
  using SystemParametersInfoForDpiFunction = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

  GetDpiForWindowFunction m_getDpiForWindow = nullptr;
  SystemParametersInfoForDpiFunction m_systemParametersInfoForDpi = nullptr;
};

}  // namespace zeduzovir
