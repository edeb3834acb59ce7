// Saving without losing grades: save as, a file that another program or
// window wrote after it was opened, and closing when the save does not happen.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include "app/MainWindow.h"
#include "support/GradeFiles.h"
#include "support/WindowHarness.h"

using namespace testfiles;
using Kind = ScriptedDialogs::Kind;

namespace {

QString ChangedQuestion(const QString& path) {
  return path + QStringLiteral("\n文件在打开之后已被其他程序修改。\n仍然存储并覆盖那些修改吗?");
}

// ThreeCourses with the first student's coursework of the first course.
std::vector<std::string> WithFirstCoursework(const std::string& coursework,
                                             const std::string& total) {
  std::vector<std::string> lines = ThreeCourses();
  lines[4] = Record("k0001", "2022000001", "王小明", "计科2201", coursework, "90", total);
  return lines;
}

// The window's own edit: coursework 50 for the first student (total 78).
std::vector<std::string> Edited() { return WithFirstCoursework("50", " 78"); }

// What another program wrote into the file meanwhile.
std::vector<std::string> TheirVersion() { return WithFirstCoursework("99", " 93"); }

// Opens a fresh grade file and types the window's own edit.
QString OpenAndEdit(WindowHarness& h, const QString& path) {
  if (!QFile::exists(path)) WriteFile(path, FileBytes(ThreeCourses()));
  h.Open(path);
  h.Select(1, 4);
  QTest::keyClicks(h.W->gradeEditor(), "50");
  h.Script->ClearCalls();
  return path;
}

}  // namespace

class SavingTest : public QObject {
  Q_OBJECT

 private slots:
  void saveAsInTheFileMenu();
  void saveAsGoesOnWithTheNewFile();
  void saveAsOntoTheOpenFileIsAPlainSave_data();
  void saveAsOntoTheOpenFileIsAPlainSave();
  void failedSaveAsChangesNothing_data();
  void failedSaveAsChangesNothing();
  void saveAsIsTheWayOutOfAFailedSave();
  void changedOnDisk_data();
  void changedOnDisk();
  void twoWindowsOnOneFile();
  void fileGoneMeanwhileIsSavedAgain();
  void fileAnotherProgramWritesIsNotSaved();
  void closeKeepsTheGradesWhenTheSaveFails();
};

