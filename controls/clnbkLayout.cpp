#include "controls/clnbkLayout.h"

#include <algorithm>
#include <numeric>

namespace {

constexpr int kMinTabWidth = 20;
constexpr int kCaptionMargin = 12;
constexpr int kFirstTabLeft = 2;
constexpr int kFirstRowTop = 2;

bool HasTab(const std::vector<int>& widths, size_t page) { return widths[page] > 0; }

// P pages to a row until the rows are full, then one each from row 0 on.
int FixedRows(const std::vector<int>& widths, int rowCount, std::vector<int>& rows) {
  const int perRow = static_cast<int>(widths.size()) / rowCount;
  int row = 0;
  int inRow = 0;
  int overflowRow = 0;
  for (size_t page = 0; page < widths.size(); ++page) {
    if (!HasTab(widths, page)) continue;
    if (perRow > 0 && row < rowCount) {
      rows[page] = row;
      if (++inRow == perRow) {
        ++row;
        inRow = 0;
      }
    } else {
      rows[page] = overflowRow++ % rowCount;
    }
  }
  return rowCount;
}

// Greedy: a row takes its first tab and then every next one that still fits.
int AutomaticRows(const std::vector<int>& widths, int edgeLength, std::vector<int>& rows) {
  int rowCount = 0;
  int used = 0;
  for (size_t page = 0; page < widths.size(); ++page) {
    if (!HasTab(widths, page)) continue;
    if (rowCount == 0 || used + widths[page] > edgeLength) {
      ++rowCount;
      used = 0;
    }
    rows[page] = rowCount - 1;
    used += widths[page];
  }
  return rowCount;
}

// Equal tabs whose rows fill the edge: each row's leftover is spread over its tabs, the
// remainder a pixel at a time from the first tab; rows left without tabs are dropped.
void StretchRows(TClTabLayout& layout, int edgeLength) {
  std::vector<int> renumber(static_cast<size_t>(layout.rowCount), -1);
  int kept = 0;
  for (int row = 0; row < layout.rowCount; ++row) {
    std::vector<size_t> members;
    for (size_t page = 0; page < layout.widths.size(); ++page) {
      if (layout.widths[page] > 0 && layout.rows[page] == row) members.push_back(page);
    }
    if (members.empty()) continue;
    renumber[static_cast<size_t>(row)] = kept++;
    const int used = std::accumulate(members.begin(), members.end(), 0,
                                     [&](int sum, size_t page) { return sum + layout.widths[page]; });
    const int leftover = std::max(0, edgeLength - used);
    const int share = leftover / static_cast<int>(members.size());
    int remainder = leftover % static_cast<int>(members.size());
    for (size_t page : members) {
      layout.widths[page] += share + (remainder > 0 ? 1 : 0);
      if (remainder > 0) --remainder;
    }
  }
  for (size_t page = 0; page < layout.rows.size(); ++page) {
    if (layout.widths[page] > 0) layout.rows[page] = renumber[static_cast<size_t>(layout.rows[page])];
  }
  layout.rowCount = kept;
}

}  // namespace

QString StripAccelerators(const QString& caption) {
  QString stripped = caption;
  stripped.remove(QLatin1Char('&'));
  return stripped;
}

int TabWidthFor(int activeCaptionWidth, int pageCaptionWidth) {
  return std::max(std::max(activeCaptionWidth, pageCaptionWidth) + kCaptionMargin, kMinTabWidth);
}

int TabEdgeLength(TClTabOrientation orientation, QSize size) { return EdgeFrameSize(orientation, size).width() - 4; }

QSize EdgeFrameSize(TClTabOrientation orientation, QSize size) {
  const bool sideways = orientation == TClTabOrientation::toRight || orientation == TClTabOrientation::toLeft;
  return sideways ? size.transposed() : size;
}

QTransform EdgeFrame(TClTabOrientation orientation, QSize size) {
  const qreal w = size.width();
  const qreal h = size.height();
  switch (orientation) {
    case TClTabOrientation::toTop: return QTransform();
    case TClTabOrientation::toBottom: return QTransform(1, 0, 0, -1, 0, h);
    // Along the right edge, tabs run downwards and rows grow leftwards into the notebook.
    case TClTabOrientation::toRight: return QTransform(0, 1, -1, 0, w, 0);
    // Along the left edge, tabs run upwards and rows grow rightwards.
    case TClTabOrientation::toLeft: return QTransform(0, -1, 1, 0, 0, h);
  }
  return QTransform();
}

TClTabLayout LayOutTabs(const TClTabLayoutInput& input) {
  TClTabLayout layout;
  const size_t pages = input.widths.size();
  layout.rows.assign(pages, 0);
  layout.widths = input.widths;
  layout.tabs.assign(pages, QRect());
  if (pages == 0) return layout;

  if (input.oldStyle) {
    const int common = *std::max_element(layout.widths.begin(), layout.widths.end());
    for (int& width : layout.widths) {
      if (width > 0) width = common;
    }
  }
  layout.rowCount = input.fixedRows > 0 ? FixedRows(layout.widths, input.fixedRows, layout.rows)
                                        : AutomaticRows(layout.widths, input.edgeLength, layout.rows);
  if (input.oldStyle) StretchRows(layout, input.edgeLength);

  const bool currentHasTab = input.currentPage >= 0 && static_cast<size_t>(input.currentPage) < pages &&
                             layout.widths[static_cast<size_t>(input.currentPage)] > 0;
  layout.activeRow = currentHasTab ? layout.rows[static_cast<size_t>(input.currentPage)]
                                   : std::clamp(input.previousActiveRow, 0, std::max(0, layout.rowCount - 1));
  if (layout.rowCount == 0) return layout;

  std::vector<int> nextLeft(static_cast<size_t>(layout.rowCount), kFirstTabLeft);
  for (size_t page = 0; page < pages; ++page) {
    if (layout.widths[page] <= 0) continue;
    const int row = layout.rows[page];
    const int paintedAs = (row - layout.activeRow - 1 + 2 * layout.rowCount) % layout.rowCount;
    int& left = nextLeft[static_cast<size_t>(row)];
    layout.tabs[page] = QRect(left, kFirstRowTop + paintedAs * input.tabHeight, layout.widths[page], input.tabHeight);
    left += layout.widths[page];
  }
  return layout;
}

QRect PageArea(TClTabOrientation orientation, QSize size, int rows, int tabHeight) {
  const int w = size.width();
  const int h = size.height();
  if (tabHeight == 0) return QRect(0, 0, w, h);
  const int band = rows * tabHeight;
  switch (orientation) {
    case TClTabOrientation::toTop: return QRect(1, band + 3, w - 3, h - (band + 3) - 2);
    case TClTabOrientation::toRight: return QRect(1, 1, w - band - 4, h - 3);
    case TClTabOrientation::toBottom: return QRect(1, 1, w - 3, h - band - 5);
    case TClTabOrientation::toLeft: return QRect(band + 3, 1, w - (band + 3) - 2, h - 3);
  }
  return QRect(0, 0, w, h);
}
