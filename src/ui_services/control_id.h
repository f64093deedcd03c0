#pragma once

#include <cstddef>

namespace zeduzovir {

// Every control of the main window. The ordinals are the controls' own names, so the
// Browse buttons of rows 2 to 5 are TesgardButton4 to TesgardButton7.
enum class ControlId {
  Label1,
  Text1,
  TesgardButton1,
  Label2,
  Text2,
  TesgardButton4,
  Label3,
  Text3,
  TesgardButton5,
  Label4,
  Text4,
  TesgardButton6,
  Label5,
  Text5,
  TesgardButton7,
  TesgardButton2,
};

inline constexpr std::size_t kControlCount = 16;

constexpr std::size_t IndexOf(ControlId id) {
  return static_cast<std::size_t>(id);
}

}  // namespace zeduzovir
