// The real import preview and the choice of courses to export, as the
// teacher sees them: the choosers of the score columns appear only when the
// heading leaves a doubt, each choice previews again at once, and "导入" is
// offered only when something would change. Pictures of both dialogs go to
// $GS_SCREENSHOT_DIR when set.
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include "app/ExportScopeDialog.h"
#include "app/ImportDialog.h"
#include "gradefile/GradeBook.h"
#include "preview/DialogLook.h"
#include "printing/qt/Fonts.h"
#include "support/GradeFiles.h"

class ImportDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void choosingAColumnPreviewsAgain();
  void clearHeadingShowsNoChoosers();
  void screenshots();

 private:
  // The demo file's book and a CSV file for its first course, 高等数学(一).
  void Prepare(const std::string& csv);
  QString Picture(const QString& name) const { return outDir_ + QLatin1Char('/') + name; }

  QTemporaryDir dir_;
  GradeBook book_;
  std::string csvPath_;
  QString outDir_;
};

namespace {

// 期中考试 and 期末考试 could both be the examination: the teacher is asked.
const char* const kMarking =
    "学号,姓名,平时,期中考试,期末考试\n"
    "2023040101,余佳,90,80,88\n"
    "2023040102,孟姣芳,100,70,65\n"
    "2023040103,周瑾影,89,75,缺考\n"
    "2023040104,刘敏竹,92,95,99\n"
    "2023040105,姚娅,85,66,x\n"
    "2099000001,旁听生,80,80,80\n";

QString TabText(const ImportDialog& d, int tab) { return d.findChild<QTabWidget*>()->tabText(tab); }

}  // namespace

void ImportDialogTest::initTestCase() {
  InstallFontSubstitutes();
  QApplication::setFont(preview::FormFont());
  outDir_ = qEnvironmentVariable("GS_SCREENSHOT_DIR");
  QVERIFY(book_.Load(GS_SAMPLES "/demo.txt").Outcome == LoadOutcome::Loaded);
  book_.BuildCourseList();
}

void ImportDialogTest::Prepare(const std::string& csv) {
  csvPath_ = dir_.filePath(QStringLiteral("marking.csv")).toStdString();
  QVERIFY(testfiles::WriteFile(QString::fromStdString(csvPath_), csv));
}

void ImportDialogTest::choosingAColumnPreviewsAgain() {
  Prepare(kMarking);
  exchange::ImportSession session(book_, book_.CourseKeys.front(), csvPath_);
  session.Start();
  ImportDialog d({QString::fromStdString(csvPath_), QStringLiteral("高等数学(一)"), &session}, nullptr);
  d.show();
  QVERIFY(d.findChild<QGroupBox*>(QStringLiteral("Columns"))->isVisible());
  QComboBox& exam = *d.ExaminationChooser();
  QStringList items;
  for (int i = 0; i < exam.count(); ++i) items << exam.itemText(i);
  QCOMPARE(items, (QStringList{"不导入", "第 2 列  姓名", "第 3 列  平时", "第 4 列  期中考试", "第 5 列  期末考试"}));
  QCOMPARE(exam.currentText(), QStringLiteral("第 4 列  期中考试"));
  QCOMPARE(d.CourseworkChooser()->currentText(), QStringLiteral("第 3 列  平时"));
  QCOMPARE(TabText(d, 0), QStringLiteral("将改动的成绩 (5)"));
  QCOMPARE(TabText(d, 1), QStringLiteral("未导入的行 (1)"));

  exam.setCurrentIndex(4);  // 期末考试: its "x" is no score
  QCOMPARE(session.Columns(), (exchange::ScoreColumns{3, 5}));
  QCOMPARE(TabText(d, 0), QStringLiteral("将改动的成绩 (3)"));
  QCOMPARE(TabText(d, 1), QStringLiteral("未导入的行 (2)"));
  QVERIFY(d.findChild<QLabel*>(QStringLiteral("Counts"))->text().startsWith(QStringLiteral("匹配 4 人，其中 3 人")));
  // The first change, old and new side by side: 余佳's examination 71 → 88.
  const QAbstractItemModel& changes = *qobject_cast<QTableView*>(d.findChild<QTabWidget*>()->widget(0))->model();
  QCOMPARE(changes.index(0, 1).data().toString(), QStringLiteral("2023040101"));
  QCOMPARE(changes.index(0, 5).data().toString(), QStringLiteral("71"));
  QCOMPARE(changes.index(0, 6).data().toString(), QStringLiteral("88"));
  QVERIFY(changes.index(0, 6).data(Qt::FontRole).value<QFont>().bold());
  QVERIFY(!changes.index(0, 5).data(Qt::FontRole).value<QFont>().bold());
  QVERIFY(d.ImportButton()->isEnabled());

  // Neither score: nothing to import, and the dialog says what to do.
  d.CourseworkChooser()->setCurrentIndex(0);
  exam.setCurrentIndex(0);
  QVERIFY(!d.ImportButton()->isEnabled());
  QCOMPARE(d.findChild<QLabel*>(QStringLiteral("Problem"))->text(), QStringLiteral("请选择平时成绩或考试成绩所在的列"));
  d.ImportButton()->click();
  QVERIFY(d.isVisible());

  exam.setCurrentIndex(4);
  QVERIFY(d.ImportButton()->isEnabled());
  d.ImportButton()->click();
  QCOMPARE(d.result(), int(QDialog::Accepted));
  QCOMPARE(session.Columns(), (exchange::ScoreColumns{0, 5}));
}

void ImportDialogTest::clearHeadingShowsNoChoosers() {
  Prepare("学号,姓名,平时成绩,考试成绩\n2023040101,余佳,87,71\n");
  exchange::ImportSession session(book_, book_.CourseKeys.front(), csvPath_);
  session.Start();
  ImportDialog d({QString::fromStdString(csvPath_), QStringLiteral("高等数学(一)"), &session}, nullptr);
  d.show();
  QVERIFY(!d.findChild<QGroupBox*>(QStringLiteral("Columns"))->isVisible());
  // The grades are those of the file already: nothing to import.
  QVERIFY(!d.ImportButton()->isEnabled());
  QCOMPARE(d.findChild<QLabel*>(QStringLiteral("Problem"))->text(),
           QStringLiteral("文件中的成绩与本课程现有的成绩相同，没有需要改动的。"));
}

void ImportDialogTest::screenshots() {
  if (outDir_.isEmpty()) QSKIP("GS_SCREENSHOT_DIR is not set");
  Prepare(kMarking);
  exchange::ImportSession session(book_, book_.CourseKeys.front(), csvPath_);
  session.Start();
  ImportDialog d({QStringLiteral("/home/teacher/阅卷系统/高数期末.csv"), QStringLiteral("高等数学(一) 陈建华 计科2301,计科2302"),
                  &session},
                 nullptr);
  d.show();
  QVERIFY(QTest::qWaitForWindowExposed(&d));
  QVERIFY(d.grab().save(Picture(QStringLiteral("import-preview.png"))));
  d.findChild<QTabWidget*>()->setCurrentIndex(1);
  QVERIFY(d.grab().save(Picture(QStringLiteral("import-preview-skipped.png"))));

  ExportScopeDialog scope(QStringLiteral("高等数学(一) 陈建华 计科2301,计科2302"), 3, nullptr);
  scope.show();
  QVERIFY(QTest::qWaitForWindowExposed(&scope));
  QVERIFY(scope.grab().save(Picture(QStringLiteral("export-scope.png"))));
}

QTEST_MAIN(ImportDialogTest)
#include "test_import_dialog.moc"
