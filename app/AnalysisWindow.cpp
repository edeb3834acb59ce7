#include "app/AnalysisWindow.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QScrollArea>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <array>
#include <functional>

#include "app/DialogSeam.h"
#include "app/ExchangeTexts.h"
#include "app/WindowTexts.h"
#include "gradefile/FileMessages.h"
#include "gradefile/OutputCheck.h"
#include "preview/PrintJob.h"
#include "printing/PreviewRules.h"
#include "printing/qt/AnalysisOutput.h"
#include "printing/qt/OutputFileDevice.h"
#include "printing/qt/QtText.h"
#include "printing/qt/SheetPdf.h"
#include "text/Blanks.h"
#include "text/Gbk.h"

namespace {

QString Title() { return QStringLiteral("课程成绩分析"); }
QString Utf8(const std::string& text) { return QString::fromStdString(text); }

// The page, white on the desktop colour of the preview, drawn by the window.
class AnalysisPageView : public QWidget {
 public:
  explicit AnalysisPageView(std::function<void(QPainter&)> paint) : paint_(std::move(paint)) {
    setAttribute(Qt::WA_OpaquePaintEvent);
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    paint_(painter);
  }

 private:
  std::function<void(QPainter&)> paint_;
};

}  // namespace

AnalysisWindow::AnalysisWindow(QWidget* parent, std::vector<CourseAnalysis> courses, int startPage,
                               const FontSpec& font, QPrinter& printer, DialogSeam& dialogs, std::string gradeFile)
    : QDialog(parent), courses_(std::move(courses)), font_(font), printer_(printer), dialogs_(dialogs),
      gradeFile_(std::move(gradeFile)) {
  setObjectName(QStringLiteral("analysisWindow"));
  setWindowTitle(Title());
  setAccessibleName(Title());
  // The page's own sizes run from 7.5 to 18 points: the limits of a 9-point body.
  const preview::ZoomLimits limits = preview::ComputeZoomLimits(9);
  zoomMin_ = limits.Min;
  zoomMax_ = limits.Max;

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  auto* bar = new QToolBar(this);
  bar->setObjectName(QStringLiteral("analysisCommands"));
  bar->setAccessibleName(QStringLiteral("分析页命令"));
  layout->addWidget(bar);
  previousPage = AddCommand(bar, QStringLiteral("上页(&L)"), QKeySequence(Qt::Key_PageUp), nullptr);
  nextPage = AddCommand(bar, QStringLiteral("下页(&N)"), QKeySequence(Qt::Key_PageDown), nullptr);
  firstPage = AddCommand(bar, QStringLiteral("第一页(&F)"), QKeySequence(Qt::CTRL | Qt::Key_Home), nullptr);
  lastPage = AddCommand(bar, QStringLiteral("最后一页(&E)"), QKeySequence(Qt::CTRL | Qt::Key_End), nullptr);
  connect(previousPage, &QAction::triggered, this, [this] { ShowPage(current_ - 1); });
  connect(nextPage, &QAction::triggered, this, [this] { ShowPage(current_ + 1); });
  connect(firstPage, &QAction::triggered, this, [this] { ShowPage(0); });
  connect(lastPage, &QAction::triggered, this, [this] { ShowPage(PageCount() - 1); });
  bar->addSeparator();
  zoomIn = AddCommand(bar, QStringLiteral("放大(&G)"), QKeySequence(Qt::CTRL | Qt::Key_Equal), &AnalysisWindow::ZoomIn);
  zoomOut = AddCommand(bar, QStringLiteral("缩小(&S)"), QKeySequence(Qt::CTRL | Qt::Key_Minus), &AnalysisWindow::ZoomOut);
  bar->addSeparator();
  printPages = AddCommand(bar, QStringLiteral("打印(&P)..."), QKeySequence(Qt::CTRL | Qt::Key_P), &AnalysisWindow::PrintPages);
  exportPdf = AddCommand(bar, QStringLiteral("导出 PDF(&D)..."), QKeySequence(Qt::CTRL | Qt::Key_D), &AnalysisWindow::ExportPdf);

  scroll_ = new QScrollArea(this);
  scroll_->setObjectName(QStringLiteral("analysisPageArea"));
  scroll_->setAccessibleName(QStringLiteral("分析页"));
  scroll_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  QPalette desktop = scroll_->palette();
  desktop.setColor(QPalette::Window, QColor(58, 110, 165));  // the preview's desktop colour
  scroll_->setPalette(desktop);
  scroll_->setBackgroundRole(QPalette::Window);
  page_ = new AnalysisPageView([this](QPainter& painter) { PaintPage(painter); });
  page_->setObjectName(QStringLiteral("analysisPage"));
  page_->setAccessibleName(Title());
  scroll_->setWidget(page_);
  layout->addWidget(scroll_, 1);
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("analysisStatus"));
  status_->setAccessibleName(QStringLiteral("页码与缩放"));
  status_->setContentsMargins(6, 3, 6, 3);
  layout->addWidget(status_);

  current_ = std::clamp(startPage, 0, std::max(0, PageCount() - 1));
  resize(860, 900);
  Refresh();
}

QAction* AnalysisWindow::AddCommand(QToolBar* bar, const QString& caption, const QKeySequence& key,
                                    void (AnalysisWindow::*run)()) {
  QAction* action = bar->addAction(caption);
  action->setShortcut(key);
  action->setShortcutContext(Qt::WindowShortcut);
  if (run) connect(action, &QAction::triggered, this, [this, run] { (this->*run)(); });
  return action;
}

