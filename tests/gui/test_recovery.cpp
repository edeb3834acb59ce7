// What the window does about a session that ended without closing, a file
// another window edits, and the versions a save replaced. The journal's
// format, replay and damage are tested in the core suite; here only the
// questions, their answers and what the window shows afterwards.
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "app/MainWindow.h"
#include "gradefile/RecoveryJournal.h"
#include "gradefile/Versions.h"
#include "platform/StateFiles.h"
#include "support/GradeFiles.h"
#include "support/WindowHarness.h"

using namespace testfiles;
using Kind = ScriptedDialogs::Kind;

class RecoveryTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void recoverPutsTheSessionBackAsOneStep();
  void discardAndLaterAnswers_data();
  void discardAndLaterAnswers();
  void aFileChangedSinceOpensAsACopy();
  void aSecondWindowIsTold();
  void saveAndCloseRemoveTheJournal();
  void aVersionOpensAsOneStep();
  void aStartWithoutAFileOffersLeftJournals();
  void anUnwritableStateFolderStopsNothing();

 private:
  QTemporaryDir state_;
  QTemporaryDir files_;  // the grade files, beyond the windows' lives
  QByteArray oldState_;
};

namespace {

const QString kRecover = QStringLiteral("恢复"), kDiscard = QStringLiteral("放弃"), kLater = QStringLiteral("以后再说");

// Two cells typed and left, as finished steps; the journal on the disk.
void EditTwoCells(WindowHarness& h) {
  h.Select(1, 4);
  QTest::keyClicks(h.W->gradeEditor(), "61");
  h.Select(2, 4);
  QTest::keyClicks(h.W->gradeEditor(), "62");
  h.Select(1, 5);
  h.W->Recovery().Flush();
}

// The window ends as a crash ends it: no close, nothing asked.
void Crash(WindowHarness& h) { h.W.reset(); }

// A session on the file at `path` (written anew) that ends in a crash after
// two finished cell edits; the records as they were then.
Lines CrashAfterTwoEdits(const QString& path) {
  WindowHarness before;
  WriteFile(path, FileBytes(ThreeCourses()));
  before.Open(path);
  EditTwoCells(before);
  const Lines edited = before.W->document().Book().GradeLines;
  Crash(before);
  return edited;
}

std::vector<std::string> JournalsOfPath(const QString& path) {
  return JournalsOf(platform::ResolvedPath(path.toStdString()));
}

}  // namespace

void RecoveryTest::init() {
  oldState_ = qgetenv("XDG_STATE_HOME");
  qputenv("XDG_STATE_HOME", state_.path().toUtf8());
}

void RecoveryTest::cleanup() {
  qputenv("XDG_STATE_HOME", oldState_);
  QDir(state_.path()).removeRecursively();
  QDir().mkpath(state_.path());
}

void RecoveryTest::recoverPutsTheSessionBackAsOneStep() {
  const QString path = files_.filePath("grades.txt");
  const Lines edited = CrashAfterTwoEdits(path);

  WindowHarness after;
  after.Script->Choices.push_back(kRecover);
  after.Open(path);
  QCOMPARE(after.Script->Count(Kind::Choose), 1);
  const QString question = after.Script->Texts(Kind::Choose).front();
  QVERIFY2(question.startsWith(QStringLiteral("上次编辑没有正常结束，有 2 处修改没有存储（最后一次修改于 ")), qPrintable(question));
  QVERIFY(question.endsWith(QStringLiteral("）。要恢复这些修改吗？")));
  QCOMPARE(after.Script->ButtonsOffered.front(), QStringList({kRecover, kDiscard, kLater}));  // 恢复 the default
  MainWindow& w = *after.W;
  QCOMPARE(w.document().Book().GradeLines, edited);
  QVERIFY(w.Modified());
  QVERIFY(w.commands().save->isEnabled());
  QCOMPARE(ReadFile(path), FileBytes(ThreeCourses()));  // nothing saved by itself
  // One step: one undo gives the file back.
  w.commands().undo->trigger();
  QCOMPARE(w.document().Book().Serialize(), FileBytes(ThreeCourses()));
  w.commands().redo->trigger();
  QCOMPARE(w.document().Book().GradeLines, edited);
  // The recovered session is this session's journal now, and the old one gone.
  w.Recovery().Flush();
  QCOMPARE(JournalsOfPath(path).size(), std::size_t{1});
}

void RecoveryTest::discardAndLaterAnswers_data() {
  QTest::addColumn<QString>("answer");
  QTest::addColumn<bool>("kept");
  QTest::newRow("放弃") << kDiscard << false;
  QTest::newRow("以后再说") << kLater << true;
  QTest::newRow("closed") << QString() << true;
}

