// The real dialog seam: the answers of its message boxes and how it reads a
// chosen font back. Each modal box is answered by a timer that finds it.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QFontInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <deque>
#include <functional>

#include "support/GradeFiles.h"

#include "app/QtDialogs.h"
#include "app/VersionsDialog.h"
#include "printing/qt/FontConvert.h"
#include "text/Gbk.h"
#include "printing/qt/Fonts.h"

class QtDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void questions_data();
  void questions();
  void discardQuestionKeepsByDefault();
  void informationAndError();
  void fontSpecRoundTrip();
  void saveDialog_data();
  void saveDialog();
  void saveDialogOfType();
  void versionChosen_data();
  void versionChosen();

 private:
  // Runs `act` on the message box once it is up; returns what it showed.
  void WhenBoxShows(std::function<void(QMessageBox&)> act);
};

void QtDialogsTest::initTestCase() {
  InstallFontSubstitutes();
  QVERIFY(InstallQtTranslations());
}

void QtDialogsTest::WhenBoxShows(std::function<void(QMessageBox&)> act) {
  auto* timer = new QTimer(this);
  timer->setInterval(10);
  connect(timer, &QTimer::timeout, this, [timer, act] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      timer->stop();
      timer->deleteLater();
      act(*box);
    }
  });
  timer->start();
}

void QtDialogsTest::questions_data() {
  QTest::addColumn<bool>("withCancel");
  QTest::addColumn<QString>("button");  // text of the button pressed; empty: Escape
  QTest::addColumn<int>("answer");
  QTest::newRow("yes/no: yes") << false << "是(&Y)" << int(Answer::Yes);
  QTest::newRow("yes/no: no") << false << "否(&N)" << int(Answer::No);
  QTest::newRow("yes/no: escape") << false << "" << int(Answer::No);
  QTest::newRow("yes/no/cancel: yes") << true << "是(&Y)" << int(Answer::Yes);
  QTest::newRow("yes/no/cancel: no") << true << "否(&N)" << int(Answer::No);
  QTest::newRow("yes/no/cancel: cancel") << true << "取消" << int(Answer::Cancel);
  QTest::newRow("yes/no/cancel: escape") << true << "" << int(Answer::Cancel);
}

void QtDialogsTest::questions() {
  QFETCH(bool, withCancel);
  QFETCH(QString, button);
  QFETCH(int, answer);
  QtDialogs dialogs;
  QString shownText;
  QStringList buttons;
  const QString shots = qEnvironmentVariable("GS_SCREENSHOT_DIR");
  WhenBoxShows([&](QMessageBox& box) {
    shownText = box.text();
    for (QAbstractButton* b : box.buttons()) buttons << b->text();
    if (!shots.isEmpty() && withCancel && button.isEmpty())
      box.grab().save(shots + "/question.png");
    if (button.isEmpty()) {
      QTest::keyClick(&box, Qt::Key_Escape);
      return;
    }
    for (QAbstractButton* b : box.buttons())
      if (b->text() == button) b->click();
  });
  const QString text = QStringLiteral("当前的成绩有所变动，存储吗?");
  const Answer got = withCancel ? dialogs.AskYesNoCancel(nullptr, text)
                                : dialogs.AskYesNo(nullptr, text);
  QCOMPARE(int(got), answer);
  QCOMPARE(shownText, text);
  QStringList expected = {"是(&Y)", "否(&N)"};
  if (withCancel) expected << "取消";
  buttons.sort();
  expected.sort();
  QCOMPARE(buttons, expected);
}

// Enter on the question before another program's version is overwritten
// keeps that version: 取消 is the default.
void QtDialogsTest::discardQuestionKeepsByDefault() {
  QtDialogs dialogs;
  QString defaultButton;
  WhenBoxShows([&](QMessageBox& box) {
    if (box.defaultButton() != nullptr) defaultButton = box.defaultButton()->text();
    QTest::keyClick(&box, Qt::Key_Return);
  });
  QCOMPARE(int(dialogs.AskToDiscard(nullptr, QStringLiteral("覆盖吗?"))), int(Answer::Cancel));
  QCOMPARE(defaultButton, QStringLiteral("取消"));
}

