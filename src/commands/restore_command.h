#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "ui_services/control_id.h"

namespace zeduzovir {

class UiServices;

// A shorter text than this is refused without looking for the marker.
inline constexpr std::size_t kMinimumRestoreLength = 2;

inline constexpr std::u16string_view kNothingToDecryptMessage = u"Nothing to decrypt";

// Longer names are shortened in the middle in the message, which would otherwise take seconds
// to lay out and not fit on any screen; the box itself keeps the whole name, hidden characters
// included, since it is what the next restore reads.
inline constexpr std::size_t kMaxNameLengthInMessage = 1024;

std::u16string RestoredMessage(std::u16string_view restoredName);

// Cuts the path in `textBox` where the marker begins, shows the result there and reports it.
// A path that yields no name is left as it is and reported as nothing to decrypt.
void RestoreCommand(ControlId textBox, UiServices& ui);

}  // namespace zeduzovir
