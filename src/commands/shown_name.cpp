#include "commands/shown_name.h"

namespace zeduzovir {

namespace {

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

// Characters that change how the text around them is laid out, or that show nothing.
bool ActsUnseen(char16_t unit) {
  return unit <= 0x1F || (unit >= 0x7F && unit <= 0x9F) || unit == 0xAD || unit == 0x61C ||
         (unit >= 0x200B && unit <= 0x200F) || (unit >= 0x2028 && unit <= 0x202E) ||
         (unit >= 0x2060 && unit <= 0x2064) || (unit >= 0x2066 && unit <= 0x2069) || unit == 0xFEFF;
}

// One character of a name: a surrogate pair, or a single unit (a lone surrogate half too).
struct Character {
  std::size_t start;
  std::size_t length;
};

Character CharacterAt(std::u16string_view name, std::size_t start) {
  const bool pair =
      IsHighSurrogate(name[start]) && start + 1 < name.size() && IsLowSurrogate(name[start + 1]);
  return {start, pair ? 2U : 1U};
}

Character CharacterEndingAt(std::u16string_view name, std::size_t end) {
  const bool pair = end >= 2 && IsLowSurrogate(name[end - 1]) && IsHighSurrogate(name[end - 2]);
  return pair ? Character{end - 2, 2} : Character{end - 1, 1};
}

bool IsWrittenOut(std::u16string_view name, Character c) {
  return c.length == 1 && (ActsUnseen(name[c.start]) || IsHighSurrogate(name[c.start]) ||
                           IsLowSurrogate(name[c.start]));
}

constexpr std::size_t kWrittenOutLength = 8;  // <U+XXXX>: every such character is in the BMP

std::size_t ShownLength(std::u16string_view name, Character c) {
  return IsWrittenOut(name, c) ? kWrittenOutLength : c.length;
}

void AppendShown(std::u16string& shown, std::u16string_view name, Character c) {
  if (!IsWrittenOut(name, c)) {
    shown += name.substr(c.start, c.length);
    return;
  }
  constexpr std::u16string_view kHexDigits = u"0123456789ABCDEF";
  const char16_t unit = name[c.start];
  shown += u"<U+";
  for (int shift = 12; shift >= 0; shift -= 4) {
    shown += kHexDigits[(unit >> shift) & 0xF];
  }
  shown += u'>';
}

void AppendShown(std::u16string& shown, std::u16string_view name, std::size_t from) {
  for (std::size_t at = from; at < name.size(); at += CharacterAt(name, at).length) {
    AppendShown(shown, name, CharacterAt(name, at));
  }
}

}  // namespace

std::u16string ShownName(std::u16string_view name, std::size_t maxLength) {
  std::size_t total = 0;
  for (std::size_t at = 0; at < name.size();) {
    const Character c = CharacterAt(name, at);
    total += ShownLength(name, c);
    at += c.length;
  }
  std::u16string shown;
  if (total <= maxLength) {
    AppendShown(shown, name, 0);
    return shown;
  }
  if (maxLength == 0) {
    return shown;
  }
  // Whole characters from each end, as many as fit in their half of the room beside the ellipsis.
  const std::size_t kept = maxLength - 1;
  std::size_t headRoom = (kept + 1) / 2;
  std::size_t tailRoom = kept - headRoom;
  std::size_t headEnd = 0;
  while (headEnd < name.size()) {
    const Character c = CharacterAt(name, headEnd);
    if (ShownLength(name, c) > headRoom) {
      break;
    }
    headRoom -= ShownLength(name, c);
    AppendShown(shown, name, c);
    headEnd += c.length;
  }
  shown += kEllipsis;
  std::size_t tailStart = name.size();
  while (tailStart > headEnd) {
    const Character c = CharacterEndingAt(name, tailStart);
    if (ShownLength(name, c) > tailRoom) {
      break;
    }
    tailRoom -= ShownLength(name, c);
    tailStart = c.start;
  }
  AppendShown(shown, name, tailStart);
  return shown;
}

}  // namespace zeduzovir
