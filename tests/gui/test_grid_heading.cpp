// The heading as a grid's header looks, pixel for pixel, as the same titles
// did as a fixed first row of the grid: at the start, scrolled sideways, with
// the grid in focus, and with a column wider than its title.
#include <QApplication>
#include <QHeaderView>
#include <QImage>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QTableView>
#include <QTest>

#include "app/GridHeading.h"
#include "preview/DialogLook.h"
#include "printing/qt/Fonts.h"

namespace {

const QStringList kTitles = {QString(), QStringLiteral(" 学 号"), QStringLiteral(" 姓 名"),
                             QStringLiteral("平时成绩"), QStringLiteral(" 总成绩")};
const int kWidths[] = {32, 80, 64, 64, 64};
const int kRows = 6;

void SetUp(QTableView& grid, int widthScale) {
  grid.setFont(preview::FormFont());
  grid.verticalHeader()->hide();
  grid.verticalHeader()->setMinimumSectionSize(20);
  grid.verticalHeader()->setDefaultSectionSize(20);
  grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
  grid.setWordWrap(false);
  grid.setTextElideMode(Qt::ElideNone);
  for (int c = 0; c < kTitles.size(); ++c) grid.setColumnWidth(c, kWidths[c] * widthScale);
  grid.resize(300, 20 * (kRows + 1) + 24);
}

QString Cell(int row, int col) {
  return col == 0 ? QString::number(row) : QStringLiteral("%1-%2").arg(row).arg(col);
}

// The titles as row 0 of the grid, as the window had them.
void FillAsFirstRow(QStandardItemModel& model) {
  model.setRowCount(kRows + 1);
  model.setColumnCount(static_cast<int>(kTitles.size()));
  for (int c = 0; c < kTitles.size(); ++c) {
    auto* title = new QStandardItem(kTitles[c]);
    title->setFlags(Qt::NoItemFlags);
    title->setBackground(GridHeading::FixedFace());
    title->setForeground(Qt::black);
    model.setItem(0, c, title);
    for (int r = 1; r <= kRows; ++r) model.setItem(r, c, new QStandardItem(Cell(r, c)));
  }
}

void FillAsHeader(QStandardItemModel& model) {
  model.setRowCount(kRows);
  model.setColumnCount(static_cast<int>(kTitles.size()));
  model.setHorizontalHeaderLabels(kTitles);
  for (int r = 1; r <= kRows; ++r)
    for (int c = 0; c < kTitles.size(); ++c) model.setItem(r - 1, c, new QStandardItem(Cell(r, c)));
}

}  // namespace

class GridHeadingTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { InstallFontSubstitutes(); }
  void looksAsTheFirstRow_data();
  void looksAsTheFirstRow();
};

void GridHeadingTest::looksAsTheFirstRow_data() {
  QTest::addColumn<int>("widthScale");
  QTest::addColumn<int>("scrolled");
  QTest::addColumn<bool>("focused");
  QTest::newRow("atTheStart") << 1 << 0 << false;
  QTest::newRow("focused") << 1 << 0 << true;
  QTest::newRow("widerColumnsScrolledSideways") << 2 << 37 << false;
}

void GridHeadingTest::looksAsTheFirstRow() {
  QFETCH(int, widthScale);
  QFETCH(int, scrolled);
  QFETCH(bool, focused);
  QTableView asRow;
  QStandardItemModel rowModel;
  FillAsFirstRow(rowModel);
  asRow.setModel(&rowModel);
  asRow.horizontalHeader()->hide();
  SetUp(asRow, widthScale);
  QTableView asHeader;
  QStandardItemModel model;
  FillAsHeader(model);
  asHeader.setModel(&model);
  new GridHeading(&asHeader);
  SetUp(asHeader, widthScale);
  // Each grid is looked at while its window is the active one.
  auto look = [&](QTableView& grid) {
    // Unfocused, neither grid makes a cell current on its own.
    if (!focused) grid.setFocusPolicy(Qt::NoFocus);
    grid.show();
    grid.activateWindow();
    if (!QTest::qWaitForWindowExposed(&grid)) return QImage();
    grid.horizontalScrollBar()->setValue(scrolled);
    if (focused) {
      // The same student's cell current in both (the heading row is row 0 of one only).
      grid.setCurrentIndex(grid.model()->index(&grid == &asRow ? 2 : 1, 2));
      grid.setFocus();
    }
    QApplication::processEvents();
    const QImage image = grid.grab().toImage();
    grid.hide();
    return image;
  };
  const QImage row = look(asRow);
  const QImage header = look(asHeader);
  QCOMPARE(asHeader.horizontalHeader()->height(), 20);
  QCOMPARE(asHeader.horizontalScrollBar()->value(), asRow.horizontalScrollBar()->value());
  QCOMPARE(header.size(), row.size());
  if (header != row && qEnvironmentVariableIsSet("GS_SCREENSHOT_DIR")) {
    row.save(qEnvironmentVariable("GS_SCREENSHOT_DIR") + "/heading-row.png");
    header.save(qEnvironmentVariable("GS_SCREENSHOT_DIR") + "/heading-header.png");
  }
  QVERIFY2(header == row, "the heading as header differs from the heading as a row");
}

QTEST_MAIN(GridHeadingTest)
#include "test_grid_heading.moc"
