#include "commands/elide_middle.h"

namespace zeduzovir {

namespace {

bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::u16string ElideMiddle(std::u16string_view text, std::size_t maxLength) {
  if (text.size() <= maxLength) {
    return std::u16string(text);
  }
  if (maxLength == 0) {
    return {};
  }
  const std::size_t kept = maxLength - 1;
  std::size_t headLength = (kept + 1) / 2;
  std::size_t tailStart = text.size() - (kept - headLength);
  // Neither cut may fall between the two halves of a surrogate pair.
  if (headLength > 0 && IsLowSurrogate(text[headLength])) {
    --headLength;
  }
  if (tailStart < text.size() && IsLowSurrogate(text[tailStart])) {
    ++tailStart;
  }
  std::u16string elided(text.substr(0, headLength));
  elided += kEllipsis;
  elided += text.substr(tailStart);
  return elided;
}

}  // namespace zeduzovir
