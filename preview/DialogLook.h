#pragma once
// What the two page dialogs share: the window font and the fixed frame.
#include <QDialog>
#include <QFont>

namespace preview {

// "宋体", GB2312, 13 pixels high: the font of every form of the program.
QFont FormFont();

// A fixed dialog frame of the given client size, centred on the screen.
void MakeFixedDialog(QDialog& dialog, int clientWidth, int clientHeight);

}  // namespace preview
