#include "printing/qt/QtText.h"

#include <QByteArray>
#include <QFile>

#include "text/Gbk.h"

QString GbkToQString(std::string_view gbk) {
  // Plain ASCII (numbers, most grades) needs no trip through the codec.
  bool ascii = true;
  for (char c : gbk)
    if (static_cast<unsigned char>(c) >= 0x80) {
      ascii = false;
      break;
    }
  if (ascii) return QString::fromLatin1(gbk.data(), static_cast<qsizetype>(gbk.size()));
  const std::string utf8 = GbkToUtf8(gbk);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::optional<std::string> QStringToGbk(const QString& text) { return Utf8ToGbk(text.toStdString()); }

QString PathToQString(std::string_view bytes) {
  return QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
}

std::string PathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }
