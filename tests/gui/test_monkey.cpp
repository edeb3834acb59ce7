// A seeded monkey: thousands of random keys, clicks and menu commands on the
// main window, every dialog answered at random from the same seed. However
// the teacher fumbles, the program stays up, and every grade file it wrote
// still holds each record of the file it came from exactly once, in order,
// with the student's key, number, name and class bytes as they were, and
// every header line but the weighting ("t9") lines unchanged.
//
// GS_MONKEY_SEED repeats a run, GS_MONKEY_STEPS sets its length.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <map>
#include <random>

#include "app/EditingGrids.h"
#include "app/MainWindow.h"
#include "exchange/ImportSession.h"
#include "gradefile/GradeBook.h"
#include "preview/PageWidget.h"
#include "printing/PreviewRules.h"
#include "printing/qt/QtText.h"
#include "support/GradeFiles.h"
#include "support/SheetFiles.h"
#include "text/Gbk.h"

using namespace testfiles;

namespace {

using Rng = std::mt19937_64;

int Pick(Rng& rng, int from, int to) { return std::uniform_int_distribution<int>(from, to)(rng); }
bool Chance(Rng& rng, double p) { return std::bernoulli_distribution(p)(rng); }

// The places the dialogs may name.
struct Places {
  QString Dir;
  QStringList GradeFiles;  // files that hold grades (the originals and the copies saved)
  QString NotGradeFile;
  QString Folder;          // a folder where a file is expected
  QString Missing;         // in a folder that does not exist
  QString Scores;          // a CSV file of scores to import
  int Copies = 0;
};

// Every dialog answered at random. Messages are kept to check at the end.
class MonkeyDialogs : public DialogSeam {
 public:
  MonkeyDialogs(Rng& rng, Places& places) : rng_(rng), places_(places) {}

  QStringList Errors;
  int Messages = 0;
  bool InFinalSave = false;  // then every question is answered to save

  std::optional<QString> OpenFileName(QWidget*) override {
    switch (Pick(rng_, 0, 9)) {
      case 0: return std::nullopt;
      case 1: return places_.NotGradeFile;
      case 2: return places_.Folder;
      case 3: return places_.Missing;
      default: return places_.GradeFiles[Pick(rng_, 0, int(places_.GradeFiles.size()) - 1)];
    }
  }
  std::optional<QString> SaveFileName(QWidget*, const QString& suggested) override {
    switch (Pick(rng_, 0, 7)) {
      case 0: return std::nullopt;
      case 1: return suggested;
      case 2: return places_.Missing;
      case 3: return places_.Folder;
      case 4: return places_.GradeFiles[Pick(rng_, 0, int(places_.GradeFiles.size()) - 1)];
      default: return places_.Dir + QStringLiteral("/副本%1.txt").arg(++places_.Copies);
    }
  }
  void Information(QWidget*, const QString&) override { ++Messages; }
  void Error(QWidget*, const QString& text) override {
    ++Messages;
    Errors << text;
  }
  Answer AskYesNo(QWidget*, const QString&) override {
    ++Messages;
    if (InFinalSave) return Answer::Yes;
    return Chance(rng_, 0.5) ? Answer::Yes : Answer::No;
  }
  // Only closing asks this; the monkey's window must stay.
  Answer AskYesNoCancel(QWidget*, const QString&) override {
    ++Messages;
    return Answer::Cancel;
  }
  std::optional<FontSpec> ChooseFont(QWidget*, const FontSpec& current) override {
    if (Chance(rng_, 0.3)) return std::nullopt;
    FontSpec font = current;
    font.Size = Chance(rng_, 0.1) ? Pick(rng_, 1, 96) : Pick(rng_, 6, 18);
    font.Style = static_cast<std::uint8_t>(Pick(rng_, 0, 15));
    if (Chance(rng_, 0.2)) font.Name = Gbk(Chance(rng_, 0.5) ? "黑体" : "No Such Font");
    return font;
  }
  bool PrinterSetup(QWidget*, QPrinter& printer) override {
    if (Chance(rng_, 0.3)) return false;
    const QPageSize::PageSizeId sizes[] = {QPageSize::A4, QPageSize::A3, QPageSize::B5,
                                           QPageSize::Letter, QPageSize::A5};
    printer.setPageSize(QPageSize(sizes[Pick(rng_, 0, 4)]));
    printer.setPageOrientation(Chance(rng_, 0.5) ? QPageLayout::Portrait
                                                 : QPageLayout::Landscape);
    return true;
  }
  std::optional<PrintChoice> Print(QWidget*, QPrinter& printer, int minPage,
                                   int maxPage) override {
    if (Chance(rng_, 0.2)) return std::nullopt;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(Chance(rng_, 0.2) ? places_.Missing + ".pdf"
                                                : places_.Dir + "/sheet.pdf");
    PrintChoice choice;
    choice.Kind = PrintChoice::Range(Pick(rng_, 0, 2));
    // Mostly a short range: a monkey prints often, paper is cheap here.
    choice.FromPage = Pick(rng_, minPage - 1, std::min(maxPage + 1, minPage + 3));
    choice.ToPage = choice.FromPage + Pick(rng_, -1, 2);
    if (choice.Kind == PrintChoice::AllPages && maxPage > 6) choice.Kind = PrintChoice::Selection;
    return choice;
  }
  std::optional<SheetCoursesChoice> ChooseSheetCourses(QWidget*, const SheetCoursesOffer& offer) override {
    if (Chance(rng_, 0.2)) return std::nullopt;
    SheetCoursesChoice choice;
    const int pick = Pick(rng_, -1, static_cast<int>(offer.Keys.size()) - 1);
    if (pick >= 0 && offer.ShownCourse >= 0 && Chance(rng_, 0.5))
      choice.Courses = CourseChoice::Shown(offer.Keys[static_cast<std::size_t>(offer.ShownCourse)]);
    else if (pick >= 0)
      choice.Courses = CourseChoice::Chosen({offer.Keys[static_cast<std::size_t>(pick)]});
    // A short range, as for printing: a monkey writes PDFs often.
    choice.Pages.Kind = Chance(rng_, 0.5) ? PrintChoice::PageRange : PrintChoice::AllPages;
    choice.Pages.FromPage = Pick(rng_, 0, 3);
    choice.Pages.ToPage = choice.Pages.FromPage + Pick(rng_, -1, 2);
    return choice;
  }
  std::optional<int> ChoosePage(QWidget*, int pageCount, int) override {
    if (Chance(rng_, 0.2)) return std::nullopt;
    return Pick(rng_, -1, pageCount + 2);
  }
  std::optional<QString> OpenFileOfType(QWidget*, const QString&, const QStringList&) override {
    switch (Pick(rng_, 0, 6)) {
      case 0: return std::nullopt;
      case 1: return places_.NotGradeFile;
      case 2: return places_.Folder;
      case 3: return places_.Missing;
      default: return places_.Scores;
    }
  }
  std::optional<ChosenFile> SaveFileOfType(QWidget*, const QString&, const QString& suggested,
                                           const QStringList& filters) override {
    const int filter = Pick(rng_, 0, int(filters.size()) - 1);
    switch (Pick(rng_, 0, 6)) {
      case 0: return std::nullopt;
      case 1: return ChosenFile{suggested, filter};
      case 2: return ChosenFile{places_.Missing + ".xlsx", filter};
      case 3: return ChosenFile{places_.GradeFiles[Pick(rng_, 0, int(places_.GradeFiles.size()) - 1)], filter};
      default: return ChosenFile{places_.Dir + QStringLiteral("/导出%1").arg(Pick(rng_, 0, 3)), filter};
    }
  }
  std::optional<exchange::ScoreColumns> ImportPreview(QWidget*, const ImportOffer& offer) override {
    if (Chance(rng_, 0.3)) return std::nullopt;
    exchange::ImportSession& session = *offer.Session;
    const int columns = int(session.ColumnNames().size());
    if (Chance(rng_, 0.3))
      session.Choose({std::size_t(Pick(rng_, 0, columns)), std::size_t(Pick(rng_, 0, columns))});
    return session.Columns();
  }
  std::optional<ExportScope> ChooseExportScope(QWidget*, const QString&, int) override {
    if (Chance(rng_, 0.2)) return std::nullopt;
    return Chance(rng_, 0.5) ? ExportScope::ShownCourse : ExportScope::AllCourses;
  }
  bool PageMargins(QWidget*, PageMetrics& metrics) override {
    if (Chance(rng_, 0.3)) return false;
    TDeviceMetrics& printer = metrics[DevicePrinter];
    auto margin = [&] {
      const int mm = Chance(rng_, 0.1) ? Pick(rng_, -50, 5000) : Pick(rng_, 0, 40);
      return preview::MarginMmToPixels(mm, printer.Dpi);
    };
    printer.MarginLeft = margin();
    printer.MarginRight = margin();
    printer.MarginTop = margin();
    printer.MarginBottom = margin();
    return true;
  }
  FindingsChoice ReviewFindings(QWidget*, FindingsPurpose, const std::vector<FindingRow>& rows) override {
    if (InFinalSave || Chance(rng_, 0.5)) return {FindingsChoice::GoOn, -1};
    if (rows.empty() || Chance(rng_, 0.5)) return {FindingsChoice::Back, -1};
    return {FindingsChoice::GoTo, Pick(rng_, 0, int(rows.size()) - 1)};
  }
  int Choose(QWidget*, const QString&, const QStringList& buttons, int) override {
    return Pick(rng_, -1, int(buttons.size()) - 1);
  }
  std::optional<int> ChooseVersion(QWidget*, const std::vector<VersionRow>& rows) override {
    if (rows.empty() || Chance(rng_, 0.5)) return std::nullopt;
    return Pick(rng_, 0, int(rows.size()) - 1);
  }

