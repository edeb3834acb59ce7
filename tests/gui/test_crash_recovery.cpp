// The recovery journal against the real thing: a child process runs the
// window through a seeded script of edits, undos and redos and is killed
// with SIGKILL at a seeded moment; a new window on the same file then
// recovers, and the book must be, byte for byte, what a save after some
// step at least as late as every step finished more than a second before
// the kill would have written. GS_CRASH_KILLS sets the number of kills
// (default 8, the short run of the test suite; the full run is 100, with
// QTEST_FUNCTION_TIMEOUT=900000 past Qt Test's five minutes), and
// GS_CRASH_SEED the first seed.
#include <QAction>
#include <QComboBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <signal.h>

#include <cstdio>
#include <map>
#include <random>

#include "app/MainWindow.h"
#include "gradefile/RecoveryJournal.h"
#include "platform/StateFiles.h"
#include "support/GradeFiles.h"
#include "support/WindowHarness.h"

using namespace testfiles;

namespace {

constexpr std::int64_t kSecond = 1000000000;

// The child: edits until it is killed, and says after each step it
// finished: the number of steps so far, when, and the hash of what a save
// would write then.
int RunChild(const QString& file, unsigned seed) {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(file);
  std::mt19937 random(seed);
  std::uint64_t shown = HashOfBook(w.document().Book());
  int steps = 0;
  std::printf("0 %lld %llu\n", static_cast<long long>(platform::NowNs()), static_cast<unsigned long long>(shown));
  std::fflush(stdout);
  const int rows = static_cast<int>(w.editingView().rows().size());
  for (;;) {
    const int action = static_cast<int>(random() % 10);
    if (action < 7) {
      const int row = 1 + static_cast<int>(random() % rows);
      const int column = 4 + static_cast<int>(random() % 2);
      h.Select(row, column);
      const int digits = 1 + static_cast<int>(random() % 2);
      for (int i = 0; i < digits; ++i) QTest::keyClick(w.gradeEditor(), static_cast<Qt::Key>(Qt::Key_0 + random() % 10));
      h.Select(row, column == 4 ? 5 : 4);  // leaving the cell ends the step
    } else if (action < 9) {
      w.commands().undo->trigger();
    } else {
      w.commands().redo->trigger();
    }
    const std::uint64_t now = HashOfBook(w.document().Book());
    if (now != shown) {
      shown = now;
      std::printf("%d %lld %llu\n", ++steps, static_cast<long long>(platform::NowNs()),
                  static_cast<unsigned long long>(now));
      std::fflush(stdout);
    }
    QTest::qWait(static_cast<int>(random() % 120));
  }
}

struct Reported {
  std::int64_t TimeNs = 0;
  std::uint64_t Hash = 0;
};

}  // namespace

class CrashRecoveryTest : public QObject {
  Q_OBJECT

 private slots:
  void killedAtRandomMoments();
};

void CrashRecoveryTest::killedAtRandomMoments() {
  const int kills = qEnvironmentVariableIsSet("GS_CRASH_KILLS") ? qEnvironmentVariableIntValue("GS_CRASH_KILLS") : 8;
  const unsigned firstSeed = qEnvironmentVariableIsSet("GS_CRASH_SEED")
                                 ? static_cast<unsigned>(qEnvironmentVariableIntValue("GS_CRASH_SEED"))
                                 : 2026;
  const QByteArray oldState = qgetenv("XDG_STATE_HOME");
  int checkedSteps = 0;
  for (int kill = 0; kill < kills; ++kill) {
    const unsigned seed = firstSeed + static_cast<unsigned>(kill);
    std::mt19937 random(seed * 7919u);
    QTemporaryDir dir;
    const QString file = dir.filePath("grades.txt");
    const std::string base = FileBytes(ThreeCourses());
    QVERIFY(WriteFile(file, base));
    qputenv("XDG_STATE_HOME", dir.filePath("state").toUtf8());

    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("GS_CRASH_CHILD", file);
    env.insert("GS_CRASH_CHILD_SEED", QString::number(seed));
    env.insert("TMPDIR", dir.path());  // what the killed child leaves goes with the test's folder
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), {});
    QVERIFY(child.waitForStarted());
    // Killed between 1.2 and 4 seconds after its first step was possible.
    std::map<int, Reported> reported;
    QByteArray pending;
    std::int64_t started = 0;
    const std::int64_t lifetime = 1200000000LL + static_cast<std::int64_t>(random() % 2800) * 1000000;
    for (;;) {
      child.waitForReadyRead(20);
      pending += child.readAllStandardOutput();
      for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
        int step = 0;
        long long time = 0;
        unsigned long long hash = 0;
        if (std::sscanf(pending.left(end).constData(), "%d %lld %llu", &step, &time, &hash) == 3) {
          reported[step] = {time, hash};
          if (step == 0) started = time;
        }
      }
      QVERIFY2(child.state() == QProcess::Running, "the child ended by itself");
      if (started != 0 && platform::NowNs() >= started + lifetime) break;
    }
    ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
    const std::int64_t killedAt = platform::NowNs();
    child.waitForFinished();
    pending += child.readAllStandardOutput();  // lines written before the kill
    for (qsizetype end; (end = pending.indexOf('\n')) >= 0; pending.remove(0, end + 1)) {
      int step = 0;
      long long time = 0;
      unsigned long long hash = 0;
      if (std::sscanf(pending.left(end).constData(), "%d %lld %llu", &step, &time, &hash) == 3)
        reported[step] = {time, hash};
    }
    int due = 0;  // the last step finished more than a second before the kill
    for (const auto& [step, report] : reported)
      if (report.TimeNs <= killedAt - kSecond) due = step;
    const int last = reported.rbegin()->first;

    // A new window recovers what the journal holds; the question says how
    // many steps that is.
    WindowHarness after;
    after.Script->Choices.push_back(QStringLiteral("恢复"));
    after.Open(file);
    QCOMPARE(ReadFile(file), base);
    const int recovered = after.Script->Count(ScriptedDialogs::Kind::Choose) == 0
                              ? 0
                              : QString(after.Script->Texts(ScriptedDialogs::Kind::Choose).front())
                                    .section(QStringLiteral("有 "), 1)
                                    .section(QLatin1Char(' '), 0, 0)
                                    .toInt();
    const QByteArray where = QStringLiteral("seed %1: %2 steps reported, %3 due, %4 recovered")
                                 .arg(seed).arg(last).arg(due).arg(recovered).toUtf8();
    QVERIFY2(recovered >= due, where.constData());
    QVERIFY2(recovered <= last + 1, where.constData());
    if (recovered <= last) {
      QVERIFY2(HashOfBook(after.W->document().Book()) == reported[recovered].Hash, where.constData());
    }
    checkedSteps += due;
  }
  qputenv("XDG_STATE_HOME", oldState);
  qInfo("%d kills, %d steps due and recovered", kills, checkedSteps);
}

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsSet("GS_CRASH_CHILD")) {
    QApplication app(argc, argv);
    return RunChild(qEnvironmentVariable("GS_CRASH_CHILD"),
                    static_cast<unsigned>(qEnvironmentVariableIntValue("GS_CRASH_CHILD_SEED")));
  }
  QApplication app(argc, argv);
  CrashRecoveryTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "test_crash_recovery.moc"
