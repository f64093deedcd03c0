// Starts Zeduzovir.exe with a file, as "Open with" does, waits for its window, checks that the
// first row holds the file's full path, closes it as a person would and checks that the program
// then ends cleanly.
//   start_and_close PROGRAM

#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t* argv[]) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  HWND window = nullptr;
  DWORD status = 1;
  const wchar_t* file = L"\u00e9t\u00e9 \u65E5\u672C \U0001F600.jpgxaBrint";
  std::wstring commandLine =
      std::wstring(L"\"") + (argc > 1 ? argv[1] : L"") + L"\" \"" + file + L"\"";
  wchar_t expected[MAX_PATH] = {};
  GetFullPathNameW(file, MAX_PATH, expected, nullptr);
  wchar_t row1[MAX_PATH] = {};
  if (CreateProcessW(argc > 1 ? argv[1] : L"", commandLine.data(), nullptr, nullptr, FALSE, 0,
                     nullptr, nullptr, &startup, &process)) {
    // Shown, the window has its rows filled.
    for (int attempt = 0; attempt < 200 && !IsWindowVisible(window); ++attempt, Sleep(50)) {
      window = FindWindowW(L"Zeduzovir.Form1", L"Zeduzovir");
    }
    // Text1 is the window's second control, 101; another process's text is asked for.
    SendMessageW(GetDlgItem(window, 101), WM_GETTEXT, MAX_PATH, reinterpret_cast<LPARAM>(row1));
    PostMessageW(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0) {
      GetExitCodeProcess(process.hProcess, &status);
    }
    TerminateProcess(process.hProcess, 1);
  }
  const char* failure = window == nullptr ? "no window titled Zeduzovir appeared"
                        : std::wstring(row1) != expected
                            ? "row 1 does not hold the file it was given"
                        : status != 0 ? "it did not end cleanly when its window was closed"
                                      : nullptr;
  std::printf("%s: %s\n", failure ? "FAIL" : "PASS",
              failure ? failure : "started with a file in row 1, ended on close");
  return failure ? 1 : 0;
}
