#include "printing/qt/AnalysisOutput.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <cerrno>

#include "grading/Numbers.h"
#include "printing/qt/OutputFileDevice.h"
#include "printing/qt/PainterCanvas.h"
#include "printing/qt/QtText.h"
#include "text/Gbk.h"

namespace {

const platform::FileStatus kBroken{platform::FileError::Other, EIO};

// A rule about 0.13 mm wide: the thin line of a printed form, and the close
// strokes of a shaded bar look grey.
int RuleWidth(int dpi) { return std::max(1, Round(dpi / 200.0)); }

void DrawPage(QPainter& painter, const CourseAnalysis& course, const FontSpec& font, int dpi, bool placing,
              QPoint corner = {}) {
  painter.setPen(QPen(Qt::black, RuleWidth(dpi)));
  PainterCanvas canvas(painter, dpi);
  canvas.SetGlyphPlacing(placing);
  AnalysisPaper paper;
  paper.Dpi = dpi;
  paper.Font = font;
  paper.Left = corner.x();
  paper.Top = corner.y();
  DrawAnalysisPage(canvas, course, paper);
  canvas.Flush();
}

QString PageTitle() { return GbkToQString(Gbk("课程成绩分析")); }

}  // namespace

std::optional<AnalysisFormat> AnalysisFormatOf(const std::string& path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string::npos || path.find('/', dot) != std::string::npos) return std::nullopt;
  std::string ending = path.substr(dot + 1);
  for (char& c : ending) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ending == "pdf") return AnalysisFormat::Pdf;
  if (ending == "png") return AnalysisFormat::Png;
  if (ending == "svg") return AnalysisFormat::Svg;
  return std::nullopt;
}

void DrawAnalysisPageOn(QPainter& painter, const QPagedPaintDevice& device, const CourseAnalysis& course,
                        const FontSpec& font) {
  const int dpi = device.logicalDpiY();
  // The painter's origin is the corner of the printable area; the page's is the paper's.
  const QPoint corner = -device.pageLayout().paintRectPixels(dpi).topLeft();
  DrawPage(painter, course, font, dpi, true, corner);
}

bool PrintAnalysisPages(QPagedPaintDevice& device, const std::vector<CourseAnalysis>& courses,
                        const FontSpec& font) {
  QPainter painter;
  if (!painter.begin(&device)) return false;
  for (std::size_t i = 0; i < courses.size(); ++i) {
    if (i > 0 && !device.newPage()) return false;
    DrawAnalysisPageOn(painter, device, courses[i], font);
  }
  return painter.end();
}

void DrawAnalysisPreview(QPainter& painter, const CourseAnalysis& course, const FontSpec& font, int dpi,
                         double zoom) {
  painter.setPen(QPen(Qt::black, 1));
  PainterCanvas canvas(painter, dpi);
  AnalysisPaper paper;
  paper.Dpi = dpi;
  paper.Scale = zoom;
  paper.Font = font;
  DrawAnalysisPage(canvas, course, paper);
  canvas.Flush();
}

AnalysisWriteResult WriteAnalysis(const std::string& path, AnalysisFormat format,
                                  const std::vector<CourseAnalysis>& courses, const FontSpec& font) {
  AnalysisWriteResult result;
  std::optional<platform::OutputFile> out = platform::OutputFile::Begin(path, result.Status);
  if (!out) {
    result.Ok = false;
    return result;
  }
  bool drawn = !courses.empty();
  if (drawn && format == AnalysisFormat::Pdf) {
    OutputFileDevice device(*out);
    device.open(QIODevice::WriteOnly);
    {
      QPdfWriter writer(&device);
      writer.setResolution(kAnalysisPdfDpi);
      writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
      writer.setTitle(PageTitle());
      writer.setCreator(QStringLiteral("gradesheet"));
      drawn = PrintAnalysisPages(writer, courses, font);
    }
    drawn = device.Flush() && drawn;
    result.Pages = static_cast<int>(courses.size());
  } else if (drawn && format == AnalysisFormat::Png) {
    AnalysisPaper paper;
    paper.Dpi = kAnalysisPictureDpi;
    QImage image(AnalysisPageWidth(paper), AnalysisPageHeight(paper), QImage::Format_Grayscale8);
    image.fill(Qt::white);
    image.setDotsPerMeterX(Round(kAnalysisPictureDpi / 0.0254));
    image.setDotsPerMeterY(Round(kAnalysisPictureDpi / 0.0254));
    {
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setRenderHint(QPainter::TextAntialiasing);
      DrawPage(painter, courses.front(), font, kAnalysisPictureDpi, true);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    drawn = image.save(&buffer, "PNG") && out->Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    result.Pages = 1;
  } else if (drawn) {
    OutputFileDevice device(*out);
    device.open(QIODevice::WriteOnly);
    {
      AnalysisPaper paper;
      paper.Dpi = kAnalysisPictureDpi;
      QSvgGenerator svg;
      svg.setOutputDevice(&device);
      svg.setResolution(kAnalysisPictureDpi);
      svg.setSize(QSize(AnalysisPageWidth(paper), AnalysisPageHeight(paper)));
      svg.setViewBox(QRect(0, 0, AnalysisPageWidth(paper), AnalysisPageHeight(paper)));
      svg.setTitle(PageTitle());
      QPainter painter;
      drawn = painter.begin(&svg);
      if (drawn) {
        painter.fillRect(QRect(0, 0, AnalysisPageWidth(paper), AnalysisPageHeight(paper)), Qt::white);
        // The picture keeps its texts as text: each goes through Qt's layout with its characters.
        DrawPage(painter, courses.front(), font, kAnalysisPictureDpi, false);
        drawn = painter.end();
      }
    }
    drawn = device.Flush() && drawn;
    result.Pages = 1;
  }
  if (!drawn) out->Fail(kBroken);
  result.Status = out->Commit();
  result.Ok = result.Status.Ok();
  if (!result.Ok) result.Pages = 0;
  return result;
}
