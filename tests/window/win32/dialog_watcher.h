#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace zeduzovir::testing {

// Acts on the next dialog box (a message box or the file dialog) that this thread shows. Arm it
// before the action that opens the dialog; afterwards ran() says whether one appeared, so a
// dialog that never came fails the test instead of passing silently. A dialog the action
// leaves open is cancelled, so a failing test cannot hang on it.
class DialogWatcher {
 public:
  explicit DialogWatcher(std::function<void(HWND)> act) : m_act(std::move(act)) {
    s_current = this;
    m_timer = SetTimer(nullptr, 0, 10, &DialogWatcher::OnTimer);
  }
  ~DialogWatcher() {
    KillTimer(nullptr, m_timer);
    s_current = nullptr;
  }
  DialogWatcher(const DialogWatcher&) = delete;
  DialogWatcher& operator=(const DialogWatcher&) = delete;

  bool ran() const { return m_ran; }

 private:
  static BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
    wchar_t className[16] = {};
    GetClassNameW(window, className, 16);
    if (std::wstring(className) == L"#32770" && IsWindowVisible(window)) {
      *reinterpret_cast<HWND*>(found) = window;
      return FALSE;
    }
    return TRUE;
  }

  static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD) {
    DialogWatcher* self = s_current;
    if (self == nullptr || self->m_ran) {
      return;
    }
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &DialogWatcher::FindDialog,
                      reinterpret_cast<LPARAM>(&dialog));
    if (dialog == nullptr) {
      return;
    }
    self->m_ran = true;
    KillTimer(nullptr, self->m_timer);
    self->m_act(dialog);
    // Some dialogs close a moment after they are answered.
    const ULONGLONG deadline = GetTickCount64() + 3000;
    MSG message;
    while (IsWindow(dialog) && IsWindowVisible(dialog) && GetTickCount64() < deadline) {
      while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (!IsDialogMessageW(dialog, &message)) {
          TranslateMessage(&message);
          DispatchMessageW(&message);
        }
      }
      Sleep(5);
    }
    if (IsWindow(dialog) && IsWindowVisible(dialog)) {
      PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
  }

  static inline DialogWatcher* s_current = nullptr;
  std::function<void(HWND)> m_act;
  UINT_PTR m_timer = 0;
  bool m_ran = false;
};

}  // namespace zeduzovir::testing
