#pragma once

#include <string>
#include <string_view>

namespace zeduzovir {

// Windows' wide strings are UTF-16 too, so text crosses over unchanged.
static_assert(sizeof(wchar_t) == sizeof(char16_t));

inline std::wstring ToWide(std::u16string_view text) {
  return {text.begin(), text.end()};
}

inline std::u16string ToU16(std::wstring_view text) {
  return {text.begin(), text.end()};
}

}  // namespace zeduzovir
