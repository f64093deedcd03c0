#include "ui/win32/open_file_dialog.h"

#include <commdlg.h>

#include <algorithm>
#include <cwchar>
#include <vector>

#include "ui/win32/system_function.h"

namespace zeduzovir {

std::optional<std::u16string> OpenFileDialog::Show(HWND owner) {
  std::vector<wchar_t> buffer(kMaxPathLength, L'\0');
  std::copy_n(m_fileName.begin(), std::min(m_fileName.size(), buffer.size() - 1), buffer.begin());

  // No filter, default title, no initial folder and no option flags: the dialog as Windows
  // offers it.
  OPENFILENAMEW request{};
  request.lStructSize = sizeof(request);
  request.hwndOwner = owner;
  request.lpstrFile = buffer.data();
  request.nMaxFile = static_cast<DWORD>(buffer.size());
  // A cancel and a dialog that could not open both leave the row as it was.
  // Loaded on the first Browse rather than at every start.
  if (m_getOpenFileName == nullptr) {
    m_getOpenFileName =
        SystemFunction<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
  }
  if (m_getOpenFileName == nullptr || !m_getOpenFileName(&request)) {
    return std::nullopt;
  }
  m_fileName.assign(buffer.data(), buffer.data() + std::wcslen(buffer.data()));
  return m_fileName;
}

}  // namespace zeduzovir
