#include "commands/restore_rule.h"

#include <cstring>

namespace zeduzovir {

namespace {

bool MarkerAt(std::u16string_view path, std::size_t unit) {
  return path.substr(unit, RestoreMarker.size()) == RestoreMarker;
}

// How far a plain loop looks before handing over to memchr: most markers sit in a file name's
// first few dozen units, where a call to memchr costs more than it saves.
constexpr std::size_t kPlainScanLength = 64;

// The first place of the marker in `path`. Past the first units, the marker's first letter is
// looked for with memchr, which the C library scans many bytes at a time, on the path's bytes:
// every 'x' code unit holds the byte 'x', whatever the byte order, and a hit on any other unit
// is passed over.
std::size_t FindMarker(std::u16string_view path) {
  if (path.size() < RestoreMarker.size()) {
    return std::u16string_view::npos;
  }
  const std::size_t candidates = path.size() - RestoreMarker.size() + 1;
  const std::size_t plain = candidates < kPlainScanLength ? candidates : kPlainScanLength;
  for (std::size_t unit = 0; unit < plain; ++unit) {
    if (path[unit] == RestoreMarker.front() && MarkerAt(path, unit)) {
      return unit;
    }
  }
  const auto* bytes = reinterpret_cast<const unsigned char*>(path.data());
  const std::size_t end = candidates * sizeof(char16_t);
  for (std::size_t from = plain * sizeof(char16_t); from < end;) {
    const void* hit = std::memchr(bytes + from, RestoreMarker.front(), end - from);
    if (hit == nullptr) {
      break;
    }
    const auto offset = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - bytes);
    const std::size_t unit = offset / sizeof(char16_t);
    if (MarkerAt(path, unit)) {
      return unit;
    }
    from = offset + 1;
  }
  return std::u16string_view::npos;
}

}  // namespace

std::u16string_view DeriveRestoredName(std::u16string_view path) {
  const std::size_t markerAt = FindMarker(path);
  return markerAt == std::u16string_view::npos ? std::u16string_view() : path.substr(0, markerAt);
}

}  // namespace zeduzovir
