// Opening without the open dialog (a name from the command line, a drop, the
// recent files) and where the open dialog starts. The list's own rules are
// tested in the core suite; here the menu, the stored file and the messages.
#include <QAction>
#include <QComboBox>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>
#include <QUrl>

#include "app/MainWindow.h"
#include "app/RecentFilesMenu.h"
#include "app/WindowTexts.h"
#include "support/GradeFiles.h"
#include "support/WindowHarness.h"

using namespace testfiles;
using Kind = ScriptedDialogs::Kind;

class MainWindowOpeningTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void namedFileOpensLikeTheOpenCommand();
  void missingNamedFileSaysSo();
  void dropOpensAfterAskingAboutChanges();
  void recentFiles();
  void openDialogStartsInTheLastFolder();
};

namespace {

QString OneCourse(WindowHarness& h, const QString& name) {
  return h.Write(name, FileBytes({Head("k0001", "tk", "数学"),
                                  Record("k0001", "2022000001", "郑一", "数学2201", "88", "76", " 81")}));
}

QStringList RecentCaptions(const MainWindow& w) {
  QStringList out;
  for (const QAction* item : w.recentFiles().items()) out << item->toolTip();
  return out;
}

}  // namespace

void MainWindowOpeningTest::initTestCase() {
  // Nothing of these tests may land in the real user's configuration.
  QStandardPaths::setTestModeEnabled(true);
}

void MainWindowOpeningTest::namedFileOpensLikeTheOpenCommand() {
  WindowHarness h;
  MainWindow& w = *h.W;
  OneCourse(h, QStringLiteral("named.txt"));
  // A name relative to where the program started, as a shell passes it.
  const QString before = QDir::currentPath();
  QDir::setCurrent(h.Dir.path());
  const bool opened = w.OpenNamedFile(QStringLiteral("named.txt"));
  QDir::setCurrent(before);
  QVERIFY(opened);
  QCOMPARE(QString::fromStdString(w.document().FileName()), h.Dir.filePath(QStringLiteral("named.txt")));
  QCOMPARE(h.Cell(1, 2).trimmed(), QStringLiteral("郑一"));
  QCOMPARE(h.Script->Count(Kind::OpenNamedFile), 0);
  QTRY_VERIFY(w.courseList()->hasFocus());
  QVERIFY(!w.commands().save->isEnabled());
}

void MainWindowOpeningTest::missingNamedFileSaysSo() {
  WindowHarness h;
  MainWindow& w = *h.W;
  const QString open = OneCourse(h, QStringLiteral("open.txt"));
  QVERIFY(w.OpenNamedFile(open));
  const QString missing = h.Dir.filePath(QStringLiteral("gone.txt"));
  QVERIFY(!w.OpenNamedFile(missing));
  QCOMPARE(h.Script->Messages(), QStringList{missing + QStringLiteral("不存在!")});
  QCOMPARE(QString::fromStdString(w.document().FileName()), open);  // the open file stays
}

void MainWindowOpeningTest::dropOpensAfterAskingAboutChanges() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write(QStringLiteral("first.txt"), FileBytes(ThreeCourses())));
  h.Select(1, 4);
  QTest::keyClicks(w.gradeEditor(), QStringLiteral("5"));
  QVERIFY(w.Modified());
  const QString second = OneCourse(h, QStringLiteral("second.txt"));

  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(second)});
  const QPoint at = w.rect().center();
  QDragEnterEvent enter(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &enter);
  QVERIFY(enter.isAccepted());
  h.Script->YesNoCancelAnswers.push_back(Answer::No);
  QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&w, &drop);
  QTRY_COMPARE(QString::fromStdString(w.document().FileName()), second);
  QCOMPARE(h.Script->Texts(Kind::AskYesNoCancel), QStringList{WindowTexts::AskSave()});
  QVERIFY(!w.Modified());

  // Two files at once, or something that is no file, are not taken.
  QMimeData two;
  two.setUrls({QUrl::fromLocalFile(second), QUrl::fromLocalFile(second)});
  QDragEnterEvent refused(at, Qt::CopyAction, &two, Qt::LeftButton, Qt::NoModifier);
  refused.setAccepted(false);
  QApplication::sendEvent(&w, &refused);
  QVERIFY(!refused.isAccepted());
}

void MainWindowOpeningTest::recentFiles() {
  WindowHarness h;
  MainWindow& w = *h.W;
  w.KeepUserFilesIn(QFile::encodeName(h.Dir.filePath(QStringLiteral("config/gradesheet/"))).toStdString());
  QStringList files;
  for (int i = 1; i <= 9; ++i) files << OneCourse(h, QStringLiteral("f%1.txt").arg(i));
  for (const QString& file : files) h.Open(file);
  // The menu when it opens: the newest first, at most eight, above 退出.
  emit w.commands().fileMenu->menu()->aboutToShow();
  QStringList expected;
  for (int i = 8; i >= 1; --i) expected << files[i];
  QCOMPARE(RecentCaptions(w), expected);
  QVERIFY(w.recentFiles().items().front()->text().startsWith(QStringLiteral("&1  ")));
  const QList<QAction*> items = w.commands().fileMenu->menu()->actions();
  QVERIFY(items.indexOf(w.recentFiles().items().back()) < items.indexOf(w.commands().exit));
  // Kept in the user's folder for the next start, one path a line.
  const std::string stored = ReadFile(h.Dir.filePath(QStringLiteral("config/gradesheet/recent-files")));
  QCOMPARE(QString::fromStdString(stored), expected.join(QLatin1Char('\n')) + QLatin1Char('\n'));

  // Chosen again: it opens and comes first.
  w.recentFiles().items()[3]->trigger();
  QCOMPARE(QString::fromStdString(w.document().FileName()), files[5]);
  QCOMPARE(RecentCaptions(w).front(), files[5]);
  QCOMPARE(RecentCaptions(w).size(), 8);

  // A file that has gone: a message, and off the list; the open file stays.
  QVERIFY(QFile::remove(files[7]));
  h.Script->ClearCalls();
  w.recentFiles().items()[RecentCaptions(w).indexOf(files[7])]->trigger();
  QCOMPARE(h.Script->Messages(), QStringList{WindowTexts::RecentFileGone(QFile::encodeName(files[7]).toStdString())});
  QVERIFY(!RecentCaptions(w).contains(files[7]));
  QCOMPARE(RecentCaptions(w).size(), 7);
  QCOMPARE(QString::fromStdString(w.document().FileName()), files[5]);
}

void MainWindowOpeningTest::openDialogStartsInTheLastFolder() {
  WindowHarness h;
  MainWindow& w = *h.W;
  QVERIFY(QDir(h.Dir.path()).mkpath(QStringLiteral("term")));
  h.Open(OneCourse(h, QStringLiteral("term/grades.txt")));
  h.Script->OpenFiles.push_back(std::nullopt);
  w.openFile();
  QCOMPARE(h.Script->OpenFolders.last(), h.Dir.filePath(QStringLiteral("term")));
}

QTEST_MAIN(MainWindowOpeningTest)
#include "test_mainwindow_opening.moc"
