#pragma once
// The tool bar's glyphs and the window icon, drawn rather than shipped as art.
#include <QIcon>

// The glyph of the preview tool bar's button `index` (1..11: previous page
// to the bottom right corner, 15: printer set-up, 16: print).
QIcon ToolGlyph(int index);

// The window's icon: a grade sheet with a tick.
QIcon WindowIcon();

// Puts the application's style under one that draws the arrows of the tool
// and menu bars' extension buttons as glyphs too. The style's own are image
// files, and reading the first image file loads every image-format plug-in:
// the menu bar made the window's start pay for that, for an arrow shown only
// when the menus do not fit.
void InstallGlyphStyle();
