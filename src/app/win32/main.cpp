#include <windows.h>

#include <cstdlib>

#include "ui/win32/command_line_files.h"
#include "ui/win32/form1_window.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int showCommand) {
  zeduzovir::Form1Window window(instance, [] { PostQuitMessage(0); });
  if (window.hwnd() == nullptr) {
    return 1;
  }
  window.OpenFiles(zeduzovir::CommandLineFiles(
      {__wargv + 1, static_cast<std::size_t>(__argc > 0 ? __argc - 1 : 0)}));
  ShowWindow(window.hwnd(), showCommand);
  UpdateWindow(window.hwnd());

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    // Dialog navigation gives Tab, Shift+Tab and Enter their usual meaning.
    if (!IsDialogMessageW(window.hwnd(), &message)) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
  }
  return static_cast<int>(message.wParam);
}
