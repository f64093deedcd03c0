#include "ui/win32/command_line_files.h"

#include <windows.h>

#include "ui/win32/win32_text.h"

namespace zeduzovir {

std::vector<StartFile> CommandLineFiles(std::span<const wchar_t* const> arguments) {
  std::vector<StartFile> files;
  for (const wchar_t* argument : arguments) {
    if (*argument == L'\0') {
      continue;  // names no file
    }
    std::wstring path(GetFullPathNameW(argument, 0, nullptr, nullptr), L'\0');
    const DWORD length =
        GetFullPathNameW(argument, static_cast<DWORD>(path.size()), path.data(), nullptr);
    if (length == 0 || length >= path.size()) {
      files.emplace_back(Unshowable::NotText);
      continue;
    }
    path.resize(length);
    files.emplace_back(ToU16(path));
  }
  return files;
}

}  // namespace zeduzovir
