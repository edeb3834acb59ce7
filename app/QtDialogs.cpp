#include "app/QtDialogs.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QFontInfo>
#include <QFormLayout>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QHBoxLayout>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QVBoxLayout>
#include <algorithm>

#include "app/ExportScopeDialog.h"
#include "app/SheetCoursesDialog.h"
#include "app/ImportDialog.h"
#include "app/WindowTexts.h"
#include "app/FindingsDialog.h"
#include "app/VersionsDialog.h"
#include "printing/qt/FontConvert.h"
#include "preview/MarginsDialog.h"
#include "preview/ChoosePageDialog.h"

namespace {

Answer Ask(QWidget* parent, const QString& text, bool withCancel, bool cancelByDefault = false) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("确认"), text, QMessageBox::NoButton,
                  parent);
  QPushButton* yes = box.addButton(QStringLiteral("是(&Y)"), QMessageBox::YesRole);
  QPushButton* no = box.addButton(QStringLiteral("否(&N)"), QMessageBox::NoRole);
  QPushButton* cancel = nullptr;
  if (withCancel) {
    cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
    box.setEscapeButton(cancel);
  } else {
    box.setEscapeButton(no);
  }
  box.setDefaultButton(cancelByDefault && cancel != nullptr ? cancel : yes);
  box.exec();
  if (box.clickedButton() == yes) return Answer::Yes;
  if (box.clickedButton() == no) return Answer::No;
  return withCancel ? Answer::Cancel : Answer::No;
}

void Tell(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text) {
  QMessageBox box(icon, caption, text, QMessageBox::NoButton, parent);
  box.addButton(QStringLiteral("确定"), QMessageBox::AcceptRole);
  box.exec();
}

}  // namespace

bool InstallQtTranslations() {
  static QTranslator* installed = nullptr;
  if (installed != nullptr) return true;
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  installed = translator;
  // Dates, sizes and file types in the file dialog follow the locale, not
  // the translation: Chinese like the rest, whatever the system is set to.
  QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
  return true;
}