void QtDialogsTest::informationAndError() {
  QtDialogs dialogs;
  QString caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  WhenBoxShows([&](QMessageBox& box) {
    caption = box.windowTitle();
    icon = box.icon();
    box.buttons().first()->click();
  });
  dialogs.Information(nullptr, QStringLiteral("存储完毕！"));
  QCOMPARE(caption, QStringLiteral("提示"));
  QCOMPARE(icon, QMessageBox::Information);
  WhenBoxShows([&](QMessageBox& box) {
    caption = box.windowTitle();
    icon = box.icon();
    box.buttons().first()->click();
  });
  dialogs.Error(nullptr, QStringLiteral("x"));
  QCOMPARE(caption, QStringLiteral("错误"));
  QCOMPARE(icon, QMessageBox::Critical);
}

void QtDialogsTest::fontSpecRoundTrip() {
  FontSpec song;
  song.Name = Gbk("宋体");
  song.Size = 12;
  song.Charset = 134;
  // Accepting the face "宋体" resolves to keeps the stored name.
  QFont same = ToQFontPoints(song);
  same.setFamily(QFontInfo(ToQFontPoints(song)).family());
  same.setBold(true);
  FontSpec back = FromQFont(same, song);
  QCOMPARE(back.Name, Gbk("宋体"));
  QCOMPARE(back.Size, 12);
  QCOMPARE(back.Charset, std::uint8_t{134});
  QCOMPARE(back.Style, std::uint8_t{fsBold});
  // Another face is stored under its own name.
  QFont other(QStringLiteral("DejaVu Sans"));
  other.setPointSize(9);
  other.setItalic(true);
  other.setUnderline(true);
  back = FromQFont(other, song);
  QCOMPARE(back.Name, std::string("DejaVu Sans"));
  QCOMPARE(back.Size, 9);
  QCOMPARE(back.Style, std::uint8_t(fsItalic | fsUnderline));
}

void QtDialogsTest::saveDialog_data() {
  QTest::addColumn<QString>("name");      // the file chosen in the dialog
  QTest::addColumn<int>("replace");       // the answer to the dialog's own question; -1 none
  QTest::addColumn<bool>("chosen");       // SaveFileName returns the path
  QTest::newRow("a new file") << "new.txt" << -1 << true;
  QTest::newRow("an existing file, replaced") << "grades.txt" << int(QMessageBox::Yes) << true;
  QTest::newRow("an existing file, kept") << "grades.txt" << int(QMessageBox::No) << false;
  QTest::newRow("cancelled") << "" << -1 << false;
}

void QtDialogsTest::saveDialog() {
  QFETCH(QString, name);
  QFETCH(int, replace);
  QFETCH(bool, chosen);
  QTemporaryDir dir;
  const QString suggested = dir.filePath("grades.txt");
  QVERIFY(testfiles::WriteFile(suggested, "old"));
  const QString target = dir.filePath(name);

  // The steps a user takes, each run once its window is up.
  QString offered;
  QStringList types;
  QString question;
  const QString shots = qEnvironmentVariable("GS_SCREENSHOT_DIR");
  std::deque<std::function<bool(QWidget*)>> steps;
  steps.push_back([&](QWidget* active) {
    auto* dialog = qobject_cast<QFileDialog*>(active);
    if (dialog == nullptr || !dialog->isVisible()) return false;
    offered = dialog->selectedFiles().value(0);
    types = dialog->nameFilters();
    if (!shots.isEmpty() && replace == QMessageBox::Yes) dialog->grab().save(shots + "/save-as.png");
    if (name.isEmpty()) {
      dialog->reject();
      return true;
    }
    dialog->findChild<QLineEdit*>()->setText(name);
    QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
    return true;
  });
  if (replace >= 0) {
    steps.push_back([&](QWidget* active) {
      auto* box = qobject_cast<QMessageBox*>(active);
      if (box == nullptr) return false;
      question = box->text();
      if (!shots.isEmpty()) box->grab().save(shots + "/save-as-replace.png");
      box->button(QMessageBox::StandardButton(replace))->click();
      return true;
    });
  }
  if (replace == QMessageBox::No) {
    // Not replaced: the dialog is still up, and the user gives up.
    steps.push_back([&](QWidget* active) {
      auto* dialog = qobject_cast<QFileDialog*>(active);
      if (dialog == nullptr) return false;
      dialog->reject();
      return true;
    });
  }
  QTimer timer;
  timer.setInterval(10);
  connect(&timer, &QTimer::timeout, this, [&] {
    if (!steps.empty() && steps.front()(QApplication::activeModalWidget())) steps.pop_front();
  });
  timer.start();
  QtDialogs dialogs;
  const std::optional<QString> got = dialogs.SaveFileName(nullptr, suggested);
  timer.stop();

  QVERIFY(steps.empty());
  QCOMPARE(offered, suggested);
  QCOMPARE(types, QStringList({QStringLiteral("成绩文件 (*.txt *.TXT)"), QStringLiteral("所有文件 (*)")}));
  QCOMPARE(got.has_value(), chosen);
  if (chosen) QCOMPARE(*got, target);
  if (replace >= 0) {
    QVERIFY2(question.contains("grades.txt"), qPrintable(question));
    QVERIFY2(question.contains(QStringLiteral("替换")), qPrintable(question));  // in Chinese
  }
  QCOMPARE(testfiles::ReadFile(suggested), std::string("old"));  // the dialog writes nothing
}

