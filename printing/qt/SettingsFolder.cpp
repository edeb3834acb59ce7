#include "printing/qt/SettingsFolder.h"

#include <QFile>
#include <QStandardPaths>

std::string UserSettingsDir() {
  QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
  if (dir.isEmpty()) return {};
  if (!dir.endsWith(QLatin1Char('/'))) dir += QLatin1Char('/');
  return QFile::encodeName(dir).toStdString();
}
