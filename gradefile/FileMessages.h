#pragma once
// What the user is told about files, as UTF-8 display text: these messages
// are shown in the window or printed to a UTF-8 terminal, never written into
// a grade file.
#include <string>
#include <string_view>

#include "platform/Files.h"

// A path as the user sees it: valid UTF-8 stays as it is, every other byte
// shows as \xNN (uppercase hex), so that no byte of the name goes missing.
// Control characters (C0, DEL and C1, whose U+009B starts an escape
// sequence on some terminals) show as \xNN too, each byte: a name must not
// move the cursor or start a new line of the message. The batch tool shows
// every text of the data it prints this way.
std::string DisplayPath(std::string_view bytes);

// Why a file operation failed, in Chinese ("磁盘空间不足", ...); the
// system's number for the rest ("系统错误 5"). Empty when nothing failed.
std::string FileErrorReason(const platform::FileStatus& status);
