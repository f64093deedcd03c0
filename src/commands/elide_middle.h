#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zeduzovir {

inline constexpr char16_t kEllipsis = u'\u2026';

// `text` as it is when it has at most `maxLength` code units; otherwise its start and its end
// joined by an ellipsis, `maxLength` code units in all, never splitting a surrogate pair.
std::u16string ElideMiddle(std::u16string_view text, std::size_t maxLength);

}  // namespace zeduzovir
