// Import and export in the window, with scripted dialogs: the file menu's
// entries, the preview the teacher sees and the columns chosen in it, what
// importing does to the records, the grid, saving and the history, and the
// files an export writes. The rules of reading a CSV file and of writing a
// workbook are tested in the core suite.
#include <QAction>
#include <QFileInfo>
#include <QProcess>
#include <QStackedWidget>
#include <QTableView>
#include <QTest>

#include "app/MainWindow.h"
#include "support/GradeFiles.h"
#include "support/WindowHarness.h"
#include "text/Blanks.h"
#include "text/Gbk.h"

using namespace testfiles;
using Kind = ScriptedDialogs::Kind;

class MainWindowExchangeTest : public QObject {
  Q_OBJECT

 private slots:
  void enabledWithACourse();
  void previewShowsCountsAndRows();
  void choosingColumnsPreviewsAgainAndImports();
  void undoAndRedoOfAnImport();
  void cancelChangesNothing();
  void headingWithoutScoresAsksForTheColumn();
  void badFileChangesNothing_data();
  void badFileChangesNothing();
  void exportsShownCourseAsCsv();
  void exportsAllCoursesAsWorkbook();
  void oneCourseIsExportedWithoutAsking();
  void exportRefusesTheGradeFileBeforeAsking_data();
  void exportRefusesTheGradeFileBeforeAsking();
  void failedExportSaysWhy_data();
  void failedExportSaysWhy();
};

