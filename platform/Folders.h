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

}  // namespace platform
