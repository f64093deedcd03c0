#include "ui/win32/system_function.h"

#include <string>

namespace zeduzovir {

FARPROC SystemProcedure(const wchar_t* dll, const char* name) {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(GetSystemDirectoryW(path.data(), MAX_PATH));
  path += L'\\';
  path += dll;
  // Once loaded, the DLL stays for the rest of the run, as an imported one would.
  HMODULE module = LoadLibraryW(path.c_str());
  return module != nullptr ? GetProcAddress(module, name) : nullptr;
}

}  // namespace zeduzovir
