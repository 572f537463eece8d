#include "treeview/LazyTreeImageList.h"

#include <QPainter>

TLTImageList::TLTImageList(int width, int height, QObject* parent)
    : QObject(parent), width_(std::max(width, 1)), height_(std::max(height, 1)) {}

QImage TLTImageList::Fitted(const QImage& image) const {
  QImage cell(width_, height_, QImage::Format_ARGB32_Premultiplied);
  cell.fill(Qt::transparent);
  QPainter p(&cell);
  p.drawImage(QPoint((width_ - image.width()) / 2, (height_ - image.height()) / 2), image);
  return cell;
}

int TLTImageList::Add(const QImage& image) {
  images_.append(Fitted(image));
  emit Changed();
  return Count() - 1;
}

void TLTImageList::AddStrip(const QImage& strip) {
  const int side = strip.height();
  if (side <= 0) return;
  for (int x = 0; x + side <= strip.width(); x += side) images_.append(Fitted(strip.copy(x, 0, side, side)));
  emit Changed();
}

void TLTImageList::Replace(int index, const QImage& image) {
  if (!IsValidIndex(index)) return;
  images_[index] = Fitted(image);
  emit Changed();
}

void TLTImageList::Clear() {
  images_.clear();
  emit Changed();
}

void TLTImageList::SetSize(int width, int height) {
  width_ = std::max(width, 1);
  height_ = std::max(height, 1);
  Clear();
}

void TLTImageList::Draw(QPainter& canvas, QPoint at, int index, const TLTImageDrawStyle& style,
                        int overlayIndex) const {
  if (!IsValidIndex(index)) return;
  const auto drawOne = [&](const QImage& source) {
    if (style.Silhouette.isValid()) {
      QImage shape = source;
      QPainter p(&shape);
      p.setCompositionMode(QPainter::CompositionMode_SourceIn);
      p.fillRect(shape.rect(), style.Silhouette);
      p.end();
      canvas.drawImage(at, shape);
      return;
    }
    if (style.Blend.isValid()) {
      // Half the selection colour over the opaque pixels, as a selected row's image shows.
      QImage tinted = source;
      QPainter p(&tinted);
      p.setCompositionMode(QPainter::CompositionMode_SourceAtop);
      QColor c = style.Blend;
      c.setAlpha(128);
      p.fillRect(tinted.rect(), c);
      p.end();
      canvas.drawImage(at, tinted);
      return;
    }
    canvas.drawImage(at, source);
  };
  const qreal opacity = canvas.opacity();
  if (style.Ghosted) canvas.setOpacity(opacity * 0.5);
  drawOne(images_[index]);
  if (IsValidIndex(overlayIndex)) drawOne(images_[overlayIndex]);
  canvas.setOpacity(opacity);
}