std::optional<QString> QtDialogs::OpenFileName(QWidget* parent) {
  const QString path = QFileDialog::getOpenFileName(parent);
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<QString> QtDialogs::OpenGradeFile(QWidget* parent, const QString& folder) {
  const QString path =
      QFileDialog::getOpenFileName(parent, QString(), folder, WindowTexts::OpenFilters());
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<QString> QtDialogs::SaveFileName(QWidget* parent, const QString& suggested) {
  const QString path =
      QFileDialog::getSaveFileName(parent, QStringLiteral("另存为"), suggested, WindowTexts::OpenFilters());
  if (path.isEmpty()) return std::nullopt;
  return path;
}

void QtDialogs::Information(QWidget* parent, const QString& text) {
  Tell(parent, QMessageBox::Information, QStringLiteral("提示"), text);
}

void QtDialogs::Error(QWidget* parent, const QString& text) {
  Tell(parent, QMessageBox::Critical, QStringLiteral("错误"), text);
}

Answer QtDialogs::AskYesNo(QWidget* parent, const QString& text) {
  return Ask(parent, text, false);
}

Answer QtDialogs::AskYesNoCancel(QWidget* parent, const QString& text) {
  return Ask(parent, text, true);
}

Answer QtDialogs::AskToDiscard(QWidget* parent, const QString& text) {
  return Ask(parent, text, true, true);
}

std::optional<FontSpec> QtDialogs::ChooseFont(QWidget* parent, const FontSpec& current) {
  bool ok = false;
  const QFont chosen = QFontDialog::getFont(&ok, ToQFontPoints(current), parent,
                                            QStringLiteral("字体"));
  if (!ok) return std::nullopt;
  return FromQFont(chosen, current);
}

// Printer, paper and orientation, as the printer set-up of the system offers them.
bool QtDialogs::PrinterSetup(QWidget* parent, QPrinter& printer) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("打印机设置"));
  auto* form = new QFormLayout;

  auto* printers = new QComboBox(&dialog);
  const QStringList names = QPrinterInfo::availablePrinterNames();
  printers->addItems(names);
  const QString pdfEntry = QStringLiteral("PDF 文件");
  printers->addItem(pdfEntry);
  if (printer.outputFormat() == QPrinter::PdfFormat || !names.contains(printer.printerName()))
    printers->setCurrentText(pdfEntry);
  else
    printers->setCurrentText(printer.printerName());
  form->addRow(QStringLiteral("打印机:"), printers);

  auto* papers = new QComboBox(&dialog);
  const QList<QPageSize::PageSizeId> ids = {QPageSize::A4, QPageSize::A3, QPageSize::B5,
                                            QPageSize::Letter, QPageSize::Legal};
  for (QPageSize::PageSizeId id : ids) papers->addItem(QPageSize::name(id), int(id));
  const int here = papers->findData(int(printer.pageLayout().pageSize().id()));
  papers->setCurrentIndex(here >= 0 ? here : 0);
  form->addRow(QStringLiteral("纸张:"), papers);

  auto* portrait = new QRadioButton(QStringLiteral("纵向"), &dialog);
  auto* landscape = new QRadioButton(QStringLiteral("横向"), &dialog);
  (printer.pageLayout().orientation() == QPageLayout::Landscape ? landscape : portrait)
      ->setChecked(true);
  auto* orientation = new QHBoxLayout;
  orientation->addWidget(portrait);
  orientation->addWidget(landscape);
  form->addRow(QStringLiteral("方向:"), orientation);

  auto* buttons = new QDialogButtonBox(&dialog);
  buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  auto* layout = new QVBoxLayout(&dialog);
  layout->addLayout(form);
  layout->addWidget(buttons);

  if (dialog.exec() != QDialog::Accepted) return false;
  if (printers->currentText() == pdfEntry) {
    printer.setOutputFormat(QPrinter::PdfFormat);
  } else {
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(printers->currentText());
  }
  printer.setPageSize(QPageSize(QPageSize::PageSizeId(papers->currentData().toInt())));
  printer.setPageOrientation(landscape->isChecked() ? QPageLayout::Landscape
                                                    : QPageLayout::Portrait);
  return true;
}

std::optional<PrintChoice> QtDialogs::Print(QWidget* parent, QPrinter& printer, int minPage,
                                            int maxPage) {
  QPrintDialog dialog(&printer, parent);
  dialog.setWindowTitle(QStringLiteral("打印"));
  QAbstractPrintDialog::PrintDialogOptions options = QAbstractPrintDialog::PrintPageRange |
                                                     QAbstractPrintDialog::PrintCurrentPage |
                                                     QAbstractPrintDialog::PrintShowPageSize;
  // Without a printer the PDF file is the only way to print; the dialog then
  // offers it and lets the user name the file.
  if (printer.outputFormat() == QPrinter::PdfFormat) options |= QAbstractPrintDialog::PrintToFile;
  dialog.setOptions(options);
  dialog.setMinMax(minPage, maxPage);
  dialog.setFromTo(minPage, maxPage);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  PrintChoice choice;
  switch (dialog.printRange()) {
    case QAbstractPrintDialog::PageRange:
      choice.Kind = PrintChoice::PageRange;
      choice.FromPage = dialog.fromPage();
      choice.ToPage = dialog.toPage();
      break;
    case QAbstractPrintDialog::CurrentPage:
    case QAbstractPrintDialog::Selection:
      choice.Kind = PrintChoice::Selection;
      break;
    default:
      choice.Kind = PrintChoice::AllPages;
      choice.FromPage = minPage;
      choice.ToPage = maxPage;
      break;
  }
  return choice;
}

std::optional<int> QtDialogs::ChoosePage(QWidget* parent, int pageCount, int current) {
  return ChoosePageOf(parent, QStringList(std::max(pageCount, 0), QString()), current);
}