namespace {

// For course k0001 (share 30) of ThreeCourses: 王小明 changes, 李华's
// examination is unreadable, a stranger is not in the course, 赵四 is not
// named. Two columns could be the examination: the teacher is asked.
const char* const kScores =
    "学号,姓名,平时成绩,考试成绩,卷面\r\n"
    "2022000001,王小明,80,95,70\r\n"
    "2022000002,李华,良,abc,60\r\n"
    "2099999999,外人,70,70,70\r\n";

std::vector<std::string> Utf8(const std::vector<std::string>& gbk) {
  std::vector<std::string> out;
  for (const std::string& s : gbk) out.push_back(GbkToUtf8(s));
  return out;
}

// A matched row as "number old→new" for the three grades, trimmed, UTF-8.
std::string Row(const exchange::MatchedRow& m) {
  std::string out = GbkToUtf8(m.Number);
  for (std::size_t g = 0; g < 3; ++g)
    out += " " + GbkToUtf8(TrimmedBlanks(m.Old[g])) + ">" + GbkToUtf8(TrimmedBlanks(m.New[g]));
  return out;
}
std::vector<std::string> Rows(const exchange::ImportPreview& p) {
  std::vector<std::string> out;
  for (const exchange::MatchedRow& m : p.Matched) out.push_back(Row(m));
  return out;
}

struct Opened {
  WindowHarness h;
  QString scores;
  Opened(const std::string& csv = kScores) {
    h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
    scores = h.Write("scores.csv", csv);
    h.Script->ClearCalls();
  }
  // Runs the import with the file answered and the preview scripted.
  void Import(std::optional<ScriptedDialogs::ImportScript> script, const QString& file = {}) {
    h.Script->OpenFiles.push_back(file.isEmpty() ? scores : file);
    if (script) h.Script->Imports.push_back(*script);
    h.W->commands().importScores->trigger();
  }
};

// The students' numbers and names of one worksheet or file, by python3's
// zipfile: the workbook's sheet names, then every shared string.
QStringList WorkbookStrings(const QString& path) {
  QProcess python;
  python.start(QStringLiteral("python3"),
               {QStringLiteral("-c"),
                QStringLiteral("import re,sys,zipfile\n"
                               "z=zipfile.ZipFile(sys.argv[1])\n"
                               "w=z.read('xl/workbook.xml').decode()\n"
                               "s=z.read('xl/sharedStrings.xml').decode()\n"
                               "print('\\n'.join(re.findall(r'<sheet name=\"([^\"]*)\"',w)))\n"
                               "print('--')\n"
                               "print('\\n'.join(re.findall(r'<t[^>]*>([^<]*)</t>',s)))\n"),
                path});
  if (!python.waitForFinished(30000) || python.exitCode() != 0) return {};
  return QString::fromUtf8(python.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

}  // namespace

void MainWindowExchangeTest::enabledWithACourse() {
  WindowHarness h;
  MainWindow& w = *h.W;
  h.Open(h.Write("grades.txt", FileBytes(ThreeCourses())));
  QVERIFY(w.commands().importScores->isEnabled());
  QVERIFY(w.commands().exportGrades->isEnabled());
  // A grade file without a course has nothing to import into or export.
  h.Open(h.Write("empty.txt", FileBytes({})));
  QVERIFY(!w.commands().importScores->isEnabled());
  QVERIFY(!w.commands().exportGrades->isEnabled());
}

void MainWindowExchangeTest::previewShowsCountsAndRows() {
  Opened o;
  o.Import(ScriptedDialogs::ImportScript{{}, false});
  ScriptedDialogs& s = *o.h.Script;
  QCOMPARE(s.FiltersOffered, QStringList{QStringLiteral("CSV 文件 (*.csv *.txt);;所有文件 (*)")});
  QCOMPARE(s.ImportsSeen.size(), std::size_t(1));
  const ScriptedDialogs::ImportSeen& seen = s.ImportsSeen[0];
  QCOMPARE(seen.File, o.scores);
  QCOMPARE(seen.Course, QStringLiteral("数据库原理 张老师 计科2201"));
  QVERIFY(seen.AsksColumns);  // 考试成绩 and 卷面 could both be the examination
  QCOMPARE(Utf8(seen.ColumnNames), (std::vector<std::string>{"学号", "姓名", "平时成绩", "考试成绩", "卷面"}));
  QCOMPARE(seen.StudentColumn, std::size_t(1));

  const exchange::ImportPreview& p = seen.Previews.at(0);
  QVERIFY(p.Ok());
  QCOMPARE(p.CourseworkColumn, std::size_t(3));
  QCOMPARE(p.ExaminationColumn, std::size_t(4));
  QCOMPARE(Rows(p), (std::vector<std::string>{"2022000001 80>80 90>95 87>90"}));
  QCOMPARE(p.ChangedCount(), std::size_t(1));
  QCOMPARE(p.Count(exchange::RowIssue::NotInCourse), std::size_t(1));
  QCOMPARE(p.Count(exchange::RowIssue::Unreadable), std::size_t(1));
  QCOMPARE(p.Missing.size(), std::size_t(1));
  QCOMPARE(GbkToUtf8(p.Missing[0].Name), std::string("赵四"));
  QCOMPARE(p.Skipped.size(), std::size_t(2));
  QCOMPARE(p.Skipped[0].Line, std::size_t(3));
  QCOMPARE(GbkToUtf8(p.Skipped[0].Text), std::string("abc"));
  QCOMPARE(GbkToUtf8(p.Skipped[1].Number), std::string("2099999999"));
}

void MainWindowExchangeTest::choosingColumnsPreviewsAgainAndImports() {
  Opened o;
  MainWindow& w = *o.h.W;
  const Lines before = w.document().Book().GradeLines;
  w.commands().showSheet->trigger();  // in the preview: the import is seen in the grid, and undone there
  o.Import(ScriptedDialogs::ImportScript{{{3, 5}}, true});  // 卷面 as the examination
  QCOMPARE(w.views()->currentWidget(), static_cast<QWidget*>(&w.editingView()));
  const ScriptedDialogs::ImportSeen& seen = o.h.Script->ImportsSeen.at(0);
  QCOMPARE(seen.Previews.size(), std::size_t(2));
  QCOMPARE(Rows(seen.Previews[1]),
           (std::vector<std::string>{"2022000001 80>80 90>70 87>73", "2022000002 优>良 >60 >42"}));
  QCOMPARE(seen.Previews[1].Count(exchange::RowIssue::Unreadable), std::size_t(0));

  QCOMPARE(w.document().Book().GradeLines[0], Record("k0001", "2022000001", "王小明", "计科2201", "80", "70", " 73"));
  QCOMPARE(w.document().Book().GradeLines[1], Record("k0001", "2022000002", "李华", "计科2201", "良", "60", " 42", "XYZ123"));
  for (std::size_t i = 2; i < before.size(); ++i) QCOMPARE(w.document().Book().GradeLines[i], before[i]);
  QCOMPARE(o.h.Cell(1, 5), QStringLiteral("70    "));
  QCOMPARE(o.h.Cell(2, 4), QStringLiteral("良    "));
  QCOMPARE(o.h.Cell(2, 6), QStringLiteral(" 42   "));
  QVERIFY(w.Modified());
  QVERIFY(w.commands().save->isEnabled());
  QVERIFY(w.commands().undo->isEnabled());
  QCOMPARE(o.h.Script->Texts(Kind::Information).size(), 1);
  QVERIFY(o.h.Script->Texts(Kind::Information)[0].startsWith(QStringLiteral("已导入 2 名学生的成绩")));

  // Saved, the file holds what the grid shows.
  w.save();
  QVERIFY(ReadFile(o.h.Dir.filePath("grades.txt")).find(w.document().Book().GradeLines[1]) != std::string::npos);
}

void MainWindowExchangeTest::undoAndRedoOfAnImport() {
  Opened o;
  MainWindow& w = *o.h.W;
  const Lines before = w.document().Book().GradeLines;
  o.Import(ScriptedDialogs::ImportScript{{{3, 5}}, true});
  const Lines imported = w.document().Book().GradeLines;
  QVERIFY(imported != before);

  w.commands().undo->trigger();  // the whole import is one step
  QCOMPARE(w.document().Book().GradeLines, before);
  QCOMPARE(o.h.Cell(1, 5), QStringLiteral("90    "));
  QVERIFY(!w.commands().undo->isEnabled());
  QVERIFY(w.commands().redo->isEnabled());
  w.commands().redo->trigger();
  QCOMPARE(w.document().Book().GradeLines, imported);
  QCOMPARE(o.h.Cell(2, 6), QStringLiteral(" 42   "));
  w.commands().undo->trigger();
  QCOMPARE(w.document().Book().GradeLines, before);
}

void MainWindowExchangeTest::cancelChangesNothing() {
  Opened o;
  MainWindow& w = *o.h.W;
  const Lines before = w.document().Book().GradeLines;
  o.Import(ScriptedDialogs::ImportScript{{{3, 5}}, false});  // a choice, then 取消
  QCOMPARE(w.document().Book().GradeLines, before);
  QVERIFY(!w.Modified());
  QVERIFY(!w.commands().save->isEnabled());
  QVERIFY(!w.commands().undo->isEnabled());
  QCOMPARE(o.h.Script->Messages(), QStringList());
  // Cancelling the file dialog asks nothing more.
  o.h.Script->OpenFiles.push_back(std::nullopt);
  w.commands().importScores->trigger();
  QCOMPARE(o.h.Script->Count(Kind::ImportPreview), 1);
  QCOMPARE(w.document().Book().GradeLines, before);
}

void MainWindowExchangeTest::headingWithoutScoresAsksForTheColumn() {
  Opened o("学号,姓名,分数\n2022000003,赵四,75\n");
  MainWindow& w = *o.h.W;
  o.Import(ScriptedDialogs::ImportScript{{{0, 3}}, true});
  const ScriptedDialogs::ImportSeen& seen = o.h.Script->ImportsSeen.at(0);
  QVERIFY(seen.AsksColumns);
  QCOMPARE(seen.Previews[0].Failure, exchange::ImportFailure::NoScoreColumn);
  QCOMPARE(w.document().Book().GradeLines[2], Record("k0001", "2022000003", "赵四", "计科2202", "855", "75", "309"));
}

void MainWindowExchangeTest::badFileChangesNothing_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QByteArray>("bytes");
  QTest::addColumn<bool>("error");  // an error box, else an information box
  QTest::addColumn<QString>("says");
  QTest::newRow("unclosed quote") << "q.csv" << QByteArray("学号,考试成绩\n\"2022000001,90\n") << false
                                  << "第2行的引号没有闭合";
  QTest::newRow("binary") << "b.csv" << QByteArray("\x7F" "ELF\x02\x01\x01\0\0\0", 10) << false
                          << "不是文本文件";
  QTest::newRow("workbook") << "w.csv" << QByteArray("PK\x03\x04\x14\0\x06\0", 8) << false << "是Excel工作簿";
  QTest::newRow("no student column") << "n.csv" << QByteArray("姓名,分数\n赵四,75\n") << false << "找不到学号列";
  QTest::newRow("missing") << "" << QByteArray() << true << "无法读取";
}

void MainWindowExchangeTest::badFileChangesNothing() {
  QFETCH(QString, name);
  QFETCH(QByteArray, bytes);
  QFETCH(bool, error);
  QFETCH(QString, says);
  Opened o;
  MainWindow& w = *o.h.W;
  const Lines before = w.document().Book().GradeLines;
  const QString path = name.isEmpty() ? o.h.Dir.filePath("nowhere.csv") : o.h.Write(name, bytes.toStdString());
  o.Import(ScriptedDialogs::ImportScript{{}, true}, path);
  const QStringList shown = o.h.Script->Texts(error ? Kind::Error : Kind::Information);
  QCOMPARE(o.h.Script->Messages().size(), 1);
  QCOMPARE(shown.size(), 1);
  QVERIFY2(shown[0].startsWith(path) && shown[0].contains(says), qPrintable(shown[0]));
  QCOMPARE(o.h.Script->Count(Kind::ImportPreview), 0);
  QCOMPARE(w.document().Book().GradeLines, before);
  QVERIFY(!w.Modified());
  QVERIFY(!w.commands().undo->isEnabled());
}

void MainWindowExchangeTest::exportsShownCourseAsCsv() {
  Opened o;
  MainWindow& w = *o.h.W;
  o.h.SelectCourse(2);  // 高等数学
  o.h.Script->ExportScopes.push_back(ExportScope::ShownCourse);
  o.h.Script->SaveFiles.push_back(o.h.Dir.filePath("高数.csv"));
  w.commands().exportGrades->trigger();
  ScriptedDialogs& s = *o.h.Script;
  QCOMPARE(s.ExportScopesOffered.at(0), qMakePair(QStringLiteral("高等数学 李老师"), 3));
  QCOMPARE(s.SavesSuggested, QStringList{o.h.Dir.filePath("高等数学.xlsx")});
  QCOMPARE(s.FiltersOffered, QStringList{QStringLiteral("Excel 工作簿 (*.xlsx);;CSV 文件 (*.csv)")});
  const std::string bytes = ReadFile(o.h.Dir.filePath("高数.csv"));
  QVERIFY(bytes.starts_with("\xEF\xBB\xBF"));  // UTF-8 that Excel and WPS recognise
  const QStringList lines = QString::fromUtf8(bytes.substr(3)).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  QCOMPARE(lines.size(), 3);  // the heading and two students
  QVERIFY(lines[1].contains(QStringLiteral("2022000001,王小明,计科2201,70,60,64")));
  QVERIFY(lines[2].contains(QStringLiteral("钱五")));
  QCOMPARE(s.Texts(Kind::Information),
           QStringList{QStringLiteral("已导出 1 门课程、2 名学生的成绩到\n") + o.h.Dir.filePath("高数.csv")});
  QVERIFY(!w.Modified());  // exporting changes no grade
}

void MainWindowExchangeTest::exportsAllCoursesAsWorkbook() {
  Opened o;
  MainWindow& w = *o.h.W;
  o.h.Script->ExportScopes.push_back(ExportScope::AllCourses);
  // A name typed without its type gets the type chosen: the first, a workbook.
  o.h.Script->SaveFiles.push_back(o.h.Dir.filePath("全部"));
  w.commands().exportGrades->trigger();
  QCOMPARE(o.h.Script->SavesSuggested, QStringList{o.h.Dir.filePath("grades.xlsx")});
  const QStringList strings = WorkbookStrings(o.h.Dir.filePath("全部.xlsx"));
  const int split = strings.indexOf(QStringLiteral("--"));
  QCOMPARE(strings.mid(0, split),
           (QStringList{QStringLiteral("数据库原理"), QStringLiteral("高等数学"), QStringLiteral("体育")}));
  for (const char* name : {"王小明", "李华", "赵四", "钱五", "周六"})
    QVERIFY2(strings.contains(QString::fromUtf8(name)), name);
  QCOMPARE(o.h.Script->Texts(Kind::Error), QStringList());
  QVERIFY(o.h.Script->Texts(Kind::Information).at(0).startsWith(QStringLiteral("已导出 3 门课程、6 名学生")));

  // Again: the file is there now, and the teacher is asked before it is replaced.
  o.h.Script->ExportScopes.push_back(ExportScope::AllCourses);
  o.h.Script->SaveFiles.push_back(o.h.Dir.filePath("全部"));
  o.h.Script->YesNoAnswers.push_back(Answer::No);
  o.h.Script->ClearCalls();
  w.commands().exportGrades->trigger();
  QCOMPARE(o.h.Script->Messages(), QStringList{o.h.Dir.filePath("全部.xlsx") + QStringLiteral("\n已经存在。要替换它吗?")});
}

// The grade file chosen as the export's target, in the typed name or the
// name its type would add, is refused at once: no question about replacing
// it comes first, and it stays as it was.
void MainWindowExchangeTest::exportRefusesTheGradeFileBeforeAsking_data() {
  QTest::addColumn<QString>("chosen");  // in the save dialog
  QTest::addColumn<QString>("kept");    // the grade file it would have replaced
  QTest::newRow("the open grade file") << "grades.txt" << "grades.txt";
  QTest::newRow("another grade file") << "other.txt" << "other.txt";
  QTest::newRow("a grade file under the name with the type") << "plain.txt" << "plain.txt.xlsx";
}

void MainWindowExchangeTest::exportRefusesTheGradeFileBeforeAsking() {
  QFETCH(QString, chosen);
  QFETCH(QString, kept);
  Opened o;
  MainWindow& w = *o.h.W;
  const std::string other = FileBytes({Head("k0100", "tk", "物理")});
  o.h.Write("other.txt", other);
  o.h.Write("plain.txt", "no grade file");
  o.h.Write("plain.txt.xlsx", other);
  const std::string before = ReadFile(o.h.Dir.filePath(kept));
  o.h.Script->ExportScopes.push_back(ExportScope::AllCourses);
  o.h.Script->SaveFiles.push_back(o.h.Dir.filePath(chosen));
  o.h.Script->YesNoAnswers.push_back(Answer::Yes);  // would replace, were it asked
  w.commands().exportGrades->trigger();
  QCOMPARE(o.h.Script->Count(Kind::AskYesNo), 0);
  QCOMPARE(o.h.Script->Texts(Kind::Error).size(), 1);
  QVERIFY2(o.h.Script->Texts(Kind::Error)[0].startsWith(o.h.Dir.filePath(kept)),
           qPrintable(o.h.Script->Texts(Kind::Error)[0]));
  QCOMPARE(ReadFile(o.h.Dir.filePath(kept)), before);
  QVERIFY(!QFileInfo::exists(o.h.Dir.filePath("grades.txt.xlsx")));
}

void MainWindowExchangeTest::oneCourseIsExportedWithoutAsking() {
  WindowHarness h;
  std::vector<std::string> lines = ThreeCourses();
  lines.resize(7);  // 数据库原理 only
  h.Open(h.Write("one.txt", FileBytes(lines)));
  h.Script->SaveFiles.push_back(h.Dir.filePath("one.csv"));
  h.W->commands().exportGrades->trigger();
  QCOMPARE(h.Script->Count(Kind::ExportScope), 0);
  QCOMPARE(h.Script->SavesSuggested, QStringList{h.Dir.filePath("one.xlsx")});
  QVERIFY(ReadFile(h.Dir.filePath("one.csv")).find("2022000003") != std::string::npos);
}

void MainWindowExchangeTest::failedExportSaysWhy_data() {
  QTest::addColumn<QString>("target");
  QTest::addColumn<QString>("says");
  QTest::newRow("the open file under another name")
      << "link.xlsx" << ": 输出文件就是输入文件 %1，不能覆盖，未写入。";
  QTest::newRow("another grade file") << "other.csv" << ": 这是一个成绩文件，不能用输出覆盖，未写入。";
  QTest::newRow("a folder that is not there") << "nowhere/all.xlsx" << "：导出失败，文件或文件夹不存在";
}

void MainWindowExchangeTest::failedExportSaysWhy() {
  QFETCH(QString, target);
  QFETCH(QString, says);
  Opened o;
  const QString path = o.h.Dir.filePath(target);
  const QString open = o.h.Dir.filePath(QStringLiteral("grades.txt"));
  if (target.startsWith(QStringLiteral("link")))
    QVERIFY(QFile::link(open, path));
  else if (target.startsWith(QStringLiteral("other")))
    o.h.Write(target, FileBytes(ThreeCourses()));
  const std::string bytes = ReadFile(path);
  o.h.Script->ExportScopes.push_back(ExportScope::AllCourses);
  o.h.Script->SaveFiles.push_back(path);
  o.h.W->commands().exportGrades->trigger();
  if (says.contains(QStringLiteral("%1"))) says = says.arg(open);
  QCOMPARE(o.h.Script->Texts(Kind::Error), QStringList{path + says});
  QCOMPARE(o.h.Script->Texts(Kind::Information), QStringList());
  QCOMPARE(ReadFile(path), bytes);
}

QTEST_MAIN(MainWindowExchangeTest)
#include "test_mainwindow_exchange.moc"
