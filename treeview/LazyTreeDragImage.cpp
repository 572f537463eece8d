// The drag picture: its blend, its alpha fall-off and the window that shows it.
#include "treeview/LazyTreeDragImage.h"

#include "treeview/LazyTreeDrawing.h"

#include <QDrag>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

#include <algorithm>
#include <cmath>

namespace {
// A frameless window that lets the mouse through and shows the picture.
class TDragImageWindow : public QWidget {
public:
  explicit TDragImageWindow(const QImage& picture)
      : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), picture_(picture) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setAttribute(Qt::WA_TranslucentBackground);
    setFixedSize(picture_.size());
  }

protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(0, 0, picture_);
  }

private:
  QImage picture_;
};
}  // namespace

TLTDragImage::TLTDragImage() = default;
TLTDragImage::~TLTDragImage() = default;

int TLTDragImage::FadeAlpha(int x, int y, int width, int height) {
  const double d = std::hypot(x - width / 2.0, y - height / 2.0) / std::max({width, height, 1});
  return static_cast<int>(std::lround(255.0 * std::exp(-8.0 * d)));
}

void TLTDragImage::PrepareDrag(const QImage& dragImage, QPoint imagePosition, QPoint cursorPosition, QDrag* drag) {
  EndDrag();
  if (dragImage.isNull()) return;
  QImage image = dragImage.convertToFormat(QImage::Format_ARGB32);
  if (preBlendBias_ != 0)
    BlendBitmaps(image, image, image.rect(), static_cast<signed char>(preBlendBias_), 0, blendUniform, QPoint());
  const bool alpha = fade_ || colorKey_.isValid();
  const QRgb key = colorKey_.isValid() ? colorKey_.rgb() & 0xFFFFFF : 0;
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = line[x];
      int a = 255;
      if (alpha) a = colorKey_.isValid() && (p & 0xFFFFFF) == key ? 0 : fade_ ? FadeAlpha(x, y, image.width(), image.height()) : 255;
      a = a * std::clamp(transparency_, 0, 255) / 255;
      auto channel = [&](int c) { return std::clamp(c + postBlendBias_, 0, 255); };
      line[x] = qRgba(channel(qRed(p)), channel(qGreen(p)), channel(qBlue(p)), a);
    }
  }
  picture_ = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  position_ = imagePosition;
  lastCursor_ = cursorPosition;
  prepared_ = true;
  if (drag) {
    // The desktop's drag draws it from here on.
    drag->setPixmap(QPixmap::fromImage(picture_));
    drag->setHotSpot(cursorPosition - imagePosition);
    systemImage_ = true;
  }
}

void TLTDragImage::ShowDragImage() {
  if (!prepared_ || systemImage_) return;
  if (!window_) window_ = std::make_unique<TDragImageWindow>(picture_);
  window_->move(position_);
  window_->show();
  shown_ = true;
}

void TLTDragImage::HideDragImage() {
  if (window_) window_->hide();
  shown_ = false;
}

QPoint TLTDragImage::Restricted(QPoint delta) const {
  if (restriction_ == dmrHorizontalOnly) delta.setY(0);
  if (restriction_ == dmrVerticalOnly) delta.setX(0);
  return delta;
}

bool TLTDragImage::WillMove(QPoint p) const { return prepared_ && !Restricted(lastCursor_ - p).isNull(); }

bool TLTDragImage::DragTo(QPoint p, bool forceRepaint) {
  if (!prepared_) return false;
  const QPoint delta = Restricted(lastCursor_ - p);
  if (delta.isNull() && !forceRepaint) return false;
  lastCursor_ -= delta;
  position_ -= delta;
  if (window_ && shown_) {
    window_->move(position_);
    if (forceRepaint) window_->update();
  }
  return !delta.isNull();
}

void TLTDragImage::EndDrag() {
  HideDragImage();
  window_.reset();
  picture_ = QImage();
  prepared_ = false;
  systemImage_ = false;
}

QRect TLTDragImage::GetDragImageRect() const { return prepared_ ? QRect(position_, picture_.size()) : QRect(); }
