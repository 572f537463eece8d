// Painting of the notebook's tabs. Every orientation is painted as the top tabs are, in
// the edge frame (see clnbkLayout.h); only the captions are drawn in notebook
// coordinates, upright or turned.
#include "controls/FmCanvas.h"
#include "controls/clnbk.h"
#include "platform/Application.h"

#include <QImage>
#include <QPainter>
#include <QStyleOptionFocusRect>

class TClNotebookPainter {
public:
  explicit TClNotebookPainter(TClNotebook& notebook)
      : nb_(notebook),
        frame_(EdgeFrame(notebook.orientation_, notebook.size())),
        edge_(EdgeFrameSize(notebook.orientation_, notebook.size())),
        dpr_(notebook.devicePixelRatioF()),
        image_((QSizeF(notebook.size()) * dpr_).toSize(), QImage::Format_ARGB32_Premultiplied) {
    image_.setDevicePixelRatio(dpr_);
  }

  void Paint() {
    image_.fill(nb_.Color());
    if (nb_.CountPages() > 0) {
      nb_.LayOutPages();
      if (nb_.tabHeight_ > 0 && nb_.layout_.rowCount > 0) PaintTabs();
    }
    QPainter(&nb_).drawImage(QPoint(0, 0), image_);
  }

private:
  struct Tab {
    int index;
    QRect rect;  // edge frame, bottom extended to the page
    bool selected;
    bool enabled;
  };

  void PaintTabs() {
    painter_.begin(&image_);
    painter_.setTransform(frame_);
    const int rows = nb_.layout_.rowCount;
    const int h = nb_.tabHeight_;
    pageTop_ = rows * h + 2;
    background_ = nb_.parentWidget() != nullptr ? nb_.parentWidget()->palette().color(QPalette::Window) : nb_.Color();
    FillRect(QRect(0, 0, edge_.width(), pageTop_), background_);
    const int offset = (h - nb_.TextHeight(nb_.font())) / 2;

    for (int painted = 0; painted < rows; ++painted) {
      const int row = (nb_.layout_.activeRow + 1 + painted) % rows;
      bool firstInRow = true;
      for (int i = 0; i < nb_.CountPages(); ++i) {
        const QRect tab = nb_.layout_.tabs[static_cast<size_t>(i)];
        if (tab.isEmpty() || nb_.layout_.rows[static_cast<size_t>(i)] != row) continue;
        const Tab drawn{i, QRect(QPoint(tab.left(), tab.top()), QPoint(tab.right(), pageTop_ - 1)),
                        i == nb_.pageIndex_, nb_.isEnabled() && nb_.PageAt(i)->Enabled()};
        DrawTab(drawn, offset, nb_.PageAt(i)->font());
        const QColor aboveRight = painted == 0 ? background_ : PixelAt(tab.right(), tab.top() - 1);
        RoundCorner(QPoint(tab.right(), tab.top()), -1, 2, aboveRight);
        if (painted == 0 || !firstInRow) {
          const QColor aboveLeft = painted == 0 ? background_ : PixelAt(tab.left(), tab.top() - 1);
          RoundCorner(tab.topLeft(), 1, 1, aboveLeft);
        }
        firstInRow = false;
      }
    }
    if (const TClTabPage* current = nb_.PageAt(nb_.pageIndex_); current != nullptr && !current->TabRect().isEmpty()) {
      const QRect tab = nb_.layout_.tabs[static_cast<size_t>(nb_.pageIndex_)];
      const Tab drawn{nb_.pageIndex_, QRect(QPoint(tab.left() - 2, tab.top() - 2), QPoint(tab.right() + 2, pageTop_ - 1)),
                      true, nb_.isEnabled() && current->Enabled()};
      const QFont font = nb_.useActiveTabFont_ ? nb_.activeTabFont_ : current->font();
      const int activeOffset = (h - nb_.TextHeight(nb_.font()) + 2) / 2;
      DrawTab(drawn, activeOffset, font);
      if (nb_.hasFocus()) DrawFocus(CaptionRect(drawn.rect, activeOffset).adjusted(-4, -2, 4, -2));
    }
    painter_.end();
  }

