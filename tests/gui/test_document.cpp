// The open file without a window: whether there is anything to save, said
// once per change, and the question before the grades are left.
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include "app/Document.h"
#include "app/FileRecovery.h"
#include "support/GradeFiles.h"
#include "support/ScriptedDialogs.h"

using namespace testfiles;
using Kind = ScriptedDialogs::Kind;

class DocumentTest : public QObject {
  Q_OBJECT

 private slots:
  void canSaveFollowsTheBookAndTheFile();
  void leavingAsks_data();
  void leavingAsks();
};

namespace {

struct Opened {
  QTemporaryDir dir;
  ScriptedDialogs dialogs;
  FileRecovery recovery{nullptr, dialogs};
  Document document{nullptr, dialogs, recovery};
  QString path = dir.filePath(QStringLiteral("grades.txt"));

  Opened() {
    WriteFile(path, FileBytes(ThreeCourses()));
    document.Open(path);
  }
  // An edit the window made: a digit of the first student's number.
  void Edit() {
    document.Book().GradeLines[0][5] ^= 1;
    document.Book().Modified = true;
    document.Changed();
  }
};

}  // namespace

void DocumentTest::canSaveFollowsTheBookAndTheFile() {
  ScriptedDialogs dialogs;
  FileRecovery recovery(nullptr, dialogs);
  Document none(nullptr, dialogs, recovery);
  none.Book().Modified = true;  // a book without a file has nowhere to be saved
  QVERIFY(!none.CanSave());
  QVERIFY(none.Save());

  Opened o;
  QSignalSpy canSave(&o.document, &Document::canSaveChanged);
  QVERIFY(!o.document.CanSave());
  o.Edit();
  o.Edit();  // said once, not per edit
  QCOMPARE(canSave.count(), 1);
  QCOMPARE(canSave.at(0).at(0).toBool(), true);
  QVERIFY(o.document.Save());
  QCOMPARE(canSave.count(), 2);
  QCOMPARE(canSave.at(1).at(0).toBool(), false);
  Document again(nullptr, o.dialogs, o.recovery);
  QVERIFY(again.Open(o.path));
  QCOMPARE(again.Book().GradeLines, o.document.Book().GradeLines);
}

void DocumentTest::leavingAsks_data() {
  QTest::addColumn<bool>("edited");
  QTest::addColumn<int>("answer");
  QTest::addColumn<bool>("mayLeave");
  QTest::addColumn<bool>("written");
  QTest::newRow("nothing to save: no question") << false << -1 << true << false;
  QTest::newRow("是 saves") << true << int(Answer::Yes) << true << true;
  QTest::newRow("否 leaves them") << true << int(Answer::No) << true << false;
  QTest::newRow("取消 keeps them") << true << int(Answer::Cancel) << false << false;
}

void DocumentTest::leavingAsks() {
  QFETCH(bool, edited);
  QFETCH(int, answer);
  QFETCH(bool, mayLeave);
  QFETCH(bool, written);
  Opened o;
  const std::string before = ReadFile(o.path);
  if (edited) o.Edit();
  if (answer >= 0) o.dialogs.YesNoCancelAnswers.push_back(static_cast<Answer>(answer));
  QCOMPARE(o.document.MayLeave(), mayLeave);
  QCOMPARE(o.dialogs.Count(Kind::AskYesNoCancel), answer >= 0 ? 1 : 0);
  QCOMPARE(ReadFile(o.path) != before, written);
  QCOMPARE(o.document.CanSave(), edited && !written);
}

QTEST_MAIN(DocumentTest)
#include "test_document.moc"
