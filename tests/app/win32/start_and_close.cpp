// Starts Zeduzovir.exe from this program's own folder, waits for its window, checks it, closes it
// as a user would and checks that the program then ends cleanly.

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindProgramWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window) &&
      GetWindow(window, GW_OWNER) == nullptr) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

int Fail(const char* why) {
  std::printf("FAIL: %s\n", why);
  return 1;
}

}  // namespace

int main() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring program(self);
  program = program.substr(0, program.find_last_of(L"\\/") + 1) + L"Zeduzovir.exe";

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return Fail("Zeduzovir.exe did not start");
  }
  WaitForInputIdle(process.hProcess, 10000);

  Search search{process.dwProcessId, nullptr};
  for (int attempt = 0; attempt < 200 && search.found == nullptr; ++attempt) {
    EnumWindows(&FindProgramWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) {
      Sleep(50);
    }
  }
  if (search.found == nullptr) {
    TerminateProcess(process.hProcess, 1);
    return Fail("no window appeared");
  }

  wchar_t title[64] = {};
  GetWindowTextW(search.found, title, 64);
  RECT client{};
  GetClientRect(search.found, &client);
  const bool titled = std::wstring(title) == L"Zeduzovir";
  const bool sized = client.right == 371 && client.bottom == 286;

  PostMessageW(search.found, WM_CLOSE, 0, 0);
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
