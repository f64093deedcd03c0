// Starts Windows programs from this program's folder in turn, round after round, and measures
// the time from process start until each shows its window.
//   startup_probe ROUNDS PROGRAM.exe...
// Prints, per program: startup_ms=<median> program=<name>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindVisibleWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == search->processId && IsWindowVisible(window)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Measure(const std::wstring& program) {
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(program.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return -1;
  }
  Search search{process.dwProcessId, nullptr};
  LARGE_INTEGER now = start;
  while (search.found == nullptr && Seconds(start, now) < 30) {
    EnumWindows(&FindVisibleWindow, reinterpret_cast<LPARAM>(&search));
    QueryPerformanceCounter(&now);
    if (search.found == nullptr) {
      Sleep(1);
    }
  }
  const double millis = search.found != nullptr ? Seconds(start, now) * 1000 : -1;
  if (search.found != nullptr) {
    PostMessageW(search.found, WM_CLOSE, 0, 0);
  }
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return millis;
}

}  // namespace

int wmain(int argc, wchar_t* argv[]) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_probe ROUNDS PROGRAM.exe...\n");
    return 2;
  }
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  std::wstring folder(self);
  folder = folder.substr(0, folder.find_last_of(L"\\/") + 1);

  const int rounds = std::max(1, _wtoi(argv[1]));
  const int programs = argc - 2;
  std::vector<std::vector<double>> millis(static_cast<std::size_t>(programs));
  for (int round = 0; round < rounds; ++round) {
    for (int i = 0; i < programs; ++i) {
      const int p = (round % 2 == 0) ? i : programs - 1 - i;
      const double sample = Measure(folder + argv[2 + p]);
      if (sample < 0) {
        std::fwprintf(stderr, L"startup_probe: %ls showed no window\n", argv[2 + p]);
        return 1;
      }
      millis[static_cast<std::size_t>(p)].push_back(sample);
    }
  }
  for (int p = 0; p < programs; ++p) {
    auto& values = millis[static_cast<std::size_t>(p)];
    std::sort(values.begin(), values.end());
    std::printf("startup_ms=%.1f program=%ls\n", values[values.size() / 2], argv[2 + p]);
  }
  return 0;
}
