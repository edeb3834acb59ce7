#include "support/PdfCheck.h"

#include <QProcess>
#include <QRegularExpression>

std::optional<int> PdfPageCount(const QString& path) {
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {path});
  if (!info.waitForFinished(60000) || info.exitCode() != 0) return std::nullopt;
  const QString out = QString::fromUtf8(info.readAllStandardOutput());
  const QRegularExpressionMatch m =
      QRegularExpression(QStringLiteral("^Pages:\\s+(\\d+)"), QRegularExpression::MultilineOption)
          .match(out);
  if (!m.hasMatch()) return std::nullopt;
  return m.captured(1).toInt();
}

QString PdfPageText(const QString& path, int page) {
  QProcess text;
  text.start(QStringLiteral("pdftotext"),
             {QStringLiteral("-layout"), QStringLiteral("-enc"), QStringLiteral("UTF-8"),
              QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
              QString::number(page), path, QStringLiteral("-")});
  if (!text.waitForFinished(60000) || text.exitCode() != 0) return {};
  return QString::fromUtf8(text.readAllStandardOutput());
}
