#include "commands/restore_rule.h"

namespace zeduzovir {

std::u16string DeriveRestoredName(std::u16string_view path) {
  const auto markerAt = path.find(RestoreMarker);
  if (markerAt == std::u16string_view::npos) {
    return {};
  }
  return std::u16string(path.substr(0, markerAt));
}

}  // namespace zeduzovir
