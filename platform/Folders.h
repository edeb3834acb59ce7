#pragma once
// Folders as the operating system has them: making a folder with the ones
// above it. Paths are byte strings, as in Files.h.
#include <string>

#include "platform/Files.h"

namespace platform {

// Makes `path` a folder, with every missing folder above it; the ones it
// makes are this user's alone (mode 0700: a user's settings are nobody
// else's business). An existing folder is fine. A file standing where a
// folder must be is NoSuchFile: the folder does not exist and cannot be made.
FileStatus CreateFolders(const std::string& path);

// The folder where the program keeps what it writes for itself (recovery
// journals, the versions a save replaced, journals of interrupted rewrites):
// $XDG_STATE_HOME/gradesheet, or ~/.local/state/gradesheet when that is unset
// or not absolute, with its trailing separator. Empty when neither names an
// absolute folder. The folder is not made here: CreateFolders does that when
// something is first written.
std::string StateFolder();

}  // namespace platform
