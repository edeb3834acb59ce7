#pragma once
// What the two page dialogs share: the window font and the fixed frame.
#include <QDialog>
#include <QFont>

namespace preview {

// "宋体", 13 pixels high: the font of every window, menu and dialog of the
// program (the application font, so message boxes read Chinese too).
QFont FormFont();

// A fixed dialog frame of the given client size, centred on the screen.
void MakeFixedDialog(QDialog& dialog, int clientWidth, int clientHeight);

}  // namespace preview
