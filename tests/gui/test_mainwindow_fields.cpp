// What the window does about the widths and forms of its fields: the grade
// editor takes no keystroke past the grade's 6 bytes, a paste says which
// cells did not fit, the share field takes only a number from 0 to 100, and
// a share from the file that is no such number is marked and not offered to
// recompute with. The rules themselves are the core's (PlanGradeEdit,
// IsShareNumber, CheckBook); here is only what the window shows of them.
// Pictures of the refusals go to $GS_SCREENSHOT_DIR when set.
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTableView>
#include <QTest>

#include "app/CheckBar.h"
#include "app/MainWindow.h"
#include "app/WindowTexts.h"
#include "support/GradeFiles.h"
#include "support/WindowHarness.h"
#include "text/Texts.h"

using namespace testfiles;
using Kind = ScriptedDialogs::Kind;

class MainWindowFieldsTest : public QObject {
  Q_OBJECT

 private slots:
  void editorTakesNoKeyPastTheField();
  void pasteNamesTheCellsThatDoNotFit();
  void shareFieldTakesANumberFromZeroToHundred();
  void badShareFromTheFileIsMarked();
};

namespace {

void Shoot(QWidget& window, const char* name) {
  const QString dir = qEnvironmentVariable("GS_SCREENSHOT_DIR");
  if (dir.isEmpty()) return;
  QTest::qWait(50);  // the status bar, just shown, gets its place
  window.grab().save(dir + QLatin1Char('/') + QLatin1String(name));
}

}  // namespace

void MainWindowFieldsTest::editorTakesNoKeyPastTheField() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  h.Select(1, 4);
  QTest::keyClicks(w.gradeEditor(), QStringLiteral("1234567"));
  QCOMPARE(w.gradeEditor()->currentText(), QStringLiteral("123456"));
  QCOMPARE(h.Cell(1, 4), QStringLiteral("123456"));
  QCOMPARE(h.Cell(1, 6), QStringLiteral("37100"));  // 0.3 * 123456 + 0.7 * 90, from what is stored
  QCOMPARE(w.document().Book().GradeLines[0], Record("k0001", "2022000001", "王小明", "计科2201", "123456", "90", "37100"));
  QCOMPARE(w.statusLine()->currentMessage(), WindowTexts::GradeTooLong());
  QVERIFY(w.statusLine()->isVisible());
  Shoot(w, "editor-refuses-past-six-bytes.png");
}

void MainWindowFieldsTest::pasteNamesTheCellsThatDoNotFit() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  h.Select(1, 4);
  QApplication::clipboard()->setText(QStringLiteral("不通过考试\t85\n70\t1234567"));
  h.Script->ClearCalls();
  w.clipboard().pasteCells();
  // What fits is pasted; what does not is left as it was, and named.
  QCOMPARE(w.document().Book().GradeLines[0], Record("k0001", "2022000001", "王小明", "计科2201", "80", "85", " 84"));
  QCOMPARE(w.document().Book().GradeLines[1], Record("k0001", "2022000002", "李华", "计科2201", "70", "", " 21", "XYZ123"));
  QCOMPARE(h.Cell(1, 4), QStringLiteral("80    "));
  QCOMPARE(h.Script->Texts(Kind::Information),
           QStringList{WindowTexts::PasteTooLong(
               {QStringLiteral("第 1 行（学号 2022000001）平时成绩“不通过考试”"),
                QStringLiteral("第 2 行（学号 2022000002）考试成绩“1234567”")})});
}

void MainWindowFieldsTest::shareFieldTakesANumberFromZeroToHundred() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  const struct {
    const char* typed;
    const char* shown;
    bool refused;
  } cases[] = {{"3O", "3", true}, {"150", "15", true}, {" 12.5 ", " 12.5 ", false},
               {"1.2.", "1.2", true}, {"100", "100", false}, {"-", "100", true}};
  for (const auto& c : cases) {
    w.statusLine()->clearMessage();
    w.shareEdit()->setFocus();
    w.shareEdit()->selectAll();
    QTest::keyClicks(w.shareEdit(), QString::fromUtf8(c.typed));
    QCOMPARE(w.shareEdit()->text(), QString::fromUtf8(c.shown));
    QCOMPARE(w.statusLine()->currentMessage(), c.refused ? WindowTexts::ShareRefused() : QString());
    if (c.refused && std::string(c.typed) == "3O") Shoot(w, "share-field-refuses-a-letter.png");
  }
  QCOMPARE(w.document().Book().Share("k0001"), std::string("100"));
}

void MainWindowFieldsTest::badShareFromTheFileIsMarked() {
  WindowHarness h;
  MainWindow& w = *h.W;
  std::vector<std::string> lines = ThreeCourses();
  lines[3] = Head("k0001", "t9", "3O");
  h.Open(h.Write("grades.txt", FileBytes(lines)));
  const QString why = QString::fromUtf8(texts::kBadShare.data(), static_cast<int>(texts::kBadShare.size()));
  QCOMPARE(w.shareEdit()->text(), QStringLiteral("3O"));
  QCOMPARE(w.shareEdit()->toolTip(), why);
  QVERIFY(w.shareEdit()->palette().color(QPalette::Base) != QApplication::palette().color(QPalette::Base));
  QVERIFY(w.checkBar()->isVisible());
  QCOMPARE(w.checkBar()->label()->text(), why);
  QVERIFY(w.checkBar()->recomputeButton()->isHidden());  // no recompute at 3%

  // The save lists it first, with its course and no student.
  w.shareEdit()->setFocus();  // a key in the grid would leave the field as it is
  h.Script->FindingsAnswers.push_back({FindingsChoice::Back, -1});
  w.save();
  QCOMPARE(h.Script->FindingsShown.size(), std::size_t(1));
  const FindingRow& first = h.Script->FindingsShown[0].front();
  QCOMPARE(QString::fromStdString(first[3]), QStringLiteral("平时成绩占百分比"));
  QCOMPARE(QString::fromStdString(first[1]), QString());

  // Put right, the mark goes and the recompute is offered again.
  w.shareEdit()->selectAll();
  QTest::keyClicks(w.shareEdit(), QStringLiteral("40"));
  QCOMPARE(w.shareEdit()->toolTip(), QString());
  QVERIFY(!w.checkBar()->recomputeButton()->isHidden());
}

QTEST_MAIN(MainWindowFieldsTest)
#include "test_mainwindow_fields.moc"
