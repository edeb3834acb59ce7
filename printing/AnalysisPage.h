#pragma once
// The page "课程成绩分析" of one course, A4 upright, drawn on a Canvas so that
// the window, the printer and the PDF show the same: the course's heading,
// its figures, the bands as a table and a bar chart, the 5-point histogram,
// the classes side by side, the grade levels where there are any, and the
// coursework-examination scatter. Black on white, lines and text only.
#include "printing/Canvas.h"
#include "printing/CourseAnalysis.h"

inline constexpr double kAnalysisPageWidthMm = 210.0;
inline constexpr double kAnalysisPageHeightMm = 297.0;

// Where and how large the page is drawn.
struct AnalysisPaper {
  int Dpi = 600;       // the surface's pixels per inch at scale 1 (also its font DPI)
  double Scale = 1.0;  // the preview's zoom; 1 on paper
  int Left = 0;        // the page's top left corner on the surface, pixels
  int Top = 0;
  FontSpec Font;  // the face of every text (sizes are the page's own)
};

// The page's size in pixels on `paper`.
int AnalysisPageWidth(const AnalysisPaper& paper);
int AnalysisPageHeight(const AnalysisPaper& paper);

// Draws the page of `course`. The canvas's font DPI is set to paper.Dpi.
void DrawAnalysisPage(Canvas& canvas, const CourseAnalysis& course, const AnalysisPaper& paper);
