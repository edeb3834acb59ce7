// What the window says when it opens a file: the load's own message in the
// box of its kind, and the notice about bytes after a Ctrl-Z.
#include <QDir>
#include <QFile>
#include <QTest>

#include "app/MainWindow.h"
#include "support/GradeFiles.h"
#include "support/WindowHarness.h"

using namespace testfiles;
using Kind = ScriptedDialogs::Kind;

class OpenMessagesTest : public QObject {
  Q_OBJECT

 private slots:
  void bytesAfterCtrlZAreAnnouncedAfterTheOpen();
  void unreadablePathSaysWhyInAnErrorBox();
};

void OpenMessagesTest::bytesAfterCtrlZAreAnnouncedAfterTheOpen() {
  WindowHarness h;
  const std::string after = "\x1A" + Record("k0001", "2022000002", "钱二", "数学2201", "70", "60", " 63") + "\r\n";
  const QString path = h.Write(QStringLiteral("z.txt"),
                               FileBytes({Head("k0001", "tk", "数学"),
                                          Record("k0001", "2022000001", "郑一", "数学2201", "88", "76", " 81")}) +
                                   after);
  h.Open(path);
  QCOMPARE(h.Script->Count(Kind::Error), 0);
  QCOMPARE(h.Script->Texts(Kind::Information),
           QStringList({QStringLiteral("文件在结束标记(Ctrl-Z)之后还有 %1 字节未读入，这些字节将原样保留在文件末尾。")
                            .arg(after.size() - 1)}));
  QCOMPARE(h.W->document().FileName(), QFile::encodeName(path).toStdString());
  QCOMPARE(h.W->document().Book().GradeLines.size(), std::size_t{1});
  QCOMPARE(h.Cell(1, 1), QStringLiteral("2022000001"));
}

void OpenMessagesTest::unreadablePathSaysWhyInAnErrorBox() {
  WindowHarness h;
  const QString loop = h.Dir.filePath(QStringLiteral("loop"));
  QVERIFY(QFile::link(loop, loop));
  h.Open(loop);
  QCOMPARE(h.Script->Count(Kind::Information), 0);
  QCOMPARE(h.Script->Texts(Kind::Error), QStringList({loop + QStringLiteral("读取失败: 符号链接绕成了循环")}));
  QVERIFY(h.W->document().FileName().empty());
}

QTEST_MAIN(OpenMessagesTest)
#include "test_open_messages.moc"
