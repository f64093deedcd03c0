#pragma once

#include <windows.h>

namespace zeduzovir {

// Per session, as the windows a start may join are.
inline constexpr wchar_t kStartGateName[] = L"Local\\Zeduzovir.Start";

// Lets one start at a time look for an open window that takes its files and, finding none,
// open its own, so that starts made together, as Explorer makes one for each file chosen,
// gather in one window. The wait is bounded: a start that held the gate and hangs holds up
// the others only that long, and one that died hands it on at once.
class StartGate {
 public:
  // Waits for the gate; `wanted` false passes at once, holding nothing.
  explicit StartGate(bool wanted);
  ~StartGate() { Leave(); }
  StartGate(const StartGate&) = delete;
  StartGate& operator=(const StartGate&) = delete;

  // Lets the next start in, once this one's window can take files.
  void Leave();

 private:
  HANDLE m_mutex = nullptr;
  bool m_held = false;
};

}  // namespace zeduzovir
