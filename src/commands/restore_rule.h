#pragma once

#include <string_view>

namespace zeduzovir {

// Marks a file name that can be restored; matched exactly, case included.
inline constexpr std::u16string_view RestoreMarker = u"xaBrint";

// Everything before the first marker in `path`, or empty when there is no marker. The result is
// a view into `path`, so it lives as long as the text it was derived from.
[[nodiscard]] std::u16string_view DeriveRestoredName(std::u16string_view path);

}  // namespace zeduzovir
