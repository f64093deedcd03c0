#include <windows.h>

#include <cstdlib>
#include <vector>

#include "ui/win32/command_line_files.h"
#include "ui/win32/form1_window.h"
#include "ui/win32/start_files_hand_over.h"
#include "ui/win32/start_gate.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int showCommand) {
  const std::vector<zeduzovir::StartFile> files = zeduzovir::CommandLineFiles(
      {__wargv + 1, static_cast<std::size_t>(__argc > 0 ? __argc - 1 : 0)});
  // Explorer starts the program once for each file chosen: those starts gather in one window.
  zeduzovir::StartGate gate(!files.empty());
  if (!files.empty() && zeduzovir::HandFilesToOpenWindow(files)) {
    return 0;
  }
  zeduzovir::Form1Window window(instance, [] { PostQuitMessage(0); });
  if (window.hwnd() == nullptr) {
    return 1;
  }
  window.OpenFiles(files);
  gate.Leave();
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
