#pragma once

#include <optional>
#include <span>
#include <string>

namespace zeduzovir {

class UiServices;

// Files handed to the program when it starts, in order: each as its absolute path, or nothing
// where its name could not be read exactly and so must not be shown.
using StartFiles = std::span<const std::optional<std::u16string>>;

// Fills the rows from the top with the files that can be shown, as Browse would, and returns
// what to tell the person once the window shows: how many files were left out and why, or
// nothing when none was.
std::u16string OpenFilesCommand(StartFiles files, UiServices& ui);

}  // namespace zeduzovir
