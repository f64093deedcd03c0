#pragma once

#include "ui_services/control_id.h"

namespace zeduzovir {

// Child-window identifiers, clear of IDOK and IDCANCEL, which dialog navigation sends for
// Enter and Escape.
inline constexpr int kFirstWin32ControlId = 100;

constexpr int Win32ControlId(ControlId id) {
  return kFirstWin32ControlId + static_cast<int>(IndexOf(id));
}

constexpr bool IsWin32ControlId(int win32Id) {
  return win32Id >= kFirstWin32ControlId &&
         win32Id < kFirstWin32ControlId + static_cast<int>(kControlCount);
}

constexpr ControlId ControlIdFromWin32(int win32Id) {
  return static_cast<ControlId>(win32Id - kFirstWin32ControlId);
}

}  // namespace zeduzovir
