#pragma once
// A paint device that keeps what is drawn on it instead of pixels: each shape, image and
// text with its place in device coordinates, its colours and the clip in force. A tree
// that paints its rows into one records every row part, row by row.
#include "treeview/LazyTrees.h"

#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QTextItem>

#include <vector>

struct PaintOp {
  enum Kind { Rect, Line, Polygon, Path, Image, Text, Points } kind;
  QRectF bounds;        // device coordinates
  QPolygonF points;     // polygons: the corners in device coordinates
  QColor brush;         // fill colour (invalid without a solid brush)
  QColor pen;           // outline colour (invalid without a pen)
  QString text;
  QSize imageSize;
  QRgb imageCentre = 0;  // the middle pixel of an image
  bool clipped = false;
  QRect clip;           // device coordinates, when clipped
  int row = 0;          // which begin/end of the device
};

class RecordingEngine : public QPaintEngine {
public:
  RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
  bool begin(QPaintDevice*) override {
    ++row;
    return true;
  }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  Type type() const override { return QPaintEngine::User; }

  void drawRects(const QRectF* rects, int count) override {
    for (int i = 0; i < count; ++i) Add(PaintOp::Rect, Map(rects[i]));
  }
  void drawRects(const QRect* rects, int count) override {
    for (int i = 0; i < count; ++i) Add(PaintOp::Rect, Map(QRectF(rects[i])));
  }
  void drawLines(const QLineF* lines, int count) override {
    for (int i = 0; i < count; ++i) Add(PaintOp::Line, Map(QRectF(lines[i].p1(), lines[i].p2()).normalized()));
  }
  void drawLines(const QLine* lines, int count) override {
    for (int i = 0; i < count; ++i) Add(PaintOp::Line, Map(QRectF(lines[i].p1(), lines[i].p2()).normalized()));
  }
  void drawPolygon(const QPointF* points, int count, PolygonDrawMode) override {
    PaintOp& op = Add(PaintOp::Polygon, {});
    for (int i = 0; i < count; ++i) op.points << painter()->transform().map(points[i]);
    op.bounds = op.points.boundingRect();
  }
  void drawPolygon(const QPoint* points, int count, PolygonDrawMode mode) override {
    QPolygonF f;
    for (int i = 0; i < count; ++i) f << QPointF(points[i]);
    drawPolygon(f.constData(), count, mode);
  }
  void drawPath(const QPainterPath& path) override { Add(PaintOp::Path, painter()->transform().map(path).boundingRect()); }
  void drawPoints(const QPointF* points, int count) override {
    QPolygonF f;
    for (int i = 0; i < count; ++i) f << points[i];
    Add(PaintOp::Points, Map(f.boundingRect()));
  }
  void drawPixmap(const QRectF& r, const QPixmap& pixmap, const QRectF&) override {
    Add(PaintOp::Image, Map(r)).imageSize = pixmap.size();
  }
  void drawImage(const QRectF& r, const QImage& image, const QRectF&, Qt::ImageConversionFlags) override {
    PaintOp& op = Add(PaintOp::Image, Map(r));
    op.imageSize = image.size();
    if (!image.isNull()) op.imageCentre = image.pixel(image.width() / 2, image.height() / 2);
  }
  void drawTiledPixmap(const QRectF& r, const QPixmap& pixmap, const QPointF&) override {
    Add(PaintOp::Image, Map(r)).imageSize = pixmap.size();
  }
  void drawTextItem(const QPointF& p, const QTextItem& item) override {
    Add(PaintOp::Text, Map(QRectF(p, QSizeF(item.width(), 1)))).text = item.text();
  }

  std::vector<PaintOp> ops;
  int row = 0;

private:
  QRectF Map(const QRectF& r) const { return painter()->transform().mapRect(r); }
  PaintOp& Add(PaintOp::Kind kind, const QRectF& bounds) {
    PaintOp op{kind, bounds, {}, {}, {}, {}, {}, 0, false, {}, row};
    QPainter* p = painter();
    if (p->brush().style() == Qt::SolidPattern) op.brush = p->brush().color();
    if (p->brush().style() == Qt::TexturePattern) op.brush = p->brush().textureImage().pixelColor(0, 0);
    if (p->pen().style() != Qt::NoPen) op.pen = p->pen().color();
    if (p->hasClipping()) {
      op.clipped = true;
      op.clip = p->transform().map(p->clipRegion()).boundingRect();
    }
    ops.push_back(op);
    return ops.back();
  }
};

class RecordingDevice : public QPaintDevice {
public:
  QPaintEngine* paintEngine() const override { return &engine; }
  QSize size{100, 18};
  mutable RecordingEngine engine;

protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth: return size.width();
      case PdmHeight: return size.height();
      case PdmWidthMM: return size.width() * 254 / 960;
      case PdmHeightMM: return size.height() * 254 / 960;
      case PdmNumColors: return 0x7FFFFFFF;
      case PdmDepth: return 32;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY: return 96;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return int(QPaintDevice::devicePixelRatioFScale());
      default: return 0;
    }
  }
};

// A tree whose rows are recorded; OnDrawNode draws a box over the content instead of text.
class RecordingTree : public TCustomLazyDrawTree {
public:
  RecordingTree() {
    OnGetNodeWidth = [this](TBaseLazyTree*, PLazyNode, int, int& width) { width = contentWidth; };
    OnDrawNode = [](TBaseLazyTree*, const TLTPaintInfo& info) {
      info.Canvas->fillRect(info.ContentRect.adjusted(0, 4, 0, -4), QColor(1, 2, 3));  // marks the content
    };
  }
  // Paints the whole window into the recorder.
  std::vector<PaintOp>& Record() {
    device.engine.ops.clear();
    device.engine.row = 0;
    flushedAt.clear();
    QImage target(ClientWidth(), ClientHeight(), QImage::Format_ARGB32_Premultiplied);
    QPainter p(&target);
    PaintTree(p, QRect(-OffsetX(), -OffsetY(), ClientWidth(), ClientHeight()), QPoint(), WindowPaintSwitches);
    return device.engine.ops;
  }
  std::vector<PaintOp> OpsOfRow(int row) {
    std::vector<PaintOp> out;
    for (const PaintOp& op : device.engine.ops)
      if (op.row == row) out.push_back(op);
    return out;
  }
  int contentWidth = 30;
  RecordingDevice device;
  std::vector<QPoint> flushedAt;

protected:
  QPaintDevice* RowBuffer(QSize size) override {
    device.size = size;
    return &device;
  }
  void FlushRowBuffer(QPainter&, QPoint at) override { flushedAt.push_back(at); }
};