  // The polygon of the tab in its colour, its light, dark and black edges, the frame of
  // the page under a selected tab, and the caption.
  void DrawTab(const Tab& tab, int textOffset, const QFont& font) {
    const TClTabPage* page = nb_.PageAt(tab.index);
    const int l = tab.rect.left(), t = tab.rect.top(), r = tab.rect.right() + 1, b = tab.rect.bottom() + 1;
    FillTabShape(l, t, r, b, page->TabColor());
    Lines({{l, b - 1}, {l, t + 2}, {l + 2, t}, {r - 2, t}}, nb_.highlightColor_);
    Lines({{r - 2, t + 1}, {r - 1, t + 2}, {r - 1, b}}, Qt::black);
    Lines({{r - 2, t + 2}, {r - 2, b}}, nb_.shadowColor_);
    if (tab.selected) DrawPageFrame(l, r, b);

    const QRect caption = CaptionRect(tab.rect, textOffset);
    if (nb_.OnDrawTab && nb_.IsValidPage(tab.index)) {
      const QRect inner = WidgetRect(QRect(QPoint(l + 5, t + 3), QPoint(r - 7, b - 1)));
      painter_.save();
      painter_.resetTransform();
      painter_.setFont(font);
      painter_.setPen(page->TextColor());
      nb_.OnDrawTab(nb_, painter_, tab.index, page->Caption(), inner, tab.enabled, tab.selected);
      painter_.restore();
      return;
    }
    if (nb_.TextHeight(font) > nb_.tabHeight_ - 4) return;
    if (!tab.enabled) {
      DrawCaption(caption, page->Caption(), font, nb_.highlightColor_, 0, 0);
      DrawCaption(caption, page->Caption(), font, nb_.shadowColor_, -2, -1);
    } else if (nb_.shadowedText_) {
      DrawCaption(caption, page->Caption(), font, nb_.textShadowColor_, 0, 0);
      DrawCaption(caption, page->Caption(), font, page->TextColor(), -2, -1);
    } else {
      DrawCaption(caption, page->Caption(), font, page->TextColor(), 0, 0);
    }
  }

  void DrawPageFrame(int l, int r, int b) {
    const int w = edge_.width();
    const int h = edge_.height();
    FillRect(QRect(l, b, r - l, 1), nb_.Color());
    Lines({{l, b}, {0, b}, {0, h - 1}}, nb_.highlightColor_);
    Lines({{r - 1, b}, {w - 2, b}}, nb_.highlightColor_);
    Lines({{0, h - 1}, {w - 1, h - 1}, {w - 1, b - 1}}, Qt::black);
    Lines({{1, h - 2}, {w - 2, h - 2}, {w - 2, b - 1}}, nb_.shadowColor_);
  }

  QRect CaptionRect(const QRect& tab, int offset) const {
    const int r = tab.right() + 1;
    const int right = edge_.width() - 2 < r - 6 ? edge_.width() - 14 : r - 6;
    return QRect(QPoint(tab.left() + 6, tab.top() + offset), QPoint(right - 1, tab.bottom() - offset));
  }

  // A caption as one centred line, moved by (dx, dy) along and across its own lines.
  // Top tabs draw it as the text rectangle says; on the other edges the line keeps its
  // place at the tab's outer side and is turned with the tabs.
  void DrawCaption(const QRect& rect, const QString& caption, const QFont& font, const QColor& color, int dx,
                   int dy) {
    painter_.save();
    painter_.resetTransform();
    painter_.setFont(font);
    painter_.setPen(color);
    const int flags = Qt::TextSingleLine | Qt::TextShowMnemonic | Qt::AlignCenter;
    if (nb_.orientation_ == TClTabOrientation::toTop) {
      painter_.drawText(rect.translated(dx, dy), (flags & ~Qt::AlignVCenter) | Qt::AlignTop, caption);
      painter_.restore();
      return;
    }
    const int lineHeight = std::min(nb_.TextHeight(font), rect.height());
    const QRect line = WidgetRect(QRect(rect.left(), rect.top(), rect.width(), lineHeight));
    switch (nb_.orientation_) {
      case TClTabOrientation::toBottom: painter_.drawText(line.translated(dx, dy), flags, caption); break;
      case TClTabOrientation::toRight:
        // Turned a quarter counter-clockwise: the text reads upwards.
        painter_.translate(line.left(), line.bottom() + 1);
        painter_.rotate(-90);
        painter_.drawText(QRect(dx, dy, line.height(), line.width()), flags, caption);
        break;
      case TClTabOrientation::toLeft:
        // Turned three quarters: the text reads downwards.
        painter_.translate(line.right() + 1, line.top());
        painter_.rotate(90);
        painter_.drawText(QRect(dx, dy, line.height(), line.width()), flags, caption);
        break;
      case TClTabOrientation::toTop: break;
    }
    painter_.restore();
  }