void RecoveryTest::discardAndLaterAnswers() {
  QFETCH(QString, answer);
  QFETCH(bool, kept);
  const QString path = files_.filePath("grades.txt");
  CrashAfterTwoEdits(path);

  WindowHarness after;
  after.Script->Choices.push_back(answer.isEmpty() ? std::nullopt : std::optional<QString>(answer));
  after.Open(path);
  MainWindow& w = *after.W;
  QCOMPARE(w.document().Book().Serialize(), FileBytes(ThreeCourses()));  // opened as it is
  QVERIFY(!w.Modified());
  QVERIFY(!w.commands().save->isEnabled());
  // Edits of this session go to a journal of their own; the left one stays or goes.
  after.Select(1, 4);
  QTest::keyClicks(w.gradeEditor(), "7");
  after.Select(2, 4);
  w.Recovery().Flush();
  QCOMPARE(JournalsOfPath(path).size(), std::size_t(kept ? 2 : 1));
  after.Script->YesNoCancelAnswers.push_back(Answer::No);
  w.close();  // the teacher gives this session up
  QCOMPARE(JournalsOfPath(path).size(), std::size_t(kept ? 1 : 0));
  if (kept) {
    WindowHarness again;
    again.Script->Choices.push_back(kRecover);
    again.Open(path);
    QCOMPARE(again.Script->Count(Kind::Choose), 1);
    QVERIFY(again.W->Modified());
  }
}

void RecoveryTest::aFileChangedSinceOpensAsACopy() {
  const QString path = files_.filePath("grades.txt");
  const Lines edited = CrashAfterTwoEdits(path);
  std::vector<std::string> changed = ThreeCourses();
  changed.back() += "X";
  QVERIFY(WriteFile(path, FileBytes(changed)));

  WindowHarness after;
  const QString copy = after.Dir.filePath("copy.txt");
  after.Script->YesNoAnswers.push_back(Answer::Yes);
  after.Script->SaveFiles.push_back(copy);
  after.Open(path);
  QCOMPARE(after.Script->Count(Kind::Choose), 0);  // never played onto the changed bytes
  QCOMPARE(after.Script->Count(Kind::AskYesNo), 1);
  QVERIFY(after.Script->Texts(Kind::AskYesNo).front().contains(QStringLiteral("文件在那之后已被改动")));
  QCOMPARE(after.Script->SavesSuggested, QStringList{path.chopped(4) + QStringLiteral("-恢复.txt")});  // beside the file
  MainWindow& w = *after.W;
  QCOMPARE(w.document().Book().GradeLines, edited);
  QCOMPARE(w.document().FileName(), copy.toStdString());
  QVERIFY(w.Modified());
  QVERIFY(!QFile::exists(copy));  // unsaved until the teacher saves it
  QCOMPARE(ReadFile(path), FileBytes(changed));
  w.commands().save->trigger();
  QCOMPARE(ReadFile(copy), w.document().Book().Serialize());
}

void RecoveryTest::aSecondWindowIsTold() {
  WindowHarness first;
  const QString path = first.Write("grades.txt", FileBytes(ThreeCourses()));
  first.Open(path);
  const QString told = path + QStringLiteral(" 已经在另一个窗口中打开编辑。要以只读方式打开吗？");

  WindowHarness second;
  second.Script->YesNoAnswers.push_back(Answer::No);
  second.Open(path);
  QCOMPARE(second.Script->Messages(), QStringList{told});
  QVERIFY(second.W->document().FileName().empty());

  second.Script->ClearCalls();
  second.Script->YesNoAnswers.push_back(Answer::Yes);
  second.Open(path);
  MainWindow& w = *second.W;
  QCOMPARE(w.document().FileName(), path.toStdString());
  QVERIFY(w.editingView().fileLabel()->text().endsWith(QStringLiteral("（只读）")));
  second.Select(1, 4);
  QTest::keyClicks(w.gradeEditor(), "9");
  second.Select(2, 4);
  second.Script->ClearCalls();
  w.commands().save->trigger();
  QVERIFY(second.Script->Messages().front().startsWith(QStringLiteral("这个文件以只读方式打开")));
  QCOMPARE(ReadFile(path), FileBytes(ThreeCourses()));
  // Its edits are not journalled: the journal is the first window's.
  w.Recovery().Flush();
  QVERIFY(JournalsOfPath(path).empty());

  // Once the first window has closed, the file is free again.
  first.W->close();
  WindowHarness third;
  third.Open(path);
  QCOMPARE(third.Script->Count(Kind::AskYesNo), 0);
  QVERIFY(!third.W->editingView().fileLabel()->text().contains(QStringLiteral("只读")));
}

