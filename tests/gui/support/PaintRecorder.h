#pragma once
// A paint device that records what is painted on it, in device pixels (the
// painter's transform applied): lines, rectangles and text with where each
// text starts and how wide it is. Compares drawings made at different
// scales without rasterising either.
#include <QLineF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QRectF>
#include <QSize>
#include <QString>
#include <QTransform>
#include <memory>
#include <vector>

struct RecordedText {
  QPointF At;  // the baseline's start
  QString Text;
  qreal Width = 0;
};

class PaintRecorder : public QPaintDevice {
 public:
  PaintRecorder(QSize size, int dpi);
  ~PaintRecorder() override;

  std::vector<QLineF> Lines;
  std::vector<QRectF> Rects;
  std::vector<RecordedText> Texts;

  QPaintEngine* paintEngine() const override;

 protected:
  int metric(PaintDeviceMetric metric) const override;

 private:
  class Engine;
  QSize size_;
  int dpi_;
  std::unique_ptr<Engine> engine_;
};