// The export's save dialog: the name follows the file type chosen, and a
// name typed without a type gets the chosen one.
void QtDialogsTest::saveDialogOfType() {
  QTemporaryDir dir;
  const QString suggested = dir.filePath(QStringLiteral("高等数学.xlsx"));
  const QStringList filters = {QStringLiteral("Excel 工作簿 (*.xlsx)"), QStringLiteral("CSV 文件 (*.csv)")};
  QString offered, afterTypeChange;
  bool asksToReplace = true;
  QTimer timer;
  timer.setInterval(10);
  connect(&timer, &QTimer::timeout, this, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) return;
    timer.stop();
    offered = dialog->selectedFiles().value(0);
    asksToReplace = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
    auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
    types->setCurrentIndex(1);
    emit types->activated(1);  // as the user's choice does
    emit types->textActivated(types->itemText(1));
    afterTypeChange = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
    dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("全部"));
    QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
  });
  timer.start();
  QtDialogs dialogs;
  const std::optional<ChosenFile> got = dialogs.SaveFileOfType(nullptr, QStringLiteral("导出成绩"), suggested, filters);
  QCOMPARE(offered, suggested);
  QCOMPARE(afterTypeChange, QStringLiteral("高等数学.csv"));
  QVERIFY(got.has_value());
  QCOMPARE(got->Path, dir.filePath(QStringLiteral("全部.csv")));
  QCOMPARE(got->Filter, 1);
  // The export asks about replacing only after refusing a grade file.
  QVERIFY(!asksToReplace);
}

void QtDialogsTest::versionChosen_data() {
  QTest::addColumn<QString>("how");
  QTest::addColumn<int>("row");
  QTest::addColumn<int>("chosen");  // -1: none
  QTest::newRow("doubleClick") << "doubleClick" << 2 << 2;
  QTest::newRow("openButton") << "打开" << 1 << 1;
  QTest::newRow("cancelButton") << "取消" << 1 << -1;
}

void QtDialogsTest::versionChosen() {
  QFETCH(QString, how);
  QFETCH(int, row);
  QFETCH(int, chosen);
  const std::vector<VersionRow> rows{{QStringLiteral("2026-12-09 10:00"), 1200, 0},
                                     {QStringLiteral("2026-12-08 09:30"), 1100, 2},
                                     {QStringLiteral("2026-12-07 16:45"), 900, 5}};
  VersionsDialog dialog(rows);
  dialog.show();
  QVERIFY(QTest::qWaitForWindowExposed(&dialog));
  QTableView* table = dialog.Table();
  // The newest is offered first.
  QCOMPARE(table->currentIndex().row(), 0);
  QCOMPARE(table->model()->index(1, 2).data().toString(), QStringLiteral("2"));
  if (how == QLatin1String("doubleClick")) {
    // As a mouse sends it: a click, then the second press as the double click.
    const QPoint at = table->visualRect(table->model()->index(row, 0)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
  } else {
    table->selectRow(row);
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
      if (button->text() == how) button->click();
  }
  QCOMPARE(dialog.isVisible(), false);
  QCOMPARE(dialog.Chosen(), chosen < 0 ? std::nullopt : std::optional<int>(chosen));
}

QTEST_MAIN(QtDialogsTest)
#include "test_qtdialogs.moc"
