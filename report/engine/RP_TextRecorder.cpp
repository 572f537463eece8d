#include "report/engine/RP_TextRecorder.h"

#include "report/engine/RP_EMFPages.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainter>

#include <climits>
#include <cmath>

namespace {

// Claims every feature, so the painter hands all drawing over untransformed and text
// reaches drawTextItem as text rather than as outlines; everything but text is dropped.
class TextRecordingEngine : public QPaintEngine {
public:
  explicit TextRecordingEngine(std::vector<TrpTextRecord>& records)
      : QPaintEngine(QPaintEngine::AllFeatures), records_(records) {}
  bool begin(QPaintDevice*) override { return true; }
  bool end() override { return true; }
  void updateState(const QPaintEngineState&) override {}
  void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
  void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
  void drawPath(const QPainterPath&) override {}
  void drawImage(const QRectF&, const QImage&, const QRectF&, Qt::ImageConversionFlags) override {}
  void drawTextItem(const QPointF& p, const QTextItem& item) override {
    const QString text = item.text();
    if (text.isEmpty()) return;
    const QRectF local(p.x(), p.y() - item.ascent(), item.width(), item.ascent() + item.descent());
    const QRectF bounds = painter()->combinedTransform().mapRect(local);
    // Text is drawn a word at a time; words that continue a line make one record with
    // it, so a search finds phrases as the reader sees them.
    if (!records_.empty()) {
      TrpTextRecord& last = records_.back();
      const bool sameLine = std::abs(last.Bounds.top() - bounds.top()) < 0.5 &&
                            std::abs(last.Bounds.bottom() - bounds.bottom()) < 0.5;
      const double gap = bounds.left() - last.Bounds.right();
      if (sameLine && gap > -1 && gap < bounds.height()) {
        last.Text += text;
        last.Bounds = last.Bounds.united(bounds);
        return;
      }
    }
    records_.push_back({text, bounds});
  }
  Type type() const override { return QPaintEngine::User; }

private:
  std::vector<TrpTextRecord>& records_;
};

class TextRecordingDevice : public QPaintDevice {
public:
  TextRecordingDevice(QSize size, std::vector<TrpTextRecord>& records) : size_(size), engine_(records) {}
  ~TextRecordingDevice() override = default;
  QPaintEngine* paintEngine() const override { return &engine_; }

protected:
  int metric(PaintDeviceMetric metric) const override {
    switch (metric) {
      case PdmWidth: return size_.width();
      case PdmHeight: return size_.height();
      case PdmWidthMM: return size_.width() * 254 / 960;
      case PdmHeightMM: return size_.height() * 254 / 960;
      case PdmNumColors: return INT_MAX;
      case PdmDepth: return 32;
      case PdmDpiX:
      case PdmDpiY:
      case PdmPhysicalDpiX:
      case PdmPhysicalDpiY: return 96;
      case PdmDevicePixelRatio: return 1;
      case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
      default: return 0;
    }
  }

private:
  QSize size_;
  mutable TextRecordingEngine engine_;
};

}  // namespace

std::vector<TrpTextRecord> rpPageTextRecords(TrpEMFPages& pages, int index, const QRect& rect) {
  std::vector<TrpTextRecord> records;
  if (index < 0 || index >= pages.Count()) return records;
  TextRecordingDevice device(QSize(rect.right() + 1, rect.bottom() + 1).expandedTo(QSize(1, 1)), records);
  TrpEMFPage& record = pages.Pages(index);
  const bool inUse = record.InUse;
  record.InUse = true;
  {
    QPainter painter(&device);
    pages.Draw(index, painter, rect, true);
    record.InUse = inUse;
    if (!inUse) pages.Draw(index, painter, QRect());
  }
  return records;
}
