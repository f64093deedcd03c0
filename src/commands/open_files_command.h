#pragma once

#include <span>
#include <string>
#include <variant>

namespace zeduzovir {

class UiServices;

// Why a file handed to the program at start has no name to show: none that is exactly its own.
enum class Unshowable {
  NotText,          // its name's bytes are not valid text
  NoCurrentFolder,  // a relative name, and the folder it is relative to cannot be read
};

// A file handed to the program when it starts: its absolute path, or why there is none.
using StartFile = std::variant<std::u16string, Unshowable>;
using StartFiles = std::span<const StartFile>;

// Fills the empty rows from the top with the files that can be shown, as Browse would, never
// a row that holds text, and returns what to tell the person: how many files were left out
// and why, or nothing when none was.
std::u16string OpenFilesCommand(StartFiles files, UiServices& ui);

// Whether every file that can be shown finds an empty row, so that none is left out for want
// of one.
bool FilesFitEmptyRows(StartFiles files, const UiServices& ui);

}  // namespace zeduzovir
