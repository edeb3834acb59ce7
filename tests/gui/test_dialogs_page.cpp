// The two page dialogs of the preview: 选页 and 设置页边界.
#include <QComboBox>
#include <QLabel>
#include <QPrintDialog>
#include <QPrinter>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "app/QtDialogs.h"
#include "preview/MarginsDialog.h"
#include "preview/ChoosePageDialog.h"
#include "printing/qt/Fonts.h"

namespace {
PageMetrics PrinterAt600(int left, int right, int top, int bottom) {
  PageMetrics m{};
  m[DevicePrinter].Dpi = 600;
  m[DevicePrinter].MarginLeft = left;
  m[DevicePrinter].MarginRight = right;
  m[DevicePrinter].MarginTop = top;
  m[DevicePrinter].MarginBottom = bottom;
  m[DeviceScreen].Dpi = 96;
  return m;
}

// The widget the Tab key moves to from `w`.
QWidget* NextTabStop(QWidget* w) {
  QWidget* next = w->nextInFocusChain();
  while (next != w && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
  return next;
}
}  // namespace

class PageDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { InstallFontSubstitutes(); }

  void choosePageForm() {
    ChoosePageDialog dlg;
    QCOMPARE(dlg.windowTitle(), QString("选页"));
    QCOMPARE(dlg.size(), QSize(274, 115));
    QCOMPARE(dlg.pageCountLabel->text(), QString("总页数:"));
    QCOMPARE(dlg.pageLabel->text(), QString("当前页:"));
    QCOMPARE(dlg.okButton->text(), QString("确定(&O)"));
    QCOMPARE(dlg.cancelButton->text(), QString("取消(&C)"));
    QVERIFY(dlg.okButton->isDefault());
    QVERIFY(!dlg.pageCountEdit->isEnabled());
    QVERIFY(!dlg.pageBox->isEditable());
    QCOMPARE(dlg.font().pixelSize(), 13);
  }

  void choosePageFill() {
    ChoosePageDialog dlg;
    dlg.fillPages(12, 5);
    QCOMPARE(dlg.pageCountEdit->text(), QString("12"));
    QCOMPARE(dlg.pageBox->count(), 12);
    for (int i = 0; i < 12; ++i) QCOMPARE(dlg.pageBox->itemText(i), QString::number(i + 1));
    QCOMPARE(dlg.pageBox->currentText(), QString("5"));
    QCOMPARE(dlg.SelectedPage(), 5);
  }

  void choosePageOkAndCancel_data() {
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("result");
    QTest::newRow("9 and OK") << true << int(QDialog::Accepted);
    QTest::newRow("9 and Cancel") << false << int(QDialog::Rejected);
  }
  void choosePageOkAndCancel() {
    QFETCH(bool, ok);
    QFETCH(int, result);
    ChoosePageDialog dlg;
    dlg.fillPages(12, 5);
    dlg.show();
    dlg.pageBox->setCurrentIndex(8);
    QTest::mouseClick(ok ? dlg.okButton : dlg.cancelButton, Qt::LeftButton);
    QCOMPARE(dlg.result(), result);
    QCOMPARE(dlg.SelectedPage(), 9);
  }

  void marginForm() {
    PageMetrics m = PrinterAt600(197, 0, 394, 0);
    MarginsDialog dlg(m);
    QCOMPARE(dlg.windowTitle(), QString("设置页边界"));
    QCOMPARE(dlg.size(), QSize(315, 174));
    QCOMPARE(dlg.leftLabel->text(), QString("页左边空白(毫米):"));
    QCOMPARE(dlg.rightLabel->text(), QString("页右边空白(毫米):"));
    QCOMPARE(dlg.topLabel->text(), QString("页顶部空白(毫米):"));
    QCOMPARE(dlg.bottomLabel->text(), QString("页底部空白(毫米):"));
    QCOMPARE(dlg.okButton->text(), QString("确定(&O)"));
    QCOMPARE(dlg.cancelButton->text(), QString("取消(&C)"));
    QCOMPARE(dlg.leftEdit->text(), QString("8"));
    QCOMPARE(dlg.rightEdit->text(), QString("0"));
    QCOMPARE(dlg.topEdit->text(), QString("17"));
    QCOMPARE(dlg.bottomEdit->text(), QString("0"));
    // Tab order: left, right, top, bottom.
    QCOMPARE(NextTabStop(dlg.leftEdit), static_cast<QWidget*>(dlg.rightEdit));
    QCOMPARE(NextTabStop(dlg.rightEdit), static_cast<QWidget*>(dlg.topEdit));
    QCOMPARE(NextTabStop(dlg.topEdit), static_cast<QWidget*>(dlg.bottomEdit));
  }

