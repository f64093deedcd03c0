#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zeduzovir {

inline constexpr char16_t kEllipsis = u'\u2026';

// `name` as a person should read it in a message. A character that would act on the text around
// it without showing itself (a direction control, an invisible format character, a control
// character, half a surrogate pair) is written out as <U+XXXX>, so that a name cannot pass
// itself off as another. The result is then shortened in the middle to at most `maxLength`
// code units around an ellipsis, never cutting a character or a <U+XXXX> in two.
std::u16string ShownName(std::u16string_view name, std::size_t maxLength);

}  // namespace zeduzovir
