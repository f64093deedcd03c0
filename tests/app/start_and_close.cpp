// Starts Zeduzovir.exe, waits for its window, closes it as a person would and checks that the
// program then ends cleanly.
//   start_and_close PROGRAM

#include <windows.h>

#include <cstdio>
#include <string>

int Fail(const char* why) {
  std::printf("FAIL: %s\n", why);
  return 1;
}

int wmain(int argc, wchar_t* argv[]) {
  const std::wstring program = argc > 1 ? argv[1] : L"";
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return Fail("Zeduzovir.exe did not start");
  }
  HWND window = nullptr;
  for (int attempt = 0; attempt < 200 && window == nullptr; ++attempt, Sleep(50)) {
    window = FindWindowW(L"Zeduzovir.Form1", L"Zeduzovir");
  }
  PostMessageW(window, WM_CLOSE, 0, 0);
  const bool ended = WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0;
  DWORD status = 1;
  GetExitCodeProcess(process.hProcess, &status);
  TerminateProcess(process.hProcess, 1);
  if (window == nullptr)
    return Fail("no window titled Zeduzovir appeared");
  if (!ended || status != 0)
    return Fail("the program did not end cleanly when its window was closed");
  std::printf("PASS: started, showed its window titled Zeduzovir, ended on close\n");
  return 0;
}
