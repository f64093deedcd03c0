#pragma once

#include <span>
#include <string>
#include <vector>

#include "commands/open_files_command.h"

namespace zeduzovir {

// zeduzovir [OPTION]... [--] [FILE]...: what the program was asked to do. Read before the
// toolkit starts, so that --help and --version need no display, and so that the toolkit never
// takes a file's name for one of its own options.
struct CommandLine {
  enum class Action { OpenWindow, PrintHelp, PrintVersion, RefuseOption };
  Action action = Action::OpenWindow;
  // Each file's absolute path, or why there is none: a name that is not UTF-8, or a relative
  // one with no current folder to read.
  std::vector<StartFile> files;
  // As a terminal may show it: bytes outside printable ASCII written as \xNN.
  std::string refusedOption;
};

// `arguments` without the program's own name. Relative names are joined to `currentFolder`
// (null where it cannot be read), which nothing on disk is asked to confirm.
CommandLine ReadCommandLine(std::span<const char* const> arguments, const char* currentFolder);

extern const char kUsage[];

}  // namespace zeduzovir
