#include "printing/qt/Fonts.h"

#include <QFont>
#include <QString>
#include <QStringList>

const char* SongFaceName() { return "AR PL UMing CN"; }

void InstallFontSubstitutes() {
  const QStringList song = {QString::fromLatin1(SongFaceName()),
                            QStringLiteral("AR PL UMing TW"),
                            QStringLiteral("AR PL UMing HK"),
                            QStringLiteral("Droid Sans Fallback")};
  for (const QString& face : {QStringLiteral("宋体"), QStringLiteral("SimSun"),
                              QStringLiteral("NSimSun"), QStringLiteral("新宋体")}) {
    // insertSubstitutions appends, so drop earlier entries to keep repeated
    // calls from growing the list.
    QFont::removeSubstitutions(face);
    QFont::insertSubstitutions(face, song);
  }
}