 private:
  Rng& rng_;
  Places& places_;
};

// Typing as a teacher does: ASCII on the keys, Chinese (and whatever else)
// through the input method, which hands over whole words.
void Type(QWidget* widget, const QString& text) {
  bool ascii = true;
  for (QChar c : text) ascii = ascii && c.unicode() < 128;
  if (ascii) {
    QTest::keyClicks(widget, text);
    return;
  }
  QInputMethodEvent event;
  event.setCommitString(text);
  QApplication::sendEvent(widget, &event);
}

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) end = bytes.size();
    lines.push_back(bytes.substr(start, end - start));
    start = end + 2;
  }
  return lines;
}

bool IsRecord(const std::string& line) { return line.size() >= 7 && line.compare(5, 2, "cj") == 0; }
bool IsShare(const std::string& line) { return line.size() >= 7 && line.compare(5, 2, "t9") == 0; }

// Key, "cj", number, name and class: the first 33 bytes, as an edit keeps them.
std::string Identity(const std::string& record) {
  std::string id = record.substr(0, 33);
  id.resize(33, ' ');
  return id;
}

// Empty when `saved` keeps what it must of `original`; else what is wrong.
QString Compare(const std::string& original, const std::string& saved) {
  const std::vector<std::string> was = SplitLines(original);
  const std::vector<std::string> now = SplitLines(saved);
  if (now.empty() || now[0] != was[0]) return "the magic line changed";
  std::vector<std::string> wasHead, nowHead, wasRecords, nowRecords;
  for (std::size_t i = 1; i < was.size(); ++i)
    (IsRecord(was[i]) ? wasRecords : wasHead).push_back(was[i]);
  for (std::size_t i = 1; i < now.size(); ++i)
    (IsRecord(now[i]) ? nowRecords : nowHead).push_back(now[i]);
  std::erase_if(wasHead, IsShare);
  std::erase_if(nowHead, IsShare);
  if (wasHead != nowHead)
    return QString("header lines differ (%1 then, %2 now)").arg(wasHead.size()).arg(nowHead.size());
  if (wasRecords.size() != nowRecords.size())
    return QString("%1 records then, %2 now").arg(wasRecords.size()).arg(nowRecords.size());
  for (std::size_t i = 0; i < wasRecords.size(); ++i) {
    // A whole record stays whole (a short one may grow by the grades written).
    if (wasRecords[i].size() >= 57 && nowRecords[i].size() != wasRecords[i].size())
      return QString("record %1 has %2 bytes").arg(i + 1).arg(nowRecords[i].size());
    if (Identity(nowRecords[i]) != Identity(wasRecords[i]))
      return QString("record %1 is another student: %2")
          .arg(i + 1)
          .arg(GbkToQString(nowRecords[i]));
  }
  return {};
}

// A file with the shapes a real export has and a few it should not have: an
// empty line among the header lines, a course without "t9", short records.
std::string OddFile() {
  std::vector<std::string> lines = ThreeCourses();
  lines.insert(lines.begin() + 2, "");
  lines.push_back("k0003cj2022000009");
  lines.push_back(Record("k0003", "2022000010", "吴七", "体育01", "及格", "缺考", "作弊").substr(0, 40));
  return FileBytes(lines);
}

}  // namespace

class MonkeyTest : public QObject {
  Q_OBJECT

 private slots:
  void randomUseKeepsEveryRecord();
};

