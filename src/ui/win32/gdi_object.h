#pragma once

#include <windows.h>

#include <memory>
#include <type_traits>

namespace zeduzovir {

struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};

// Owns a GDI object (a font, a brush) and deletes it when it goes.
template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiObjectDeleter>;

using UniqueFont = GdiObject<HFONT>;
using UniqueBrush = GdiObject<HBRUSH>;

}  // namespace zeduzovir