  void DrawFocus(const QRect& rect) {
    QStyleOptionFocusRect option;
    option.initFrom(&nb_);
    option.rect = WidgetRect(rect);
    option.backgroundColor = nb_.Color();
    painter_.save();
    painter_.resetTransform();
    nb_.style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter_, &nb_);
    painter_.restore();
  }

  // A small triangle of `legs` pixels at a top corner, in the colour found above it;
  // `inward` is +1 at a left corner and -1 at a right one.
  void RoundCorner(QPoint corner, int inward, int legs, const QColor& color) {
    for (int across = 0; across < legs; ++across) {
      for (int down = 0; across + down < legs; ++down) FillRect(QRect(corner.x() + inward * across, corner.y() + down, 1, 1), color);
    }
  }

  // Lines from point to point, each without its last pixel, as the tabs were drawn.
  // The segments are straight or diagonal.
  void Lines(std::initializer_list<QPoint> points, const QColor& color) {
    const QPoint* from = points.begin();
    for (const QPoint* to = from + 1; to != points.end(); from = to++) {
      const int dx = (to->x() > from->x()) - (to->x() < from->x());
      const int dy = (to->y() > from->y()) - (to->y() < from->y());
      const int steps = std::max(std::abs(to->x() - from->x()), std::abs(to->y() - from->y()));
      if (dx == 0 || dy == 0) {
        const QPoint last = *from + QPoint(dx, dy) * (steps - 1);
        if (steps > 0) {
          FillRect(QRect(QPoint(std::min(from->x(), last.x()), std::min(from->y(), last.y())),
                         QPoint(std::max(from->x(), last.x()), std::max(from->y(), last.y()))),
                   color);
        }
        continue;
      }
      for (int step = 0; step < steps; ++step) FillRect(QRect(*from + QPoint(dx, dy) * step, QSize(1, 1)), color);
    }
  }

  void FillRect(const QRect& rect, const QColor& color) { painter_.fillRect(QRectF(rect), color); }

  // The tab's outline (L, B), (L, T+2), (L+2, T), (R-4, T), (R-2, T+2), (R-2, B), filled
  // with its edge, row by row.
  void FillTabShape(int l, int t, int r, int b, const QColor& color) {
    FillRect(QRect(QPoint(l + 2, t), QPoint(r - 4, t)), color);
    FillRect(QRect(QPoint(l + 1, t + 1), QPoint(r - 3, t + 1)), color);
    FillRect(QRect(QPoint(l, t + 2), QPoint(r - 2, b)), color);
  }

  QRect WidgetRect(const QRect& rect) const { return frame_.mapRect(QRectF(rect)).toRect(); }

  QColor PixelAt(int x, int y) const {
    const QPointF at = frame_.mapRect(QRectF(x, y, 1, 1)).topLeft() * dpr_;
    const QPoint pixel = at.toPoint();
    return image_.rect().contains(pixel) ? image_.pixelColor(pixel) : background_;
  }

  TClNotebook& nb_;
  QTransform frame_;
  QSize edge_;
  qreal dpr_;
  QImage image_;
  QPainter painter_;
  QColor background_;
  int pageTop_ = 0;
};

void TClNotebook::paintEvent(QPaintEvent*) {
  RunGuarded([this] { TClNotebookPainter(*this).Paint(); });
}
