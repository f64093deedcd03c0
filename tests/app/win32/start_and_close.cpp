// Starts Zeduzovir.exe from this program's own folder, waits for its window, checks it, closes it
// as a user would and checks that the program then ends cleanly.

#include <windows.h>

#include <cstdio>
#include <string>

#include "support/process_window.h"

namespace {

int Fail(const char* why) {
  std::printf("FAIL: %s\n", why);
  return 1;
}

}  // namespace

int main() {
  const std::wstring program = zeduzovir::testing::OwnFolder() + L"Zeduzovir.exe";

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return Fail("Zeduzovir.exe did not start");
  }
  WaitForInputIdle(process.hProcess, 10000);

  HWND window = nullptr;
  for (int attempt = 0; attempt < 200 && window == nullptr; ++attempt) {
    window = zeduzovir::testing::ProcessWindow(process.dwProcessId);
    if (window == nullptr) {
      Sleep(50);
    }
  }
  if (window == nullptr) {
    TerminateProcess(process.hProcess, 1);
    return Fail("no window appeared");
  }

  wchar_t title[64] = {};
  GetWindowTextW(window, title, 64);
  RECT client{};
  GetClientRect(window, &client);
  const bool titled = std::wstring(title) == L"Zeduzovir";
  const bool sized = client.right == 371 && client.bottom == 286;

  PostMessageW(window, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    return Fail("the program did not end when its window was closed");
  }
  DWORD exitCode = 1;
  GetExitCodeProcess(process.hProcess, &exitCode);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);

  if (!titled) {
    return Fail("the window is not titled Zeduzovir");
  }
  if (!sized) {
    return Fail("the client area is not 371 x 286 pixels");
  }
  if (exitCode != 0) {
    return Fail("the program ended with a failure status");
  }
  std::printf("PASS: started, showed its window titled Zeduzovir, ended on close\n");
  return 0;
}
