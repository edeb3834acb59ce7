#include "support/PaintRecorder.h"

#include <QTextItem>

class PaintRecorder::Engine : public QPaintEngine {
 public:
  explicit Engine(PaintRecorder& owner) : QPaintEngine(QPaintEngine::AllFeatures), owner_(owner) {}

  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  Type type() const override { return User; }
  void updateState(const QPaintEngineState& state) override {
    if (state.state() & DirtyTransform) transform_ = state.transform();
  }
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
  void drawLines(const QLineF* lines, int count) override {
    for (int i = 0; i < count; ++i) owner_.Lines.push_back(transform_.map(lines[i]));
  }
  void drawLines(const QLine* lines, int count) override {
    for (int i = 0; i < count; ++i) owner_.Lines.push_back(transform_.map(QLineF(lines[i])));
  }
  void drawRects(const QRectF* rects, int count) override {
    for (int i = 0; i < count; ++i) owner_.Rects.push_back(transform_.mapRect(rects[i]));
  }
  void drawRects(const QRect* rects, int count) override {
    for (int i = 0; i < count; ++i) owner_.Rects.push_back(transform_.mapRect(QRectF(rects[i])));
  }
  void drawTextItem(const QPointF& p, const QTextItem& item) override {
    owner_.Texts.push_back({transform_.map(p), item.text(), item.width() * transform_.m11()});
  }

 private:
  PaintRecorder& owner_;
  QTransform transform_;
};

PaintRecorder::PaintRecorder(QSize size, int dpi)
    : size_(size), dpi_(dpi), engine_(std::make_unique<Engine>(*this)) {}

PaintRecorder::~PaintRecorder() = default;

QPaintEngine* PaintRecorder::paintEngine() const { return engine_.get(); }

int PaintRecorder::metric(PaintDeviceMetric metric) const {
  switch (metric) {
    case PdmWidth: return size_.width();
    case PdmHeight: return size_.height();
    case PdmWidthMM: return qRound(size_.width() * 25.4 / dpi_);
    case PdmHeightMM: return qRound(size_.height() * 25.4 / dpi_);
    case PdmNumColors: return 0x7fffffff;
    case PdmDepth: return 32;
    case PdmDpiX:
    case PdmDpiY:
    case PdmPhysicalDpiX:
    case PdmPhysicalDpiY: return dpi_;
    case PdmDevicePixelRatio: return 1;
    case PdmDevicePixelRatioScaled: return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
  }
  return 0;
}
