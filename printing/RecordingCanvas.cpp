#include "printing/RecordingCanvas.h"

#include "printing/PageMetrics.h"

void RecordingCanvas::SetFont(const FontSpec& font, int points) {
  font_ = font;
  points_ = points;
  CanvasOp op;
  op.Op = CanvasOp::SetFont;
  op.Font = font;
  op.Points = points;
  Ops.push_back(op);
}

int RecordingCanvas::FontPixels() const { return PointsToPixels(points_, dpi_); }

int RecordingCanvas::TextWidth(std::string_view gbk) {
  return static_cast<int>(gbk.size()) * (FontPixels() / 2);
}

int RecordingCanvas::TextHeight(std::string_view) { return FontPixels(); }

void RecordingCanvas::TextOut(int x, int y, std::string_view gbk) {
  CanvasOp op;
  op.Op = CanvasOp::Text;
  op.X1 = x;
  op.Y1 = y;
  op.Gbk.assign(gbk);
  op.Font = font_;
  op.Points = points_;
  Ops.push_back(op);
}

void RecordingCanvas::SetPenStyle(PenStyle style) {
  pen_ = style;
  CanvasOp op;
  op.Op = CanvasOp::Pen;
  op.Style = style;
  Ops.push_back(op);
}

void RecordingCanvas::Line(int x1, int y1, int x2, int y2) {
  RecordShape(CanvasOp::Line, x1, y1, x2, y2);
}

void RecordingCanvas::Rectangle(int left, int top, int right, int bottom) {
  RecordShape(CanvasOp::Rectangle, left, top, right, bottom);
}

void RecordingCanvas::RecordShape(CanvasOp::Kind kind, int x1, int y1, int x2, int y2) {
  CanvasOp op;
  op.Op = kind;
  op.X1 = x1;
  op.Y1 = y1;
  op.X2 = x2;
  op.Y2 = y2;
  op.Style = pen_;
  Ops.push_back(op);
}

std::vector<const CanvasOp*> RecordingCanvas::Texts() const {
  std::vector<const CanvasOp*> texts;
  for (const CanvasOp& op : Ops)
    if (op.Op == CanvasOp::Text) texts.push_back(&op);
  return texts;
}

const CanvasOp* RecordingCanvas::FindText(std::string_view gbk) const {
  for (const CanvasOp& op : Ops)
    if (op.Op == CanvasOp::Text && op.Gbk == gbk) return &op;
  return nullptr;
}

std::vector<const CanvasOp*> RecordingCanvas::Lines() const {
  std::vector<const CanvasOp*> lines;
  for (const CanvasOp& op : Ops)
    if (op.Op == CanvasOp::Line) lines.push_back(&op);
  return lines;
}