QString AnalysisWindow::StatusText() const {
  if (courses_.empty()) return QStringLiteral("没有课程");
  const CourseAnalysis& course = courses_[static_cast<std::size_t>(current_)];
  return QStringLiteral("第 %1 页，共 %2 页    %3 %4    %5%")
      .arg(current_ + 1)
      .arg(PageCount())
      .arg(GbkToQString(TrimmedBlanks(course.Whole.CourseKey)), GbkToQString(course.Name))
      .arg(qRound(zoom_ * 100));
}

void AnalysisWindow::ShowPage(int page) {
  if (page < 0 || page >= PageCount() || page == current_) return;
  current_ = page;
  Refresh();
}

void AnalysisWindow::ZoomIn() {
  zoom_ = preview::ZoomedIn(zoom_, zoomMax_);
  Refresh();
}

void AnalysisWindow::ZoomOut() {
  zoom_ = preview::ZoomedOut(zoom_, zoomMin_);
  Refresh();
}

void AnalysisWindow::Refresh() {
  AnalysisPaper paper;
  paper.Dpi = page_->logicalDpiY();
  paper.Scale = zoom_;
  page_->setFixedSize(AnalysisPageWidth(paper), AnalysisPageHeight(paper));
  page_->update();
  const bool any = PageCount() > 0;
  previousPage->setEnabled(current_ > 0);
  firstPage->setEnabled(current_ > 0);
  nextPage->setEnabled(current_ + 1 < PageCount());
  lastPage->setEnabled(current_ + 1 < PageCount());
  zoomIn->setEnabled(zoom_ < zoomMax_);
  zoomOut->setEnabled(zoom_ > zoomMin_);
  printPages->setEnabled(any);
  exportPdf->setEnabled(any);
  status_->setText(StatusText());
}

void AnalysisWindow::PaintPage(QPainter& painter) const {
  if (courses_.empty()) return;
  DrawAnalysisPreview(painter, courses_[static_cast<std::size_t>(current_)], font_, page_->logicalDpiY(), zoom_);
}

void AnalysisWindow::PrintPages() {
  if (courses_.empty()) return;
  printer_.setDocName(Title());
  const std::optional<PrintChoice> choice = dialogs_.Print(this, printer_, 1, PageCount());
  if (!choice) return;
  const preview::PageSpan span = preview::PagesToPrint(*choice, PageCount(), current_ + 1);
  if (span.First > span.Last) return;
  if (printer_.outputFormat() == QPrinter::PdfFormat && printer_.outputFileName().isEmpty()) {
    dialogs_.Error(this, WindowTexts::NoPdfFileName());
    return;
  }
  const std::vector<CourseAnalysis> chosen(courses_.begin() + (span.First - 1), courses_.begin() + span.Last);
  preview::PrintJob job(printer_);
  if (job.WritesFile()) {
    const bool written = job.WriteFile([&](platform::OutputFile& out, const PdfPaper& paper) {
      OutputFileDevice device(out);
      device.open(QIODevice::WriteOnly);
      bool drawn = false;
      {
        QPdfWriter writer(&device);
        writer.setResolution(paper.Resolution);
        writer.setPageLayout(paper.Layout);
        writer.setTitle(Title());
        writer.setCreator(paper.Creator);
        drawn = PrintAnalysisPages(writer, chosen, font_);
      }
      return device.Flush() && drawn ? SheetPdfOutcome::Written : SheetPdfOutcome::Failed;
    });
    if (!written) dialogs_.Error(this, job.Message());
    return;
  }
  if (!job.Begin()) {
    dialogs_.Error(this, job.Message());
    return;
  }
  for (std::size_t i = 0; i < chosen.size(); ++i) {
    if (i > 0 && !job.NewPage()) break;
    DrawAnalysisPageOn(job.Painter(), printer_, chosen[i], font_);
  }
  if (!job.Finish()) dialogs_.Error(this, job.Message());
}

void AnalysisWindow::ExportPdf() {
  if (courses_.empty()) return;
  const QFileInfo gradeFile(PathToQString(gradeFile_));
  const QString suggested = gradeFile.dir().filePath(gradeFile.completeBaseName() + QStringLiteral("-成绩分析.pdf"));
  const std::optional<ChosenFile> chosen =
      dialogs_.SaveFileOfType(this, QStringLiteral("导出成绩分析 PDF"), suggested, {QStringLiteral("PDF 文件 (*.pdf)")});
  if (!chosen || chosen->Path.isEmpty()) return;
  std::string target = PathBytes(chosen->Path);
  if (AnalysisFormatOf(target) != AnalysisFormat::Pdf) {
    // The dialog did not see this name, so it asked nothing about replacing it.
    target += ".pdf";
    if (platform::Identify(target) &&
        dialogs_.AskYesNo(this, ExchangeTexts::AskReplace(PathToQString(target))) != Answer::Yes)
      return;
  }
  const std::array<std::string, 1> inputs = {gradeFile_};
  if (const std::string refused = OutputRefusal(target, inputs); !refused.empty()) {
    dialogs_.Error(this, Utf8(refused));
    return;
  }
  const AnalysisWriteResult written = WriteAnalysis(target, AnalysisFormat::Pdf, courses_, font_);
  if (!written.Ok)
    dialogs_.Error(this, Utf8(DisplayPath(target) + "写入失败: " + FileErrorReason(written.Status) + "，未写入任何内容。"));
}
