#pragma once
// Font faces of the sheet on this machine. Grade files and settings name the
// Windows face "宋体"; Linux has no such face, so it is mapped to the installed
// Song/Ming style font before anything is drawn or measured.

// Maps "宋体", "SimSun" and "NSimSun" to "AR PL UMing CN" (with the other
// UMing faces as fallbacks). Safe to call more than once; call it after the
// QGuiApplication exists and before the first QFont is used.
void InstallFontSubstitutes();

// The face the substitutes resolve to, for messages and tests.
const char* SongFaceName();