std::optional<int> QtDialogs::ChoosePageOf(QWidget* parent, const QStringList& labels, int current) {
  ChoosePageDialog dialog(parent);
  dialog.fillPages(static_cast<int>(labels.size()), current);
  dialog.ShowLabels(labels);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  const int page = dialog.SelectedPage();
  if (page < 1) return std::nullopt;
  return page;
}

bool QtDialogs::PageMargins(QWidget* parent, PageMetrics& metrics) {
  MarginsDialog dialog(metrics, parent);
  return dialog.exec() == QDialog::Accepted;
}

std::optional<QString> QtDialogs::OpenFileOfType(QWidget* parent, const QString& title,
                                                 const QStringList& filters) {
  const QString path = QFileDialog::getOpenFileName(parent, title, QString(), filters.join(QStringLiteral(";;")));
  if (path.isEmpty()) return std::nullopt;
  return path;
}

std::optional<ChosenFile> QtDialogs::SaveFileOfType(QWidget* parent, const QString& title,
                                                    const QString& suggested, const QStringList& filters) {
  QFileDialog dialog(parent, title, suggested, filters.join(QStringLiteral(";;")));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  // The caller asks about replacing a file, once it has checked that the file
  // may be replaced at all (a grade file never is).
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  dialog.selectFile(suggested);
  // A name typed without a type gets the one chosen. (Qt's dialog itself changes the
  // type of a name that has one when another is chosen.)
  auto suffixOf = [](const QString& filter) {
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("\\(\\*\\.(\\w+)")).match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
  };
  dialog.setDefaultSuffix(suffixOf(filters.value(0)));
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&dialog, suffixOf](const QString& filter) { dialog.setDefaultSuffix(suffixOf(filter)); });
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return ChosenFile{dialog.selectedFiles().front(), std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())))};
}

std::optional<exchange::ScoreColumns> QtDialogs::ImportPreview(QWidget* parent, const ImportOffer& offer) {
  ImportDialog dialog(offer, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return offer.Session->Columns();
}

std::optional<SheetCoursesChoice> QtDialogs::ChooseSheetCourses(QWidget* parent, const SheetCoursesOffer& offer) {
  SheetCoursesDialog dialog(offer, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Chosen();
}

std::optional<ExportScope> QtDialogs::ChooseExportScope(QWidget* parent, const QString& shownCourse,
                                                        int courseCount) {
  ExportScopeDialog dialog(shownCourse, courseCount, parent);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  return dialog.Chosen();
}

int QtDialogs::Choose(QWidget* parent, const QString& text, const QStringList& buttons, int defaultButton) {
  QMessageBox box(QMessageBox::Question, QStringLiteral("提示"), text, QMessageBox::NoButton, parent);
  std::vector<QPushButton*> made;
  for (int i = 0; i < buttons.size(); ++i) {
    made.push_back(box.addButton(buttons[i], i == buttons.size() - 1 ? QMessageBox::RejectRole
                                                                      : QMessageBox::AcceptRole));
  }
  if (defaultButton >= 0 && defaultButton < buttons.size()) box.setDefaultButton(made[static_cast<std::size_t>(defaultButton)]);
  box.exec();
  for (std::size_t i = 0; i < made.size(); ++i)
    if (box.clickedButton() == made[i]) return static_cast<int>(i);
  return -1;
}

std::optional<int> QtDialogs::ChooseVersion(QWidget* parent, const std::vector<VersionRow>& rows) {
  VersionsDialog dialog(rows, parent);
  dialog.exec();
  return dialog.Chosen();
}

FindingsChoice QtDialogs::ReviewFindings(QWidget* parent, FindingsPurpose purpose,
                                         const std::vector<FindingRow>& rows) {
  FindingsDialog dialog(purpose, rows, parent);
  dialog.exec();
  return dialog.Choice();
}
