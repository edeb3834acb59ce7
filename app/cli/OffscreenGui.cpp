#include "app/cli/OffscreenGui.h"

#include <QGuiApplication>
#include <QString>
#include <iostream>
#include <memory>

#include "printing/qt/Fonts.h"

namespace cli {

namespace {

// Qt's notes about its runtime directory and the like are not the user's
// business on a batch run; real failures still reach stderr.
void QuietQtMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtDebugMsg || type == QtInfoMsg) return;
  if (message.startsWith(QStringLiteral("QStandardPaths:"))) return;
  std::cerr << "gradesheet-cli: " << message.toStdString() << '\n';
}

}  // namespace

DrawingSession::DrawingSession() {
  if (!QGuiApplication::instance()) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietQtMessages);
    static int argc = 1;
    static char name[] = "gradesheet-cli";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QGuiApplication>(argc, argv);
  }
  InstallFontSubstitutes();
}

DrawingSession::~DrawingSession() = default;

}  // namespace cli
