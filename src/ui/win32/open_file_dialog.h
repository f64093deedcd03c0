#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <optional>
#include <string>

namespace zeduzovir {

// The window's one open-file dialog, shared by every row. It remembers the last file chosen
// through any row and opens with it filled in.
class OpenFileDialog {
 public:
  // Room for the longest path Windows accepts, far beyond the old 260-character limit.
  static constexpr std::size_t kMaxPathLength = 32768;

  // Shows the dialog modally over `owner`; returns the chosen path, or nothing on cancel.
  std::optional<std::u16string> Show(HWND owner);

 private:
  std::u16string m_fileName;
  decltype(&GetOpenFileNameW) m_getOpenFileName = nullptr;
};

}  // namespace zeduzovir
