// The window and the print settings file beside the program: whatever stands
// under its name, the window starts at once with the fonts it can use.
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "app/MainWindow.h"
#include "text/Gbk.h"
#include "support/ScriptedDialogs.h"

using Kind = ScriptedDialogs::Kind;

class SettingsFileTest : public QObject {
  Q_OBJECT

 private slots:
  void pipeInPlaceOfTheSettingsFile();
};

// A pipe named qprtpara.dat used to hold up the window before it ever
// appeared: now the window starts with the default fonts, and a changed font
// that cannot be written over the pipe is reported instead of waited on.
void SettingsFileTest::pipeInPlaceOfTheSettingsFile() {
  QTemporaryDir programDir;
  QVERIFY(programDir.isValid());
  const QString settings = programDir.filePath(QStringLiteral("qprtpara.dat"));
  QCOMPARE(::mkfifo(QFile::encodeName(settings).constData(), 0666), 0);

  ::alarm(20);  // a window that waits on the pipe fails here instead of hanging the run
  auto script = std::make_unique<ScriptedDialogs>();
  ScriptedDialogs& dialogs = *script;
  MainWindow w(std::move(script), programDir.path());
  w.show();
  QVERIFY(QTest::qWaitForWindowExposed(&w));
  QTRY_VERIFY(w.PreviewSetUp());  // after the first paint
  ::alarm(0);

  const FontSpec body{1, 10, Gbk("宋体"), 0};
  const FontSpec title{1, 16, Gbk("宋体"), fsBold | fsUnderline};
  QCOMPARE(w.sheetPreview().Setup().BodyFont, body);
  QCOMPARE(w.sheetPreview().Setup().TitleFont, title);
  const TDeviceMetrics& printer = w.sheetPreview().Setup().Metrics[DevicePrinter];
  QCOMPARE(printer.MarginLeft, DefaultMarginLeft(printer.Dpi));
  QCOMPARE(printer.MarginTop, DefaultMarginTop(printer.Dpi));

  // The font commands offer the defaults ...
  dialogs.Fonts.push_back(std::nullopt);
  w.sheetOutput().chooseTitleFont();
  QCOMPARE(dialogs.FontsOffered.size(), std::size_t{1});
  QCOMPARE(dialogs.FontsOffered[0], title);

  // ... and a chosen font is used, but not written over the pipe.
  FontSpec bigger = body;
  bigger.Size = 12;
  dialogs.Fonts.push_back(bigger);
  ::alarm(20);
  w.sheetOutput().chooseBodyFont();
  ::alarm(0);
  QCOMPARE(w.sheetPreview().Setup().BodyFont, bigger);
  const QStringList errors = dialogs.Texts(Kind::Error);
  QCOMPARE(errors.size(), 1);
  QCOMPARE(errors[0], QStringLiteral("无法保存打印设置文件 ") + settings + QStringLiteral(": 不是普通文件"));
  struct stat st {};
  QCOMPARE(::stat(QFile::encodeName(settings).constData(), &st), 0);
  QVERIFY(S_ISFIFO(st.st_mode));
}

QTEST_MAIN(SettingsFileTest)
#include "test_settings_file.moc"
