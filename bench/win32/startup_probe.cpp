// Starts Windows programs from this program's folder in turn, round after round, and measures
// the time from process start until each shows its window.
//   startup_probe ROUNDS PROGRAM.exe...
// Prints, per program: startup_ms=<median> program=<name>; for two programs also
// median_ratio=<the median over rounds of the first's time over the second's>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "process_window.h"

namespace {

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
  HWND window = nullptr;
  LARGE_INTEGER now = start;
  while (window == nullptr && Seconds(start, now) < 30) {
    window = zeduzovir::testing::ProcessWindow(process.dwProcessId);
    QueryPerformanceCounter(&now);
    if (window == nullptr) {
      Sleep(1);
    }
  }
  const double millis = window != nullptr ? Seconds(start, now) * 1000 : -1;
  if (window != nullptr) {
    PostMessageW(window, WM_CLOSE, 0, 0);
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
  const std::wstring folder = zeduzovir::testing::OwnFolder();

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
    auto values = millis[static_cast<std::size_t>(p)];
    std::sort(values.begin(), values.end());
    std::printf("startup_ms=%.1f program=%ls\n", values[values.size() / 2], argv[2 + p]);
  }
  // Each round's time of the first program over the second's, as the machine's load drifts
  // between rounds but hardly within one.
  if (programs == 2) {
    std::vector<double> ratios;
    for (std::size_t round = 0; round < millis[0].size(); ++round) {
      ratios.push_back(millis[0][round] / millis[1][round]);
    }
    std::sort(ratios.begin(), ratios.end());
    std::printf("median_ratio=%.3f\n", ratios[ratios.size() / 2]);
  }
  return 0;
}
