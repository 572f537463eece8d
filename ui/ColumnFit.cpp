#include "ui/ColumnFit.h"

#include "core/BTodo.h"
#include "ui/TaskCellTexts.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kDaysRemeasure = 1.0 / 96;  // a quarter of an hour

bool IsDaysColumn(int column) { return column == tcDaysGone || column == tcDaysLeft; }

// Columns whose texts repeat across rows (names, dates, codes): measured once per text.
bool CachedByText(int column) { return column != tcTitle && column != tcNotes; }

}  // namespace

int MeasuredColumnWidth(int largestText, int textMargin) { return largestText + 2 * textMargin + 2; }

int HeaderMinWidth(int captionWidth) { return captionWidth + 20; }

int FitColumnWidth(int column, int measuredWidth, const TTdAppOptions& o, int minWidth) {
  int width = measuredWidth;
  switch (column) {
    case tcDone:
    case tcLink:
    case tcFlag:
    case tcRecurring: width = 20; break;
    case tcCategory:
    case tcPriority:
    case tcStatus:
    case tcType:
      width = (ColumnShowsText(column, o) ? measuredWidth : 0) + (ColumnShowsImage(column, o) ? 20 : 0);
      break;
    default: break;
  }
  return std::max(width, minWidth);
}

int TColumnFitter::Width(const QString& text, TRowState state, bool cacheByText) {
  if (text.isEmpty()) return 0;
  if (!cacheByText) {
    ++measureCount_;
    return measurer_.TextWidth(text, state);
  }
  auto& cache = textWidths_[static_cast<size_t>(state)];
  const auto it = cache.constFind(text);
  if (it != cache.constEnd()) return *it;
  ++measureCount_;
  const int width = measurer_.TextWidth(text, state);
  cache.insert(text, width);
  return width;
}

void TColumnFitter::Measure(const TTdTodo& task, Entry& entry, const TTaskViewContext& c, bool daysOnly) {
  const TRowState state = TaskRowState(task, *c.Options, c.Now);
  for (int column = 0; column < kColumnCount; ++column) {
    if (daysOnly && !IsDaysColumn(column)) continue;
    int width = 0;
    if (ColumnShown(column, *c.Options) && ColumnShowsText(column, *c.Options))
      width = Width(TaskCellText(task, column, c), state, CachedByText(column));
    entry.widths[static_cast<size_t>(column)] = static_cast<uint16_t>(std::clamp(width, 0, 65535));
  }
  entry.measuredAt = c.Now;
}

const TColumnWidths& TColumnFitter::LargestTexts(const VisibleTasks& visible, const TTaskViewContext& c) {
  const bool daysShown = ColumnShown(tcDaysGone, *c.Options) || ColumnShown(tcDaysLeft, *c.Options);
  if (maximaValid_ && (!daysShown || std::fabs(c.Now - maximaAt_) <= kDaysRemeasure)) return maxima_;
  maxima_.fill(0);
  visible([&](const TTdTodo& task) {
    auto [it, fresh] = entries_.try_emplace(&task);
    Entry& entry = it->second;
    if (fresh) Measure(task, entry, c, false);
    else if (daysShown && std::fabs(c.Now - entry.measuredAt) > kDaysRemeasure) Measure(task, entry, c, true);
    for (size_t k = 0; k < maxima_.size(); ++k) maxima_[k] = std::max<int>(maxima_[k], entry.widths[k]);
  });
  maximaValid_ = true;
  maximaAt_ = c.Now;
  return maxima_;
}

void TColumnFitter::TaskChanged(const TTdTodo* task) {
  entries_.erase(task);
  maximaValid_ = false;
}

void TColumnFitter::TaskRemoved(const TTdTodo* task) { TaskChanged(task); }

void TColumnFitter::ForgetAll() {
  entries_.clear();
  for (auto& cache : textWidths_) cache.clear();
  maximaValid_ = false;
}
