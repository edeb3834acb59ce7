#pragma once
// The analysis pages on paper-like outputs: a PDF of one A4 page per course,
// a printer, or the first course's page as a PNG or SVG picture. Each file
// goes through the safe writer: it appears, or replaces the old one, only
// when it is whole. Needs a QGuiApplication.
#include <optional>
#include <string>
#include <vector>

#include "platform/Files.h"
#include "printing/AnalysisPage.h"
#include "printing/CourseAnalysis.h"

class QPagedPaintDevice;
class QPainter;

enum class AnalysisFormat { Pdf, Png, Svg };

// The format named by the file name's ending (.pdf, .png, .svg, any case).
std::optional<AnalysisFormat> AnalysisFormatOf(const std::string& path);

// Resolutions of the outputs: the PDF as the sheet's, the picture for a screen.
inline constexpr int kAnalysisPdfDpi = 600;
inline constexpr int kAnalysisPictureDpi = 150;

struct AnalysisWriteResult {
  bool Ok = true;
  platform::FileStatus Status;  // why the file could not be written
  int Pages = 0;                // pages (or pictures) written
};

// Writes `courses` (at least one) to `path` in `format`: every course a page
// of the PDF, or the first course's page as the picture.
AnalysisWriteResult WriteAnalysis(const std::string& path, AnalysisFormat format,
                                  const std::vector<CourseAnalysis>& courses, const FontSpec& font);

// Draws the pages of `courses`, one a page, on a paged device (a PDF writer,
// a printer) at its own resolution, the page filling the device's page from
// its top left corner (a printer is set to its full page first). False when
// the painter cannot begin or a new page fails.
bool PrintAnalysisPages(QPagedPaintDevice& device, const std::vector<CourseAnalysis>& courses,
                        const FontSpec& font);

// One page on a painter begun on a paged device (a print job's), placed on
// the device's paper whatever its printable area.
void DrawAnalysisPageOn(QPainter& painter, const QPagedPaintDevice& device, const CourseAnalysis& course,
                        const FontSpec& font);

// One page on a screen of `dpi` at `zoom`, from the painter's origin.
void DrawAnalysisPreview(QPainter& painter, const CourseAnalysis& course, const FontSpec& font, int dpi,
                         double zoom);