  void marginOk_data() {
    QTest::addColumn<QStringList>("typed");  // left, right, top, bottom
    QTest::addColumn<QList<int>>("pixels");
    QTest::newRow("whole numbers") << QStringList{"20", "0", "17", "10"}
                                   << QList<int>{472, 0, 402, 236};
    QTest::newRow("decimals and signs") << QStringList{"12.5", "-5", "-5mm", " 8 "}
                                        << QList<int>{283, -118, 118, 189};
    QTest::newRow("letters and empty") << QStringList{"abc", "", "mm", "x5"}
                                       << QList<int>{0, 0, 0, 0};
  }
  void marginOk() {
    QFETCH(QStringList, typed);
    QFETCH(QList<int>, pixels);
    PageMetrics m = PrinterAt600(197, 0, 394, 0);
    MarginsDialog dlg(m);
    dlg.show();
    QLineEdit* edits[] = {dlg.leftEdit, dlg.rightEdit, dlg.topEdit, dlg.bottomEdit};
    for (int i = 0; i < 4; ++i) {
      edits[i]->selectAll();
      QTest::keyClicks(edits[i], typed[i]);
      if (typed[i].isEmpty()) edits[i]->clear();
    }
    QTest::mouseClick(dlg.okButton, Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Accepted));
    const TDeviceMetrics& p = m[DevicePrinter];
    QCOMPARE((QList<int>{p.MarginLeft, p.MarginRight, p.MarginTop, p.MarginBottom}), pixels);
    QCOMPARE(p.Dpi, 600);
  }

  void marginCancelKeepsAllFour() {
    PageMetrics m = PrinterAt600(197, 11, 394, 22);
    const PageMetrics before = m;
    MarginsDialog dlg(m);
    dlg.show();
    for (QLineEdit* e : {dlg.leftEdit, dlg.rightEdit, dlg.topEdit, dlg.bottomEdit}) e->setText("99");
    QTest::mouseClick(dlg.cancelButton, Qt::LeftButton);
    QCOMPARE(dlg.result(), int(QDialog::Rejected));
    QVERIFY(m == before);
  }

  // The real dialog seam shows these forms modally and reads their answer.
  void realSeamChoosePage_data() {
    QTest::addColumn<bool>("ok");
    QTest::addColumn<std::optional<int>>("page");
    QTest::newRow("OK") << true << std::optional<int>(9);
    QTest::newRow("Cancel") << false << std::optional<int>();
  }
  void realSeamChoosePage() {
    QFETCH(bool, ok);
    QFETCH(std::optional<int>, page);
    QtDialogs seam;
    bool seen = false;
    QTimer::singleShot(0, [&] {
      auto* dlg = qobject_cast<ChoosePageDialog*>(QApplication::activeModalWidget());
      if (dlg == nullptr) return;
      seen = dlg->pageBox->currentText() == "5" && dlg->pageCountEdit->text() == "12";
      dlg->pageBox->setCurrentIndex(8);
      (ok ? dlg->okButton : dlg->cancelButton)->click();
    });
    QCOMPARE(seam.ChoosePage(nullptr, 12, 5), page);
    QVERIFY(seen);
  }

  void realSeamMargins_data() {
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("left");
    QTest::newRow("OK") << true << 472;
    QTest::newRow("Cancel") << false << 197;
  }
  void realSeamMargins() {
    QFETCH(bool, ok);
    QFETCH(int, left);
    QtDialogs seam;
    PageMetrics m = PrinterAt600(197, 0, 394, 0);
    QTimer::singleShot(0, [&] {
      auto* dlg = qobject_cast<MarginsDialog*>(QApplication::activeModalWidget());
      if (dlg == nullptr) return;
      dlg->leftEdit->setText("20");
      (ok ? dlg->okButton : dlg->cancelButton)->click();
    });
    QCOMPARE(seam.PageMargins(nullptr, m), ok);
    QCOMPARE(m[DevicePrinter].MarginLeft, left);
    // OK stores every box: the top margin comes back as whole millimetres (17 mm).
    QCOMPARE(m[DevicePrinter].MarginTop, ok ? 402 : 394);
  }

  // Without a printer the print dialog must still offer a way to print: the
  // PDF file, named in the dialog.
  void realPrintDialogOffersPdfFile() {
    QtDialogs seam;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    QTemporaryDir dir;
    const QString file = dir.filePath("sheet.pdf");
    printer.setOutputFileName(file);
    QStringList offered;
    QTimer::singleShot(0, [&] {
      auto* dlg = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget());
      if (dlg == nullptr) return;
      for (QComboBox* box : dlg->findChildren<QComboBox*>(QStringLiteral("printers")))
        for (int i = 0; i < box->count(); ++i) offered << box->itemText(i);
      dlg->accept();
    });
    const std::optional<PrintChoice> choice = seam.Print(nullptr, printer, 1, 8);
    QVERIFY2(offered.size() == 1 && offered.first().contains("PDF"), qPrintable(offered.join("|")));
    QVERIFY(choice.has_value());
    QCOMPARE(choice->Kind, PrintChoice::AllPages);
    QCOMPARE(printer.outputFileName(), file);
  }
};

int main(int argc, char** argv) {
  // The machine without a printer (no print server to ask).
  qputenv("CUPS_SERVER", "/nonexistent/gradesheet-test/cups.sock");
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  PageDialogsTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "test_dialogs_page.moc"
