#include "controls/FmSplitDragBar.h"

#include <QImage>
#include <QPainter>

TFmSplitterDragBar::TFmSplitterDragBar(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  setAttribute(Qt::WA_NoSystemBackground);
  hide();
}

QImage TFmSplitterDragBar::Pattern() {
  QImage pattern(8, 8, QImage::Format_ARGB32_Premultiplied);
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) pattern.setPixel(x, y, (x + y) % 2 ? 0xff000000 : 0x00000000);
  return pattern;
}

void TFmSplitterDragBar::paintEvent(QPaintEvent*) {
  static const QImage pattern = Pattern();
  QPainter painter(this);
  // The pattern is anchored to the splitter, so it does not crawl as the bar moves.
  painter.setBrushOrigin(-pos());
  painter.fillRect(rect(), QBrush(pattern));
}
