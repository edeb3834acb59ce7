#include "preview/DialogLook.h"

#include <QGuiApplication>
#include <QScreen>

namespace preview {

QFont FormFont() {
  QFont font(QStringLiteral("宋体"));
  font.setPixelSize(13);
  return font;
}

void MakeFixedDialog(QDialog& dialog, int clientWidth, int clientHeight) {
  dialog.setFont(FormFont());
  dialog.setFixedSize(clientWidth, clientHeight);
  dialog.setWindowFlags((dialog.windowFlags() | Qt::MSWindowsFixedSizeDialogHint) &
                        ~Qt::WindowContextHelpButtonHint);
  dialog.setModal(true);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    dialog.move(area.center() - QPoint(clientWidth / 2, clientHeight / 2));
  }
}

}  // namespace preview
