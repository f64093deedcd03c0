#pragma once

#include <span>
#include <vector>

#include "commands/open_files_command.h"

namespace zeduzovir {

// Files given on the command line, as Explorer passes them for "Open with" or a drop on the
// program or its shortcut: every argument is a file, made absolute by Windows' rules for names
// alone, with nothing on disk asked.
std::vector<StartFile> CommandLineFiles(std::span<const wchar_t* const> arguments);

}  // namespace zeduzovir
