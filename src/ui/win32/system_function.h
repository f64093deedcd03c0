#pragma once

#include <windows.h>

namespace zeduzovir {

// The address of `name` in the system DLL `dll`, loaded from the system folder alone; nullptr
// when that Windows has no such function.
FARPROC SystemProcedure(const wchar_t* dll, const char* name);

// The same, as the function's own type: for functions that only newer Windows versions have,
// and for DLLs that the program needs too seldom to load them at every start.
template <typename Function>
Function SystemFunction(const wchar_t* dll, const char* name) {
  // Through void(*)(), the one function type that converts to any other without a warning.
  return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(SystemProcedure(dll, name)));
}

}  // namespace zeduzovir