void RecoveryTest::saveAndCloseRemoveTheJournal() {
  WindowHarness h;
  const QString path = h.Write("grades.txt", FileBytes(ThreeCourses()));
  h.Open(path);
  QVERIFY(JournalsOfPath(path).empty());  // a file only looked at leaves none
  EditTwoCells(h);
  QCOMPARE(JournalsOfPath(path).size(), std::size_t{1});
  h.W->commands().save->trigger();
  h.W->Recovery().Flush();
  QVERIFY(JournalsOfPath(path).empty());
  // The save kept what it replaced.
  const std::vector<KeptVersion> versions = ListVersions(path.toStdString());
  QCOMPARE(versions.size(), std::size_t{1});
  QCOMPARE(ReadFile(QString::fromStdString(versions.front().Path)), FileBytes(ThreeCourses()));

  // Edited after the save, and closed with the changes given up.
  h.Select(1, 4);
  QTest::keyClicks(h.W->gradeEditor(), "5");
  h.Select(2, 4);
  h.W->Recovery().Flush();
  QCOMPARE(JournalsOfPath(path).size(), std::size_t{1});
  h.Script->YesNoCancelAnswers.push_back(Answer::No);
  h.W->close();
  QVERIFY(JournalsOfPath(path).empty());
}

void RecoveryTest::aVersionOpensAsOneStep() {
  WindowHarness h;
  const QString path = h.Write("grades.txt", FileBytes(ThreeCourses()));
  MainWindow& w = *h.W;
  h.Open(path);
  w.commands().versions->trigger();
  QCOMPARE(h.Script->Messages().back(), QStringLiteral("这个文件还没有以前的版本。以前的版本在每次存储替换文件时保留。"));
  EditTwoCells(h);
  w.commands().save->trigger();
  const Lines saved = w.document().Book().GradeLines;

  h.Script->Versions.push_back(0);
  w.commands().versions->trigger();
  QCOMPARE(h.Script->VersionsShown.size(), std::size_t{1});
  const std::vector<VersionRow>& rows = h.Script->VersionsShown.front();
  QCOMPARE(rows.size(), std::size_t{1});
  QCOMPARE(rows[0].Differing, 2LL);
  QCOMPARE(rows[0].Size, static_cast<long long>(FileBytes(ThreeCourses()).size()));
  QCOMPARE(w.document().Book().Serialize(), FileBytes(ThreeCourses()));
  QVERIFY(w.Modified());
  QVERIFY(ReadFile(path) != FileBytes(ThreeCourses()));  // the file itself is as saved
  w.commands().undo->trigger();
  QCOMPARE(w.document().Book().GradeLines, saved);
}

void RecoveryTest::aStartWithoutAFileOffersLeftJournals() {
  const QString path = files_.filePath("grades.txt");
  const Lines edited = CrashAfterTwoEdits(path);

  WindowHarness start;
  start.Script->Choices.push_back(kRecover);
  start.W->OfferLeftJournals();
  QCOMPARE(start.Script->Count(Kind::Choose), 1);  // the file's own question is not asked again
  const QString listed = start.Script->Texts(Kind::Choose).front();
  QVERIFY2(listed.startsWith(QStringLiteral("上次编辑以下文件没有正常结束")), qPrintable(listed));
  QVERIFY(listed.contains(path + QStringLiteral("（2 处修改，最后一次修改于 ")));
  QCOMPARE(start.W->document().FileName(), platform::ResolvedPath(path.toStdString()));
  QCOMPARE(start.W->document().Book().GradeLines, edited);
  QVERIFY(start.W->Modified());
}

void RecoveryTest::anUnwritableStateFolderStopsNothing() {
  QVERIFY(WriteFile(state_.filePath("gradesheet"), "a file where the folder must be"));
  WindowHarness h;
  MainWindow& w = *h.W;
  const QString path = h.Write("grades.txt", FileBytes(ThreeCourses()));
  h.Open(path);
  QCOMPARE(w.document().FileName(), path.toStdString());
  for (int round = 0; round < 2; ++round) {
    h.Select(1, 4);
    QTest::keyClicks(w.gradeEditor(), QString::number(70 + round));
    h.Select(2, 4);
    w.Recovery().Flush();
    w.Recovery().ShowFailures();
    w.commands().save->trigger();
    QCOMPARE(ReadFile(path), w.document().Book().Serialize());  // every save went through
  }
  const QStringList errors = h.Script->Texts(Kind::Error);
  // The lock, the journal and the version: each said once.
  QCOMPARE(errors.size(), 3);
  QVERIFY(errors[0].startsWith(QStringLiteral("无法确认 ")));
  QVERIFY(errors[1].startsWith(QStringLiteral("无法写入恢复记录 ")));
  QVERIFY(errors[2].startsWith(QStringLiteral("无法保留 ")));
  QCOMPARE(h.Script->Texts(Kind::Information).count(QStringLiteral("存储完毕！")), 2);
}

QTEST_MAIN(RecoveryTest)
#include "test_recovery.moc"
