#pragma once
// The notebook's tab layout as plain functions of the measured tab widths and the
// notebook's size, so rows, widths and page areas can be worked out without a window.
//
// Tabs are laid out in an "edge frame": x runs along the tab edge, y from the edge into
// the notebook, as the top tabs lie. EdgeFrame maps that frame onto the notebook for the
// other three edges (bottom mirrors the top; right and left turn it by a quarter).
#include <QRect>
#include <QSize>
#include <QString>
#include <QTransform>

#include <vector>

class QFont;
class TFmTextMetrics;

enum class TClTabOrientation { toTop, toRight, toBottom, toLeft };

// The caption as it is measured: every "&" taken out.
QString StripAccelerators(const QString& caption);
// Width of one tab: the wider of the caption in the active tab's font (0 when that is
// not used) and in the page's font, plus 12, at least 20.
int TabWidthFor(int activeCaptionWidth, int pageCaptionWidth);
// Room for a row of tabs along the edge.
int TabEdgeLength(TClTabOrientation orientation, QSize size);
// Size of the edge frame for the orientation (width along the edge).
QSize EdgeFrameSize(TClTabOrientation orientation, QSize size);
// Maps the edge frame onto the notebook: a pixel (x, y) of the frame lands on one pixel.
QTransform EdgeFrame(TClTabOrientation orientation, QSize size);

struct TClTabLayout {
  int rowCount = 0;
  int activeRow = 0;
  std::vector<int> rows;    // row of each page (0 for pages without a tab)
  std::vector<int> widths;  // final width of each page's tab (0 without a tab)
  std::vector<QRect> tabs;  // each page's tab in the edge frame (empty without a tab)
};

struct TClTabLayoutInput {
  std::vector<int> widths;  // measured tab widths, 0 for a page without a tab
  int edgeLength = 0;
  int fixedRows = 0;        // 0: as many rows as the tabs need
  bool oldStyle = false;    // equal tabs, rows stretched to the edge
  int tabHeight = 0;
  int currentPage = -1;
  int previousActiveRow = 0;
};

// Rows, widths and tab rectangles. Rows are painted starting after the active row, so
// the active row always lies next to the page: the first painted row's top is at y 2.
TClTabLayout LayOutTabs(const TClTabLayoutInput& input);

// Where the pages go in the notebook, with `rows` rows of tabs of `tabHeight` (no tabs
// when tabHeight is 0: the pages cover the notebook).
QRect PageArea(TClTabOrientation orientation, QSize size, int rows, int tabHeight);
