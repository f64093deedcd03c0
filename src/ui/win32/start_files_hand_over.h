#pragma once

#include <windows.h>

#include <vector>

#include "commands/open_files_command.h"

namespace zeduzovir {

// Marks the hand-over among the WM_COPYDATA messages that any program may send. Its data is
// the full path of each file, each ended by a NUL.
inline constexpr ULONG_PTR kStartFilesTag = 0x5A65'6475;

// Hands the files of this start to a Zeduzovir window already open in this session that takes
// them all into its empty rows. False when none does, or when a file cannot be shown, which
// only a window of the start's own can say: this start then opens one.
bool HandFilesToOpenWindow(StartFiles files);

// The files that another start handed over in `data`, as a command line naming them gives
// them. None for a message that is not exactly such a hand-over, as any program may send
// WM_COPYDATA: above all, none for a name that is not a full path, which would be read against
// this program's folder rather than the start's.
std::vector<StartFile> HandedOverFiles(const COPYDATASTRUCT& data);

}  // namespace zeduzovir
