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

void TColumnFitter::Measure(const TTdTodo& task, Entry& entry, const TTaskViewContext& c, bool daysOnly,
                            bool bound) {
  const TRowState state = TaskRowState(task, *c.Options, c.Now);
  for (int column = 0; column < kColumnCount; ++column) {
    if (daysOnly && !IsDaysColumn(column)) continue;
    const uint32_t bit = 1u << column;
    entry.bounded &= ~bit;
    int width = 0;
    if (ColumnShown(column, *c.Options) && ColumnShowsText(column, *c.Options)) {
      const QString text = TaskCellText(task, column, c);
      // Texts that repeat are measured once anyway; bounds pay for the unique ones.
      const int upper = bound && !CachedByText(column) && !text.isEmpty() ? measurer_.UpperBound(text, state) : -1;
      if (upper >= 0) {
        width = upper;
        entry.bounded |= bit;
      } else {
        width = Width(text, state, CachedByText(column));
      }
    }
    entry.widths[static_cast<size_t>(column)] = static_cast<uint16_t>(std::clamp(width, 0, 65535));
  }
  entry.measuredAt = c.Now;
}

void TColumnFitter::MeasureExactly(const TTdTodo& task, Entry& entry, int column, const TTaskViewContext& c) {
  const TRowState state = TaskRowState(task, *c.Options, c.Now);
  const int width = Width(TaskCellText(task, column, c), state, CachedByText(column));
  entry.widths[static_cast<size_t>(column)] = static_cast<uint16_t>(std::clamp(width, 0, 65535));
  entry.bounded &= ~(1u << column);
}

void TColumnFitter::Count(const TTdTodo& task, Entry& entry, const TTaskViewContext& c) {
  for (size_t k = 0; k < maxima_.size(); ++k) {
    if (entry.bounded & (1u << k)) {
      if (entry.widths[k] < maxima_[k]) continue;  // below the maximum whatever it measures
      MeasureExactly(task, entry, static_cast<int>(k), c);
    }
    const int width = entry.widths[k];
    if (width > maxima_[k]) {
      maxima_[k] = width;
      atMaximum_[k] = 1;
    } else if (width == maxima_[k]) {
      ++atMaximum_[k];
    }
  }
  entry.countedIn = generation_;
}

void TColumnFitter::Uncount(Entry& entry) {
  if (entry.countedIn != generation_) return;
  entry.countedIn = 0;
  if (!maximaValid_) return;
  for (size_t k = 0; k < maxima_.size(); ++k)
    if (!(entry.bounded & (1u << k)) && entry.widths[k] == maxima_[k] && --atMaximum_[k] == 0 && maxima_[k] > 0)
      maximaValid_ = false;
}

void TColumnFitter::CountAll(const VisibleTasks& visible, const TTaskViewContext& c) {
  struct Row {
    const TTdTodo* task;
    Entry* entry;
  };
  std::vector<Row> rows;
  visible([&](const TTdTodo& task) { rows.push_back({&task, nullptr}); });
  entries_.reserve(rows.size());
  const bool bound = std::ssize(rows) >= boundRows_;
  const bool daysShown = ColumnShown(tcDaysGone, *c.Options) || ColumnShown(tcDaysLeft, *c.Options);
  uint32_t boundedColumns = 0;
  maxima_.fill(0);
  for (Row& row : rows) {
    auto [it, fresh] = entries_.try_emplace(row.task);
    row.entry = &it->second;
    Entry& entry = *row.entry;
    if (fresh) Measure(*row.task, entry, c, false, bound);
    else if (daysShown && std::fabs(c.Now - entry.measuredAt) > kDaysRemeasure) Measure(*row.task, entry, c, true);
    boundedColumns |= entry.bounded;
    for (size_t k = 0; k < maxima_.size(); ++k)
      if (!(entry.bounded & (1u << k))) maxima_[k] = std::max<int>(maxima_[k], entry.widths[k]);
  }
  // Only rows whose bound reaches the widest measured text can be wider: measured widest
  // bound first, until the next bound falls below the maximum.
  for (int column = 0; column < kColumnCount; ++column) {
    const uint32_t bit = 1u << column;
    if (!(boundedColumns & bit)) continue;
    const size_t k = static_cast<size_t>(column);
    std::vector<Row> candidates;
    for (const Row& row : rows)
      if ((row.entry->bounded & bit) && row.entry->widths[k] >= maxima_[k]) candidates.push_back(row);
    const auto lessBound = [k](const Row& a, const Row& b) { return a.entry->widths[k] < b.entry->widths[k]; };
    std::make_heap(candidates.begin(), candidates.end(), lessBound);
    while (!candidates.empty() && candidates.front().entry->widths[k] >= maxima_[k]) {
      std::pop_heap(candidates.begin(), candidates.end(), lessBound);
      const Row row = candidates.back();
      candidates.pop_back();
      MeasureExactly(*row.task, *row.entry, column, c);
      maxima_[k] = std::max<int>(maxima_[k], row.entry->widths[k]);
    }
  }
  // Every bound left lies below its maximum: the counts at the maxima are exact.
  ++generation_;
  atMaximum_.fill(0);
  for (const Row& row : rows) Count(*row.task, *row.entry, c);
}

const TColumnWidths& TColumnFitter::LargestTexts(const VisibleTasks& visible, const TTaskViewContext& c) {
  const bool daysShown = ColumnShown(tcDaysGone, *c.Options) || ColumnShown(tcDaysLeft, *c.Options);
  if (maximaValid_ && (!daysShown || std::fabs(c.Now - maximaAt_) <= kDaysRemeasure)) {
    // Rows whose texts changed since are measured again and counted anew.
    for (const TTdTodo* task : changed_) {
      Entry& entry = entries_[task];
      Measure(*task, entry, c, false);
      Count(*task, entry, c);
    }
    changed_.clear();
    return maxima_;
  }
  for (const TTdTodo* task : changed_) entries_.erase(task);  // their widths are old
  changed_.clear();
  CountAll(visible, c);
  maximaValid_ = true;
  maximaAt_ = c.Now;
  return maxima_;
}

void TColumnFitter::TaskChanged(const TTdTodo* task) {
  const auto it = entries_.find(task);
  if (it == entries_.end()) return;
  const bool counted = maximaValid_ && it->second.countedIn == generation_;
  Uncount(it->second);
  // A counted row is measured again at the next fit; any other row when it is counted.
  if (counted && maximaValid_) changed_.push_back(task);
  else entries_.erase(it);
}

void TColumnFitter::TaskRemoved(const TTdTodo* task) {
  std::erase(changed_, task);
  const auto it = entries_.find(task);
  if (it == entries_.end()) return;
  Uncount(it->second);
  entries_.erase(it);
}

void TColumnFitter::RowShown(const TTdTodo& task, const TTaskViewContext& c) {
  if (!maximaValid_) return;  // the next fit counts every visible row
  auto [it, fresh] = entries_.try_emplace(&task);
  Entry& entry = it->second;
  if (entry.countedIn == generation_) return;
  if (fresh || std::find(changed_.begin(), changed_.end(), &task) != changed_.end()) Measure(task, entry, c, false);
  std::erase(changed_, &task);
  Count(task, entry, c);
}

void TColumnFitter::ForgetAll() {
  entries_.clear();
  changed_.clear();
  for (auto& cache : textWidths_) cache.clear();
  maximaValid_ = false;
}
