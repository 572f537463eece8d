#pragma once
// Where the preview puts its pages, free of any widget: the zoom a mode gives for the
// client size, the rows of pages with their display rectangles, the scroll ranges, and
// which pages meet the client area at given scroll positions.
#include <QRect>
#include <QSize>
#include <vector>

enum class TrpZoomMode { Free = 0, PageWidth = 1, OnePage = 2, TwoPages = 3 };

// The last zoom the user chose; every preview starts from it.
struct TrpLastScale {
  double Factor = 1.0;
  TrpZoomMode Mode = TrpZoomMode::Free;
};
TrpLastScale& rpLastScale();

struct TrpPreviewLayout {
  double Factor = 1.0;
  int PagesPerRow = 1;
  std::vector<QRect> Rects;  // display rectangles, unscrolled
  int HorzMax = 0, VertMax = 0;
};

// pageSizes: each page at 100 %; current: 0-based index whose size fixes the factor of
// the fitting modes.
TrpPreviewLayout rpLayoutPages(const std::vector<QSize>& pageSizes, int current, QSize client, TrpZoomMode mode,
                               double factor);

// Pages whose rectangle, moved by the scroll positions, meets the client area.
std::vector<bool> rpVisiblePages(const std::vector<QRect>& rects, int horzPos, int vertPos, QSize client);

// The page at the top of the view for a vertical position: the first whose rectangle
// spans the row 11 pixels into the area; -1 when none does.
int rpPageAtTop(const std::vector<QRect>& rects, int vertPos);

// The vertical position that shows the page at the top: 10 pixels above it.
inline int rpScrollPosForPage(const QRect& rect) { return rect.top() - 10; }
