#pragma once
// Column widths of the task list fitted to their content: the widest cell text of each
// column over the visible rows, each row measured in its own state's font.
//
// Measuring every row at every change would be slow for large lists, so the fitter
// keeps each task's measured widths until the task changes or the fonts do (ForgetAll),
// and keeps the column maxima, with the number of rows at each maximum, until the set of
// visible rows changes (VisibleRowsChanged). A fit with nothing changed costs O(1); after
// a change of the visible rows O(visible rows) without measuring. A row shown or hidden
// on its own (a task added or deleted) and a changed task move the maxima without a
// pass over the other rows, unless the last row at a maximum went. Days Gone and Days
// Left follow the clock: their widths are measured again when "now" moved by more than
// a quarter of an hour.
//
// Counting many rows afresh (the first fit of a large list) measures exactly only the
// titles and notes that can still be the widest: every other text gets a cheap upper
// bound from the measurer, and a text is measured exactly once its bound reaches the
// widest exact width of its column. A row whose width is only a bound is never at a
// maximum, so the counts at the maxima stay exact; should the maximum drop below the
// bound later, the row is measured then.
#include "ui/TaskRowState.h"
#include "ui/TaskViewContext.h"

#include <QHash>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <unordered_map>
#include <vector>

class TTdTodo;

// Text widths in pixels, in the font of a row state.
class TTextMeasurer {
public:
  virtual ~TTextMeasurer() = default;
  virtual int TextWidth(const QString& text, TRowState state) = 0;
  // At least TextWidth (text, state), and cheaper; -1 when there is none for this text.
  virtual int UpperBound(const QString& /*text*/, TRowState /*state*/) { return -1; }
};

using TColumnWidths = std::array<int, 19>;

// The measured width of a column whose widest text is `largestText`: + 2 × the text
// margin + 2.
int MeasuredColumnWidth(int largestText, int textMargin);
// The fitted width: 20 for the check, link, flag and recurring columns; for category,
// priority, status and type the measured width when their text shows (else 0), + 20
// when their image shows; the measured width for the rest; never below minWidth.
int FitColumnWidth(int column, int measuredWidth, const TTdAppOptions& options, int minWidth);
// A header caption's width + 20: the least width of its column.
int HeaderMinWidth(int captionWidth);

class TColumnFitter {
public:
  // Bounds are asked for from `boundRows` visible rows on: below, building the bound
  // tables would cost more than measuring.
  static constexpr int kBoundRows = 4000;
  explicit TColumnFitter(TTextMeasurer& measurer, int boundRows = kBoundRows)
      : measurer_(measurer), boundRows_(boundRows) {}

  // Calls `visit` for every visible row's task.
  using VisibleTasks = std::function<void(const std::function<void(const TTdTodo&)>& visit)>;

  // The widest text of every column over the visible rows (0 where no row has text).
  const TColumnWidths& LargestTexts(const VisibleTasks& visible, const TTaskViewContext& context);

  // A task's texts changed: measured again at the next fit.
  void TaskChanged(const TTdTodo* task);
  // A task goes (its row is deleted); its widths leave the maxima.
  void TaskRemoved(const TTdTodo* task);
  // One row came into view by itself (a task added): its widths join the maxima.
  void RowShown(const TTdTodo& task, const TTaskViewContext& context);
  void VisibleRowsChanged() { maximaValid_ = false; }
  // Fonts or display options changed: everything is measured again.
  void ForgetAll();

  // How many cell texts were measured since the fitter was made (for tests of the cache).
  int64_t MeasureCount() const { return measureCount_; }

private:
  struct Entry {
    std::array<uint16_t, 19> widths{};
    uint32_t bounded = 0;  // by column: the width is an upper bound, not measured
    TDateTime measuredAt = 0;
    uint64_t countedIn = 0;  // the maxima generation whose counts hold these widths
  };
  void Measure(const TTdTodo& task, Entry& entry, const TTaskViewContext& context, bool daysOnly,
               bool bound = false);
  int Width(const QString& text, TRowState state, bool cacheByText);
  // Replaces the bound of one column by the measured width.
  void MeasureExactly(const TTdTodo& task, Entry& entry, int column, const TTaskViewContext& context);
  // Counts every visible row afresh.
  void CountAll(const VisibleTasks& visible, const TTaskViewContext& context);
  // Adds the entry's widths to the maxima and their counts, or takes them out (a
  // maximum whose last row went leaves the maxima to be counted again). A bound that
  // reaches its column's maximum is measured first.
  void Count(const TTdTodo& task, Entry& entry, const TTaskViewContext& context);
  void Uncount(Entry& entry);

  TTextMeasurer& measurer_;
  int boundRows_;
  std::unordered_map<const TTdTodo*, Entry> entries_;
  std::array<QHash<QString, int>, kRowStateCount> textWidths_;  // short repeated texts
  TColumnWidths maxima_{};
  std::array<int, 19> atMaximum_{};  // rows whose width equals the maximum, by column
  uint64_t generation_ = 1;          // of the maxima; counted entries carry it
  std::vector<const TTdTodo*> changed_;  // counted rows to measure again at the next fit
  bool maximaValid_ = false;
  TDateTime maximaAt_ = 0;
  int64_t measureCount_ = 0;
};
