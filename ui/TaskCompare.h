#pragma once
// The order of the task list: one column's comparison of two tasks, and the order of the
// sort keys the options hold.
//
// Text columns (title, category, resource, type) compare without regard to case by the
// locale. A locale comparison per pair is slow for large lists, so PrepareKeys collates
// the titles once per task (on several threads for large stores, into sort keys of bytes,
// platform/CollationKeys.h) and the lookup names once per entry; comparisons then look
// up two ranks. Without prepared keys the
// comparer collates pair by pair, with the same result.
#include "platform/CollationKeys.h"
#include "ui/TaskViewContext.h"

#include <QCollator>
#include <QLocale>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class TTdTodo;
class TTdTodoList;

constexpr int kNoSortElement = 255;

class TTaskComparer {
public:
  TTaskComparer(const TTaskViewContext& context, const QLocale& locale = QLocale());
  ~TTaskComparer();

  // Negative, 0 or positive. Column 1 is never 0 (-1 when a's ID is smaller, else 1);
  // columns 10 and 11 are always 0.
  int CompareTasksByColumn(int column, const TTdTodo& a, const TTdTodo& b) const;
  // The sort as the tree asks for it: the header's sort column alone when there is one
  // (>= 0), else SortElement1, then 2 and 3 on a tie (each unless 255).
  int CompareForSort(int headerSortColumn, const TTdTodo& a, const TTdTodo& b) const;

  // A number the column's comparison orders by first: a smaller number sorts before,
  // and only tasks with equal numbers need comparing. False for columns whose order is
  // no single number (titles have TitleOrder; days gone and days left round; lookups
  // outside their lists compare by text) and for dates that are not numbers.
  bool SortNumber(int column, const TTdTodo& task, int64_t& number) const;

  // Collates every task's title and every lookup name; valid until the store or a name
  // changes (then prepare again: only titles changed since are collated anew). `threads`
  // 0: as many as the machine has, for large stores.
  void PrepareKeys(const TTdTodoList& tasks, int threads = 0);
  // Keeping prepared keys up to date one task at a time, O(n) at most and collating only
  // that task's title. Each answers false when the keys did not describe the store as it
  // was (then prepare them again).
  // The store grew at its end (an add, an undo, a reminder pass).
  bool TasksAppended(const TTdTodoList& tasks);
  // The task's title changed.
  bool TitleChanged(const TTdTodo& task);
  // The task is about to leave the store (it is still in it).
  bool TaskRemoving(const TTdTodo& task);
  bool KeysPrepared() const { return keyedList_ != nullptr; }
  // The title's place in collation order (equal titles share it); -1 without keys or
  // for a task that came after them.
  int TitleRank(const TTdTodo& task) const;
  // A number in the order of the titles, equal for equal titles; the smallest there is
  // without keys or for a task that came after them. Unlike ranks, the numbers of other
  // titles stay when TitleChanged or TasksAppended ranks a title anew, so numbers copied
  // elsewhere stay valid if the caller copies that task's new one.
  int64_t TitleOrder(const TTdTodo& task) const;
  // Changes whenever any task's order number changes otherwise.
  uint64_t OrderVersion() const { return orderVersion_; }

  const TTaskViewContext& Context() const { return context_; }
  void SetNow(TDateTime now) { context_.Now = now; }

private:
  int CompareText(const QString& a, const QString& b) const;
  int CompareTitles(const TTdTodo& a, const TTdTodo& b) const;
  int CompareLookup(int column, int32_t a, int32_t b) const;
  // The rank of a title's key, a new one between its neighbours when no title has it yet.
  int RankOfKey(const TCollationKey& key);
  // A key made on this thread, into the arena of keys made one at a time.
  TCollationKey MakeKey(const QString& title);
  // Keys of titles that went stay in their arenas until these hold twice what is in
  // use; then the keys in use move to one arena of their own.
  void CompactKeysWhenWasteful();
  // Order numbers, evenly spaced, for `count` ranks (none: as many as the titles have).
  void NumberRanks(std::optional<size_t> count = std::nullopt);
  // PrepareKeys with nothing kept, and with keys to keep.
  void CollateAllTitles(const TTdTodoList& tasks, int threads);
  void CollateChangedTitles(const TTdTodoList& tasks, int threads);
  void EnsureRankKeys();

  TTaskViewContext context_;
  std::unique_ptr<QCollator> collator_;
  const TTdTodoList* keyedList_ = nullptr;
  // Three lists by store index: the task with the title its key was made of, the key,
  // and the title's rank.
  struct TTitleEntry {
    const TTdTodo* Task;
    QString Title;
  };
  std::vector<TTitleEntry> entries_;
  std::vector<TCollationKey> keys_;
  std::vector<std::unique_ptr<TCollationKeyArena>> arenas_;  // where keys_ and rankKeys_ point
  TCollationKeyArena* singleKeys_ = nullptr;                 // in arenas_: keys made one at a time
  static constexpr size_t kKeyBytesBeforeCompacting = size_t{1} << 20;
  size_t nextCompactionCheck_ = kKeyBytesBeforeCompacting;
  std::unique_ptr<TCollationKeyMaker> keyMaker_;             // for those, made on first use
  std::vector<int> titleRank_;
  // The order number of each rank: a title ranked between two others takes one between
  // theirs, and all are numbered again only when there is none.
  static constexpr int64_t kOrderGap = int64_t{1} << 32;
  std::vector<int64_t> rankOrder_;
  uint64_t orderVersion_ = 0;
  // One key per rank, in rank order; a rank whose titles all went keeps its key. Made
  // only when a change task by task needs them (valid until the next full ranking).
  std::vector<TCollationKey> rankKeys_;
  bool rankKeysValid_ = false;
  std::vector<int> categoryRank_, resourceRank_, typeRank_;  // by entry position
};

// Runs part(from, to) over consecutive ranges that cover 0 .. n-1, on `threads` threads
// (0: as many as this process may run on; a small n uses one).
void ForRangesInParallel(size_t n, const std::function<void(size_t from, size_t to)>& part, int threads = 0);

// Ranks of texts in collation order without regard to case: equal texts share a rank.
// Keys are made once per text and sorted, split over `threads` threads (0: as many as
// this process may run on; small lists use one). The result is the same on any number.
std::vector<int> CollationRanks(const std::vector<QString>& texts, const QLocale& locale, int threads = 0);
