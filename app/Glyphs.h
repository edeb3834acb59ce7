#pragma once
// The tool bar's glyphs and the window icon, drawn rather than shipped as art.
#include <QIcon>

// The glyph of tool-bar button SpeedButton`index` (1..11, 15, 16).
QIcon ToolGlyph(int index);

// The window's icon: a grade sheet with a tick.
QIcon WindowIcon();
