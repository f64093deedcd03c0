// Starts Zeduzovir.exe, waits for its window, closes it as a person would and checks that the
// program then ends cleanly.
//   start_and_close PROGRAM

#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t* argv[]) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  HWND window = nullptr;
  DWORD status = 1;
  if (CreateProcessW(argc > 1 ? argv[1] : L"", nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                     nullptr, &startup, &process)) {
    for (int attempt = 0; attempt < 200 && window == nullptr; ++attempt, Sleep(50)) {
      window = FindWindowW(L"Zeduzovir.Form1", L"Zeduzovir");
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0) {
      GetExitCodeProcess(process.hProcess, &status);
    }
    TerminateProcess(process.hProcess, 1);
  }
  const char* failure = window == nullptr ? "no window titled Zeduzovir appeared"
                        : status != 0     ? "it did not end cleanly when its window was closed"
                                          : nullptr;
  std::printf("%s: %s\n", failure ? "FAIL" : "PASS",
              failure ? failure : "started, showed its window, ended on close");
  return failure ? 1 : 0;
}