void SavingTest::saveAsInTheFileMenu() {
  WindowHarness h;
  MainWindow& w = *h.W;
  const QList<QAction*> items = w.commands().fileMenu->menu()->actions();
  const int save = items.indexOf(w.commands().save);
  QVERIFY(save >= 0 && save + 1 < items.size());
  QCOMPARE(items[save + 1], w.commands().saveAs);
  QCOMPARE(w.commands().saveAs->text(), QStringLiteral("另存为(&A)..."));
  QCOMPARE(w.commands().saveAs->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+S")));
  QVERIFY(!w.commands().saveAs->isEnabled());  // nothing to save yet
  w.commands().saveAs->trigger();
  QCOMPARE(h.Script->Count(Kind::SaveFile), 0);

  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  QVERIFY(w.commands().saveAs->isEnabled());
  QVERIFY(!w.commands().save->isEnabled());

  // Ctrl+Shift+S; a cancelled dialog changes nothing.
  h.Script->SaveFiles.push_back(std::nullopt);
  QTest::keyClick(&w, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
  QCOMPARE(h.Script->Count(Kind::SaveFile), 1);
  QVERIFY(h.Script->Messages().isEmpty());
  QCOMPARE(w.document().FileName(), h.Dir.filePath("grades.txt").toStdString());
}

void SavingTest::saveAsGoesOnWithTheNewFile() {
  WindowHarness h;
  MainWindow& w = *h.W;
  const QString original = OpenAndEdit(h, h.Dir.filePath("grades.txt"));
  const QString copy = h.Dir.filePath("副本.txt");
  h.Script->SaveFiles.push_back(copy);
  w.commands().saveAs->trigger();

  QCOMPARE(h.Script->SavesSuggested, QStringList{original});
  QCOMPARE(h.Script->Messages(), QStringList{"存储完毕！"});
  QCOMPARE(ReadFile(copy), FileBytes(Edited()));
  QCOMPARE(ReadFile(original), FileBytes(ThreeCourses()));
  QCOMPARE(w.document().FileName(), copy.toStdString());
  QCOMPARE(w.editingView().fileLabel()->text(), QStringLiteral("成绩文件: ") + copy);
  QVERIFY(!w.Modified());
  QVERIFY(!w.commands().save->isEnabled());
  QVERIFY(w.commands().saveAs->isEnabled());

  // The next plain save goes to the new file, and asks nothing: the window
  // wrote it itself.
  h.Script->ClearCalls();
  h.Select(2, 4);
  h.Select(1, 4);
  QTest::keyClicks(w.gradeEditor(), "99");
  w.commands().save->trigger();
  QCOMPARE(h.Script->Messages(), QStringList{"存储完毕！"});
  QCOMPARE(ReadFile(copy), FileBytes(TheirVersion()));
  QCOMPARE(ReadFile(original), FileBytes(ThreeCourses()));

  // Unchanged, save as still writes a copy, and the next dialog starts there.
  h.Script->ClearCalls();
  const QString third = h.Dir.filePath("third.txt");
  h.Script->SaveFiles.push_back(third);
  w.commands().saveAs->trigger();
  QCOMPARE(h.Script->SavesSuggested, QStringList{copy});
  QCOMPARE(ReadFile(third), FileBytes(TheirVersion()));
  QCOMPARE(w.document().FileName(), third.toStdString());
}

void SavingTest::saveAsOntoTheOpenFileIsAPlainSave_data() {
  QTest::addColumn<bool>("viaLink");
  QTest::addColumn<bool>("changedMeanwhile");
  QTest::newRow("same path") << false << false;
  QTest::newRow("symbolic link to it") << true << false;
  QTest::newRow("same path, changed on disk: asks") << false << true;
}

void SavingTest::saveAsOntoTheOpenFileIsAPlainSave() {
  QFETCH(bool, viaLink);
  QFETCH(bool, changedMeanwhile);
  WindowHarness h;
  MainWindow& w = *h.W;
  const QString path = OpenAndEdit(h, h.Dir.filePath("grades.txt"));
  QString chosen = path;
  if (viaLink) {
    chosen = h.Dir.filePath("link.txt");
    QVERIFY(QFile::link(path, chosen));
  }
  if (changedMeanwhile) {
    QVERIFY(WriteFile(path, FileBytes(TheirVersion()) + "\r\n"));
    h.Script->YesNoAnswers.push_back(Answer::Yes);
  }
  h.Script->SaveFiles.push_back(chosen);
  w.commands().saveAs->trigger();

  QStringList expected;
  if (changedMeanwhile) expected << ChangedQuestion(path);
  expected << "存储完毕！";
  QCOMPARE(h.Script->Messages(), expected);
  QCOMPARE(ReadFile(path), FileBytes(Edited()));
  QCOMPARE(w.document().FileName(), path.toStdString());
  QCOMPARE(w.editingView().fileLabel()->text(), QStringLiteral("成绩文件: ") + path);
  QVERIFY(!w.Modified());
  QVERIFY(!w.commands().save->isEnabled());
}

void SavingTest::failedSaveAsChangesNothing_data() {
  QTest::addColumn<QString>("target");  // relative to the test folder
  QTest::newRow("folder that does not exist") << "no/such/folder/copy.txt";
  QTest::newRow("a folder, not a file") << "sub";
  QTest::newRow("under a file, not a folder") << "grades.txt/copy.txt";
}

void SavingTest::failedSaveAsChangesNothing() {
  QFETCH(QString, target);
  WindowHarness h;
  MainWindow& w = *h.W;
  const QString path = OpenAndEdit(h, h.Dir.filePath("grades.txt"));
  QVERIFY(QDir(h.Dir.path()).mkdir("sub"));
  const QString caption = w.editingView().fileLabel()->text();
  const QString chosen = h.Dir.filePath(target);
  h.Script->SaveFiles.push_back(chosen);
  w.commands().saveAs->trigger();

  const QStringList errors = h.Script->Texts(Kind::Error);
  QCOMPARE(errors.size(), 1);
  QVERIFY2(errors[0].contains(chosen), qPrintable(errors[0]));
  QCOMPARE(h.Script->Count(Kind::Information), 0);
  QCOMPARE(w.document().FileName(), path.toStdString());
  QCOMPARE(w.editingView().fileLabel()->text(), caption);
  QVERIFY(w.Modified());
  QVERIFY(w.commands().save->isEnabled());
  QCOMPARE(ReadFile(path), FileBytes(ThreeCourses()));

  // The window still works on the file it had: the plain save goes there.
  h.Script->ClearCalls();
  w.commands().save->trigger();
  QCOMPARE(h.Script->Messages(), QStringList{"存储完毕！"});
  QCOMPARE(ReadFile(path), FileBytes(Edited()));
}

void SavingTest::saveAsIsTheWayOutOfAFailedSave() {
  WindowHarness h;
  MainWindow& w = *h.W;
  QTemporaryDir gone;
  OpenAndEdit(h, gone.filePath("grades.txt"));
  QVERIFY(gone.remove());  // the folder is gone: the plain save fails
  w.commands().save->trigger();
  QCOMPARE(h.Script->Count(Kind::Error), 1);
  QVERIFY(w.Modified());

  h.Script->ClearCalls();
  const QString rescue = h.Dir.filePath("rescued.txt");
  h.Script->SaveFiles.push_back(rescue);
  w.commands().saveAs->trigger();
  QCOMPARE(h.Script->Messages(), QStringList{"存储完毕！"});
  QCOMPARE(ReadFile(rescue), FileBytes(Edited()));
  QCOMPARE(w.document().FileName(), rescue.toStdString());
  QVERIFY(!w.Modified());
  QVERIFY(!w.commands().save->isEnabled());
}

void SavingTest::changedOnDisk_data() {
  QTest::addColumn<QString>("command");
  QTest::addColumn<bool>("overwrite");
  for (const char* command : {"save", "open another", "close"}) {
    QTest::addRow("%s, yes", command) << QString::fromLatin1(command) << true;
    QTest::addRow("%s, no", command) << QString::fromLatin1(command) << false;
  }
}

void SavingTest::changedOnDisk() {
  QFETCH(QString, command);
  QFETCH(bool, overwrite);
  WindowHarness h;
  MainWindow& w = *h.W;
  const QString path = OpenAndEdit(h, h.Dir.filePath("grades.txt"));
  const QString other = h.Write("other.txt", FileBytes({Head("k0100", "tk", "物理")}));
  // Another program rewrites the file in place while the window has it open.
  const std::string theirs = FileBytes(TheirVersion());
  QVERIFY(WriteFile(path, theirs));
  const Answer answer = overwrite ? Answer::Yes : Answer::No;

  bool closed = false;
  if (command == "save") {
    h.Script->YesNoAnswers.push_back(answer);
    w.commands().save->trigger();
  } else if (command == "open another") {
    h.Script->YesNoCancelAnswers = {Answer::Yes};  // save first,
    h.Script->YesNoAnswers = {answer};             // then overwrite?
    h.Script->OpenFiles.push_back(other);
    w.commands().open->trigger();
  } else {
    h.Script->YesNoCancelAnswers.push_back(Answer::Yes);
    h.Script->YesNoAnswers.push_back(answer);
    closed = w.close();
  }

  QVERIFY(h.Script->Texts(Kind::AskYesNo).contains(ChangedQuestion(path)));
  QCOMPARE(h.Script->Count(Kind::Error), 0);
  QCOMPARE(h.Script->Texts(Kind::Information).contains("存储完毕！"), overwrite);
  QCOMPARE(ReadFile(path), overwrite ? FileBytes(Edited()) : theirs);
  if (overwrite) {
    if (command == "open another") QCOMPARE(w.document().FileName(), other.toStdString());
    QCOMPARE(closed, command == "close");
    return;
  }
  // Nothing written, and the command that wanted the save went no further.
  QVERIFY(!closed);
  QVERIFY(w.isVisible());
  QCOMPARE(h.Script->Count(Kind::OpenNamedFile), 0);
  QCOMPARE(w.document().FileName(), path.toStdString());
  QVERIFY(w.Modified());
  QVERIFY(w.commands().save->isEnabled());
  QCOMPARE(w.document().Book().GradeLines[0], Edited()[4]);
  QCOMPARE(h.Cell(1, 4), QStringLiteral("50"));
}

void SavingTest::twoWindowsOnOneFile() {
  WindowHarness first;
  WindowHarness second;
  const QString path = OpenAndEdit(first, first.Dir.filePath("grades.txt"));
  // A second window of this program is told and opens it read-only; a
  // program that takes no lock (an older one, another computer on a shared
  // folder) is what the rest is about, as the first window without its lock.
  first.W->Recovery().Closed();
  second.Open(path);
  second.Select(2, 5);
  QTest::keyClicks(second.W->gradeEditor(), "77");
  second.Script->ClearCalls();

  first.W->commands().save->trigger();
  QCOMPARE(first.Script->Messages(), QStringList{"存储完毕！"});  // nobody wrote it before
  const std::string firstSaved = ReadFile(path);
  QCOMPARE(firstSaved, FileBytes(Edited()));

  // The second window's save would drop the first one's grades: it asks.
  second.Script->YesNoAnswers.push_back(Answer::No);
  second.W->commands().save->trigger();
  QCOMPARE(second.Script->Messages(), QStringList{ChangedQuestion(path)});
  QCOMPARE(ReadFile(path), firstSaved);
  QVERIFY(second.W->Modified());

  second.Script->ClearCalls();
  second.Script->YesNoAnswers.push_back(Answer::Yes);
  second.W->commands().save->trigger();
  QCOMPARE(second.Script->Messages(), QStringList({ChangedQuestion(path), "存储完毕！"}));
  // The second window's version: its own edit, without the first one's.
  const std::string secondSaved = ReadFile(path);
  QCOMPARE(secondSaved, second.W->document().Book().Serialize());
  QVERIFY(second.W->document().Book().GradeLines[1].find("77") != std::string::npos);
  QCOMPARE(second.W->document().Book().GradeLines[0], ThreeCourses()[4]);

  // Now the first window is the one that would overwrite.
  first.Script->ClearCalls();
  first.Select(2, 4);
  first.Select(1, 4);
  QTest::keyClicks(first.W->gradeEditor(), "1");
  first.Script->YesNoAnswers.push_back(Answer::No);
  first.W->commands().save->trigger();
  QCOMPARE(first.Script->Messages(), QStringList{ChangedQuestion(path)});
  QCOMPARE(ReadFile(path), secondSaved);
}

void SavingTest::fileGoneMeanwhileIsSavedAgain() {
  WindowHarness h;
  const QString path = OpenAndEdit(h, h.Dir.filePath("grades.txt"));
  QVERIFY(QFile::remove(path));
  h.W->commands().save->trigger();
  QCOMPARE(h.Script->Messages(), QStringList{"存储完毕！"});  // nothing of anyone's to lose
  QCOMPARE(ReadFile(path), FileBytes(Edited()));
}

// Another program holds the file's write lock through the window's wait:
// the save says so and writes nothing; once it lets go, the save goes through.
void SavingTest::fileAnotherProgramWritesIsNotSaved() {
  WindowHarness h;
  const QString path = OpenAndEdit(h, h.Dir.filePath("grades.txt"));
  const std::string before = ReadFile(path);
  const int other = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
  QVERIFY(other >= 0);
  QCOMPARE(::flock(other, LOCK_EX), 0);
  h.W->commands().save->trigger();
  QCOMPARE(h.Script->Count(Kind::Error), 1);
  QVERIFY(h.Script->Texts(Kind::Error).front().contains(QStringLiteral("另一个程序正在写入该文件")));
  QCOMPARE(ReadFile(path), before);
  QVERIFY(h.W->Modified());
  ::close(other);
  h.W->commands().save->trigger();
  QCOMPARE(ReadFile(path), FileBytes(Edited()));
}

void SavingTest::closeKeepsTheGradesWhenTheSaveFails() {
  WindowHarness h;
  MainWindow& w = *h.W;
  QTemporaryDir gone;
  OpenAndEdit(h, gone.filePath("grades.txt"));
  QVERIFY(gone.remove());
  h.Script->YesNoCancelAnswers.push_back(Answer::Yes);
  QVERIFY(!w.close());

  QCOMPARE(h.Script->Count(Kind::AskYesNoCancel), 1);
  QCOMPARE(h.Script->Count(Kind::Error), 1);
  QCOMPARE(h.Script->Count(Kind::Information), 0);
  QVERIFY(w.isVisible());
  QVERIFY(w.Modified());
  QVERIFY(w.commands().save->isEnabled());
  QCOMPARE(w.document().Book().HeadLines.size(), std::size_t{9});
  QCOMPARE(w.document().Book().GradeLines.size(), std::size_t{6});
  QCOMPARE(w.document().Book().GradeLines[0], Edited()[4]);
  QCOMPARE(w.editingView().rows().size(), std::size_t{3});
  QCOMPARE(w.sheetPreview().State().SheetIndex, 1);

  // The grades can still go elsewhere, and then the window closes.
  h.Script->ClearCalls();
  const QString rescue = h.Dir.filePath("rescued.txt");
  h.Script->SaveFiles.push_back(rescue);
  w.commands().saveAs->trigger();
  QCOMPARE(ReadFile(rescue), FileBytes(Edited()));
  QVERIFY(w.close());
  QCOMPARE(h.Script->Count(Kind::AskYesNoCancel), 0);
}

QTEST_MAIN(SavingTest)
#include "test_mainwindow_saving.moc"
