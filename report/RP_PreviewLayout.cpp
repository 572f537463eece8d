#include "report/RP_PreviewLayout.h"

#include <algorithm>
#include <cmath>

TrpLastScale& rpLastScale() {
  static TrpLastScale scale;
  return scale;
}

namespace {

constexpr int kGap = 10;

double FactorFor(QSize page, QSize client, TrpZoomMode mode, double factor) {
  // A page of no size gives no fitting factor; keep the one there is.
  const int w = std::max(page.width(), 1), h = std::max(page.height(), 1);
  switch (mode) {
    case TrpZoomMode::PageWidth: return double(client.width() - 20) / w;
    case TrpZoomMode::OnePage: return double(client.height() - 20) / h;
    case TrpZoomMode::TwoPages: return double(client.width() - 30) / (2.0 * w);
    case TrpZoomMode::Free: break;
  }
  return factor;
}

int Scaled(int size, double factor) { return static_cast<int>(std::lround(size * factor)); }

int PagesPerRow(const std::vector<QSize>& sizes, int clientWidth, double factor, TrpZoomMode mode) {
  if (mode == TrpZoomMode::OnePage) return 1;
  if (mode == TrpZoomMode::TwoPages) return 2;
  int best = 0, count = 0, x = kGap;
  for (const QSize& size : sizes) {
    const int needed = Scaled(size.width(), factor) + x + kGap;
    if (needed <= clientWidth) {
      x = needed;
      ++count;
    } else {
      best = std::max(best, count);
      count = 0;
      x = kGap;
    }
  }
  return std::max({best, count, 1});
}

int ScrollMax(int extent, int client) {
  const int over = extent - client;
  return over <= 0 ? 0 : over + 10;
}

}  // namespace

TrpPreviewLayout rpLayoutPages(const std::vector<QSize>& pageSizes, int current, QSize client, TrpZoomMode mode,
                               double factor) {
  TrpPreviewLayout layout;
  if (pageSizes.empty()) {
    layout.Factor = factor;
    return layout;
  }
  current = std::clamp(current, 0, int(pageSizes.size()) - 1);
  layout.Factor = FactorFor(pageSizes[size_t(current)], client, mode, factor);
  // A window shrunk to nothing must not turn the pages inside out.
  if (layout.Factor <= 0) layout.Factor = 0.01;
  layout.PagesPerRow = PagesPerRow(pageSizes, client.width(), layout.Factor, mode);

  int y = kGap, right = 0, bottom = 0;
  for (size_t first = 0; first < pageSizes.size(); first += size_t(layout.PagesPerRow)) {
    const size_t last = std::min(pageSizes.size(), first + size_t(layout.PagesPerRow));
    int x = kGap, tallest = 0;
    for (size_t i = first; i < last; ++i) {
      const int w = Scaled(pageSizes[i].width(), layout.Factor), h = Scaled(pageSizes[i].height(), layout.Factor);
      const int left = layout.PagesPerRow == 1 && w < client.width() ? (client.width() - w) / 2 : x;
      layout.Rects.emplace_back(left, y, w, h);
      x = left + w + kGap;
      tallest = std::max(tallest, h);
      right = std::max(right, left + w);
    }
    bottom = y + tallest;
    y = bottom + kGap;
  }
  layout.HorzMax = ScrollMax(right, client.width());
  layout.VertMax = ScrollMax(bottom, client.height());
  return layout;
}

std::vector<bool> rpVisiblePages(const std::vector<QRect>& rects, int horzPos, int vertPos, QSize client) {
  const QRect area(QPoint(0, 0), client);
  std::vector<bool> visible;
  visible.reserve(rects.size());
  for (const QRect& rect : rects) visible.push_back(rect.translated(-horzPos, -vertPos).intersects(area));
  return visible;
}

int rpPageAtTop(const std::vector<QRect>& rects, int vertPos) {
  const int row = 11 + vertPos;
  for (size_t i = 0; i < rects.size(); ++i) {
    // rects hold the bottom as top + height (exclusive), as the row test wants.
    if (rects[i].top() < row && row < rects[i].top() + rects[i].height()) return int(i);
  }
  return -1;
}
