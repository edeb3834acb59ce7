#pragma once
// Where a user's own print settings live: found by Qt, used by the core's
// rule in printing/PrintSettings.h.
#include <string>

// The application's configuration folder of this user (on Linux
// $XDG_CONFIG_HOME/gradesheet, by default ~/.config/gradesheet) as the bytes
// the system names it by, with a trailing separator; empty when the system
// names none. Nothing is created here: saving makes the folder when it
// writes there.
std::string UserSettingsDir();
