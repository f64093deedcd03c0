#pragma once

#include <windows.h>

#include <string>

namespace zeduzovir::testing {

// The visible top-level window of a process, or nullptr while it shows none.
inline HWND ProcessWindow(DWORD processId) {
  struct Search {
    DWORD processId;
    HWND found;
  } search{processId, nullptr};
  EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* wanted = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == wanted->processId && IsWindowVisible(window) &&
            GetWindow(window, GW_OWNER) == nullptr) {
          wanted->found = window;
          return FALSE;
        }
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The folder this program was started from, with a trailing separator.
inline std::wstring OwnFolder() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring folder(self);
  return folder.substr(0, folder.find_last_of(L"\\/") + 1);
}

}  // namespace zeduzovir::testing