void MonkeyTest::randomUseKeepsEveryRecord() {
  const QByteArray seedText = qgetenv("GS_MONKEY_SEED");
  const std::uint64_t seed =
      seedText.isEmpty() ? std::random_device{}() : seedText.toULongLong();
  const int steps = qEnvironmentVariableIsSet("GS_MONKEY_STEPS")
                        ? qEnvironmentVariableIntValue("GS_MONKEY_STEPS")
                        : 8000;
  qInfo("monkey seed %llu (repeat with GS_MONKEY_SEED=%llu), %d steps",
        static_cast<unsigned long long>(seed), static_cast<unsigned long long>(seed), steps);
  const QString where = QStringLiteral("seed %1: ").arg(seed);
  Rng rng(seed);

  QTemporaryDir dir;
  Places places;
  places.Dir = dir.path();
  places.NotGradeFile = dir.filePath("notes.txt");
  places.Folder = dir.filePath("folder");
  places.Missing = dir.filePath("missing-folder/grades.txt");
  QVERIFY(WriteFile(places.NotGradeFile, "hello\r\n"));
  places.Scores = dir.filePath("scores.csv");
  QVERIFY(WriteFile(places.Scores, "学号,姓名,平时成绩,考试成绩,卷面\n2022000001,王小明,95,88,77\n"
                                   "2022000002,李华,良,缺考,\n2022000004,钱五,abc,100,1\n"));
  QVERIFY(QDir(dir.path()).mkdir("folder"));
  // Which original each grade file goes back to.
  std::map<QString, std::string> origin;
  const QString odd = dir.filePath("odd.txt");
  QVERIFY(WriteFile(odd, OddFile()));
  const QString sheet = dir.filePath("sheet.txt");
  QVERIFY(WriteSheetFile(sheet, UniformCourses(3, 50)));
  for (const QString& path : {odd, sheet}) {
    places.GradeFiles << path;
    origin[path] = ReadFile(path);
  }

  auto dialogs = std::make_unique<MonkeyDialogs>(rng, places);
  MonkeyDialogs& seam = *dialogs;
  MainWindow w(std::move(dialogs), dir.path());
  w.show();
  w.activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(&w));

  const std::vector<QAction*> commands = {w.commands().open, w.commands().save, w.commands().saveAs, w.commands().showEditing, w.commands().showSheet, w.commands().showSheetByClass, w.commands().previousPage, w.commands().nextPage,
                                          w.commands().firstPage, w.commands().lastPage, w.commands().choosePage, w.commands().zoomIn, w.commands().zoomOut, w.commands().print, w.commands().printerSetup, w.commands().bodyFont,
                                          w.commands().titleFont, w.commands().margins, w.commands().importScores, w.commands().exportGrades};
  const QStringList words = {"优", "良", "中", "及格", "不及格", "合格", "不合格", "通过",
                             "不通过", "A", "b", "缺考", "缓考", "旷考", "作弊", "１２",
                             "85.5", "-3", "100", "1e9", "😀", "é", "   "};
  const int keys[] = {Qt::Key_Tab,  Qt::Key_Backtab, Qt::Key_Return,    Qt::Key_Enter,
                      Qt::Key_Up,   Qt::Key_Down,    Qt::Key_Left,      Qt::Key_Right,
                      Qt::Key_Escape, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Home,
                      Qt::Key_End,  Qt::Key_PageDown};

  auto focused = [&]() -> QWidget* {
    QWidget* f = QApplication::focusWidget();
    return f != nullptr && f->window() == &w ? f : static_cast<QWidget*>(&w);
  };
  // A click on a cell of a grid's model (the heading is the header, not a row).
  auto clickCell = [&](QTableView* grid, int row, int col) {
    const QModelIndex item = grid->model()->index(row, col);
    if (!item.isValid() || !grid->isVisible()) return;
    grid->scrollTo(item);
    const QRect cell = grid->visualRect(item);
    if (!grid->viewport()->rect().contains(cell.center())) return;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
  };
  auto checkBook = [&](int step) {
    if (w.document().FileName().empty()) return;
    const QString path = QFile::decodeName(QByteArray::fromStdString(w.document().FileName()));
    const auto found = origin.find(path);
    QVERIFY2(found != origin.end(), qPrintable(where + "an unknown file is open: " + path));
    const QString wrong = Compare(found->second, w.document().Book().Serialize());
    QVERIFY2(wrong.isEmpty(),
             qPrintable(where + QString("after step %1, the open book: ").arg(step) + wrong));
  };

  for (int step = 1; step <= steps; ++step) {
    const std::string before = w.document().FileName();
    const int action = Pick(rng, 0, 99);
    // In the preview, a teacher who wants to type goes back to the grades.
    if (action < 80 && w.views()->currentWidget() == w.sheetPreview().pageArea() && Chance(rng, 0.3)) {
      w.commands().showEditing->trigger();
    } else if (action < 30) {  // a grade word or number typed where the focus is
      Type(focused(), words[Pick(rng, 0, int(words.size()) - 1)]);
    } else if (action < 45) {
      QTest::keyClick(focused(), Qt::Key(keys[Pick(rng, 0, int(std::size(keys)) - 1)]));
    } else if (action < 55) {
      QTest::keyClick(focused(), char('0' + Pick(rng, 0, 9)));
    } else if (action < 70) {  // a click on a student's cell
      clickCell(w.studentGrid(), Pick(rng, 0, w.studentGrid()->model()->rowCount() - 1), Pick(rng, 0, 6));
    } else if (action < 75) {  // a click on a course
      clickCell(w.courseList(), Pick(rng, 0, w.courseList()->model()->rowCount() - 1), 0);
    } else if (action < 80) {  // into the share field, and something typed
      if (w.shareEdit()->isVisible()) {
        QTest::mouseClick(w.shareEdit(), Qt::LeftButton);
        QTest::keyClick(w.shareEdit(), Qt::Key_A, Qt::ControlModifier);
        Type(w.shareEdit(), Chance(rng, 0.7) ? QString::number(Pick(rng, -10, 120))
                                         : words[Pick(rng, 0, int(words.size()) - 1)]);
      }
    } else if (action < 83) {  // the page buttons of the tool bar
      const Commands& c = w.commands();
      QToolButton* button = c.ButtonOf(std::vector<QAction*>{c.previousPage, c.nextPage, c.choosePage, c.zoomIn, c.zoomOut,
          c.scrollToTop, c.scrollToBottom, c.scrollToLeft, c.scrollToRight, c.scrollToTopLeft, c.scrollToBottomRight}[Pick(rng, 0, 10)]);
      if (button->isVisible()) QTest::mouseClick(button, Qt::LeftButton);
    } else if (action < 84) {  // closing with unsaved grades, and cancelling
      if (w.Modified() && !w.document().FileName().empty()) {
        QVERIFY2(!w.close(), qPrintable(where + "closed although cancelled"));
        QVERIFY2(w.Modified() && w.isVisible(), qPrintable(where + "grades gone on a cancelled close"));
      }
    } else {
      QAction* command = commands[std::size_t(Pick(rng, 0, int(commands.size()) - 1))];
      if (command == w.commands().print && !Chance(rng, 0.3)) continue;  // printing is the slow one
      command->trigger();
      // Saved under another name: that file now goes back to the same original.
      if (command == w.commands().saveAs && w.document().FileName() != before) {
        const QString now = QFile::decodeName(QByteArray::fromStdString(w.document().FileName()));
        origin[now] = origin[QFile::decodeName(QByteArray::fromStdString(before))];
        if (!places.GradeFiles.contains(now)) places.GradeFiles << now;
      }
    }
    if (step % 100 == 0) checkBook(step);
    if (QTest::currentTestFailed()) return;
  }

  // The last grades saved, answering every question to save.
  QVERIFY2(w.isVisible(), qPrintable(where + "the window is gone"));
  seam.InFinalSave = true;
  if (!w.document().FileName().empty()) {
    const int errors = seam.Errors.size();
    w.save();
    QCOMPARE(seam.Errors.size(), errors);
    QVERIFY2(!w.Modified(), qPrintable(where + "the last save did not happen"));
  }
  for (const auto& [path, original] : origin) {
    const std::string bytes = ReadFile(path);
    const QString wrong = Compare(original, bytes);
    QVERIFY2(wrong.isEmpty(), qPrintable(where + path + ": " + wrong));
  }
  // The only failures are those of the places that cannot be written or read,
  // and the exports refused over a grade file.
  for (const QString& error : seam.Errors)
    QVERIFY2(error.contains("missing-folder") || error.contains(places.Folder) ||
                 error.contains("不能用输出覆盖") || error.contains("输出文件就是输入文件"),
             qPrintable(where + "unexpected error: " + error));
  qInfo("%d messages, %d of them errors, %d files saved under another name", seam.Messages,
        int(seam.Errors.size()), places.Copies);
}

QTEST_MAIN(MonkeyTest)
#include "test_monkey.moc"
