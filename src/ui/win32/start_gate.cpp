#include "ui/win32/start_gate.h"

namespace zeduzovir {

namespace {

// Longer than a start takes to open its window on a loaded machine.
constexpr DWORD kLongestWait = 10000;

}  // namespace

StartGate::StartGate(bool wanted) {
  if (!wanted) {
    return;
  }
  m_mutex = CreateMutexW(nullptr, FALSE, kStartGateName);
  if (m_mutex != nullptr) {
    // Abandoned: the start that held it ended without leaving, so there is no window to wait for.
    const DWORD waited = WaitForSingleObject(m_mutex, kLongestWait);
    m_held = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
  }
}

void StartGate::Leave() {
  if (m_held) {
    ReleaseMutex(m_mutex);
    m_held = false;
  }
  if (m_mutex != nullptr) {
    CloseHandle(m_mutex);
    m_mutex = nullptr;
  }
}

}  // namespace zeduzovir
