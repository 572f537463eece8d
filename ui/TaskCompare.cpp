#include "ui/TaskCompare.h"

#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "ui/TaskCellTexts.h"

#include <QCollator>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <functional>
#include <thread>

namespace {

int Sign(double d) { return d < 0 ? -1 : (d > 0 ? 1 : 0); }

QCollator MakeCollator(const QLocale& locale) {
  QCollator collator(locale);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  return collator;
}

// Halves go to the even neighbour.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }

template <typename Handler>
std::vector<int> LookupRanks(const Handler* handler, const QLocale& locale) {
  if (!handler) return {};
  std::vector<QString> names;
  names.reserve(static_cast<size_t>(handler->Count()));
  for (const auto& entry : handler->Items()) names.push_back(entry->Name);
  return CollationRanks(names, locale, 1);
}

}  // namespace

namespace {

int ThreadsFor(size_t n, int threads) {
  if (threads <= 0) threads = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
  return static_cast<int>(std::min<size_t>(static_cast<size_t>(threads), std::max<size_t>(1, n / 2048)));
}

// Runs work(t) for t = 0 .. threads-1, t = 0 on this thread.
void Parallel(int threads, const std::function<void(int)>& work) {
  std::vector<std::thread> pool;
  for (int t = 1; t < threads; ++t) pool.emplace_back(work, t);
  work(0);
  for (auto& th : pool) th.join();
}

}  // namespace

std::vector<QCollatorSortKey> CollationKeys(const std::vector<QString>& texts, const QLocale& locale, int threads) {
  const size_t n = texts.size();
  threads = ThreadsFor(n, threads);
  const size_t per = (n + static_cast<size_t>(threads) - 1) / static_cast<size_t>(threads);
  // Each thread with its own collator. QCollatorSortKey has no empty state, so each
  // slice fills its own vector and they are joined in order.
  std::vector<std::vector<QCollatorSortKey>> slices(static_cast<size_t>(threads));
  Parallel(threads, [&](int t) {
    const QCollator collator = MakeCollator(locale);
    const size_t from = std::min(n, static_cast<size_t>(t) * per), to = std::min(n, from + per);
    auto& out = slices[static_cast<size_t>(t)];
    out.reserve(to - from);
    for (size_t i = from; i < to; ++i) out.push_back(collator.sortKey(texts[i]));
  });
  std::vector<QCollatorSortKey> keys;
  keys.reserve(n);
  for (auto& slice : slices)
    for (auto& key : slice) keys.push_back(std::move(key));
  return keys;
}

std::vector<int> RanksOfKeys(const std::vector<const QCollatorSortKey*>& keys, int threads) {
  const size_t n = keys.size();
  threads = ThreadsFor(n, threads);
  const size_t per = (n + static_cast<size_t>(threads) - 1) / static_cast<size_t>(threads);
  // Slices sorted on their threads, then merged pairwise, a level at a time. Equal keys
  // keep the order of their texts, so the result is the same on any number of threads.
  std::vector<int> order(n);
  std::iota(order.begin(), order.end(), 0);
  const auto less = [&](int a, int b) {
    const int c = keys[static_cast<size_t>(a)]->compare(*keys[static_cast<size_t>(b)]);
    return c < 0 || (c == 0 && a < b);
  };
  Parallel(threads, [&](int t) {
    const size_t from = std::min(n, static_cast<size_t>(t) * per), to = std::min(n, from + per);
    std::sort(order.begin() + static_cast<std::ptrdiff_t>(from), order.begin() + static_cast<std::ptrdiff_t>(to), less);
  });
  for (size_t width = per; width < n; width *= 2) {
    std::vector<std::thread> pool;
    for (size_t from = 0; from + width < n; from += 2 * width) {
      const auto first = order.begin() + static_cast<std::ptrdiff_t>(from);
      const auto middle = first + static_cast<std::ptrdiff_t>(width);
      const auto last = order.begin() + static_cast<std::ptrdiff_t>(std::min(n, from + 2 * width));
      pool.emplace_back([=, &less] { std::inplace_merge(first, middle, last, less); });
    }
    for (auto& th : pool) th.join();
  }
  std::vector<int> rank(n);
  int current = 0;
  for (size_t i = 0; i < n; ++i) {
    if (i > 0 && keys[static_cast<size_t>(order[i - 1])]->compare(*keys[static_cast<size_t>(order[i])]) != 0) ++current;
    rank[static_cast<size_t>(order[i])] = current;
  }
  return rank;
}

std::vector<int> CollationRanks(const std::vector<QString>& texts, const QLocale& locale, int threads) {
  const std::vector<QCollatorSortKey> keys = CollationKeys(texts, locale, threads);
  std::vector<const QCollatorSortKey*> pointers;
  pointers.reserve(keys.size());
  for (const auto& key : keys) pointers.push_back(&key);
  return RanksOfKeys(pointers, threads);
}

TTaskComparer::TTaskComparer(const TTaskViewContext& context, const QLocale& locale)
    : context_(context), collator_(std::make_unique<QCollator>(MakeCollator(locale))) {}

TTaskComparer::~TTaskComparer() = default;

void TTaskComparer::PrepareKeys(const TTdTodoList& tasks, int threads) {
  // Keys of titles that did not change since the last call are kept; only the others
  // are collated, and the keys of tasks that went are dropped. Over the same tasks the
  // ranks are kept too, and only changed titles are ranked again.
  ++generation_;
  titleKeys_.reserve(static_cast<size_t>(tasks.TaskCount()));
  std::vector<const TTdTodo*> fresh;
  std::vector<QString> freshTitles;
  bool allKnown = true;  // every changed title belongs to a task keyed before
  for (const auto& task : tasks) {
    const auto it = titleKeys_.find(task.get());
    if (it != titleKeys_.end() && it->second.Title == task->Title) {
      it->second.Generation = generation_;
    } else {
      if (it != titleKeys_.end()) titleKeys_.erase(it);
      else allKnown = false;
      fresh.push_back(task.get());
      freshTitles.push_back(task->Title);
    }
  }
  std::vector<QCollatorSortKey> freshKeys = CollationKeys(freshTitles, collator_->locale(), threads);
  for (size_t i = 0; i < fresh.size(); ++i)
    titleKeys_.insert_or_assign(fresh[i], TTitleKey{freshTitles[i], freshKeys[i], generation_});
  const size_t before = titleKeys_.size();
  std::erase_if(titleKeys_, [this](const auto& entry) { return entry.second.Generation != generation_; });
  const bool sameTasks = allKnown && keyedList_ == &tasks && titleKeys_.size() == before &&
                         titleRank_.size() == static_cast<size_t>(tasks.TaskCount());

  if (sameTasks && fresh.size() <= titleRank_.size() / 64) {
    // The same tasks, a few titles changed: those are ranked among the others, and the
    // ranks of the rest stay as they are.
    for (size_t i = 0; i < fresh.size(); ++i)
      titleRank_[static_cast<size_t>(tasks.IndexOf(fresh[i]))] = RankOfKey(freshKeys[i]);
  } else {
    std::vector<const QCollatorSortKey*> keys;
    keys.reserve(static_cast<size_t>(tasks.TaskCount()));
    for (const auto& task : tasks) keys.push_back(&titleKeys_.at(task.get()).Key);
    keyedList_ = &tasks;
    titleRank_ = RanksOfKeys(keys, threads);
    const int rankCount = titleRank_.empty() ? 0 : *std::max_element(titleRank_.begin(), titleRank_.end()) + 1;
    std::vector<int> holder(static_cast<size_t>(rankCount), -1);
    for (size_t i = 0; i < titleRank_.size(); ++i)
      if (holder[static_cast<size_t>(titleRank_[i])] < 0) holder[static_cast<size_t>(titleRank_[i])] = static_cast<int>(i);
    rankKeys_.clear();
    rankKeys_.reserve(static_cast<size_t>(rankCount));
    for (int i : holder) rankKeys_.push_back(*keys[static_cast<size_t>(i)]);
  }
  categoryRank_ = LookupRanks(context_.Categories, collator_->locale());
  resourceRank_ = LookupRanks(context_.Resources, collator_->locale());
  typeRank_ = LookupRanks(context_.Types, collator_->locale());
}

int TTaskComparer::RankOfKey(const QCollatorSortKey& key) {
  const auto less = [](const QCollatorSortKey& a, const QCollatorSortKey& b) { return a.compare(b) < 0; };
  const auto at = std::lower_bound(rankKeys_.begin(), rankKeys_.end(), key, less);
  const int rank = static_cast<int>(at - rankKeys_.begin());
  if (at != rankKeys_.end() && at->compare(key) == 0) return rank;
  // A title between two ranks: every rank above moves up by one.
  rankKeys_.insert(at, key);
  for (int& r : titleRank_)
    if (r >= rank) ++r;
  return rank;
}

bool TTaskComparer::TasksAppended(const TTdTodoList& tasks) {
  if (keyedList_ != &tasks || titleRank_.size() > static_cast<size_t>(tasks.TaskCount())) return false;
  for (int i = static_cast<int>(titleRank_.size()); i < tasks.TaskCount(); ++i) {
    const TTdTodo* task = tasks.GetItem(i);
    QCollatorSortKey key = collator_->sortKey(task->Title);
    const int rank = RankOfKey(key);
    titleKeys_.insert_or_assign(task, TTitleKey{task->Title, std::move(key), generation_});
    titleRank_.push_back(rank);
  }
  return true;
}

bool TTaskComparer::TitleChanged(const TTdTodo& task) {
  if (!keyedList_) return false;
  const int index = keyedList_->IndexOf(&task);
  const auto entry = titleKeys_.find(&task);
  if (index < 0 || static_cast<size_t>(index) >= titleRank_.size() || entry == titleKeys_.end()) return false;
  if (entry->second.Title == task.Title) return true;
  entry->second.Title = task.Title;
  entry->second.Key = collator_->sortKey(task.Title);
  const int rank = RankOfKey(entry->second.Key);
  titleRank_[static_cast<size_t>(index)] = rank;
  return true;
}

bool TTaskComparer::TaskRemoving(const TTdTodo& task) {
  if (!keyedList_) return false;
  const int index = keyedList_->IndexOf(&task);
  if (index < 0 || static_cast<size_t>(index) >= titleRank_.size()) return false;
  titleRank_.erase(titleRank_.begin() + index);
  titleKeys_.erase(&task);
  return true;
}

int TTaskComparer::TitleRank(const TTdTodo& task) const {
  if (!keyedList_) return -1;
  const int index = keyedList_->IndexOf(&task);
  return index >= 0 && static_cast<size_t>(index) < titleRank_.size() ? titleRank_[static_cast<size_t>(index)] : -1;
}

int TTaskComparer::CompareText(const QString& a, const QString& b) const { return collator_->compare(a, b); }

int TTaskComparer::CompareTitles(const TTdTodo& a, const TTdTodo& b) const {
  if (keyedList_) {
    const int ia = keyedList_->IndexOf(&a), ib = keyedList_->IndexOf(&b);
    if (ia >= 0 && ib >= 0 && static_cast<size_t>(ia) < titleRank_.size() && static_cast<size_t>(ib) < titleRank_.size())
      return titleRank_[static_cast<size_t>(ia)] - titleRank_[static_cast<size_t>(ib)];
  }
  return CompareText(a.Title, b.Title);
}

int TTaskComparer::CompareLookup(int column, int32_t a, int32_t b) const {
  const std::vector<int>& ranks = column == tcCategory ? categoryRank_ : column == tcResource ? resourceRank_ : typeRank_;
  const auto inRange = [&](int32_t id) { return id >= 0 && static_cast<size_t>(id) < ranks.size(); };
  if (inRange(a) && inRange(b)) return ranks[static_cast<size_t>(a)] - ranks[static_cast<size_t>(b)];
  TTdTodo ta(0.0), tb(0.0);  // names of ids outside the list ("[no ...]") through the cell texts
  ta.Category = ta.Resource = ta.Type = a;
  tb.Category = tb.Resource = tb.Type = b;
  TTaskViewContext names = context_;
  TTdAppOptions options = *context_.Options;
  options.DisplayTextCategory = options.DisplayResource = options.DisplayTextType = true;
  names.Options = &options;
  return CompareText(TaskCellText(ta, column, names), TaskCellText(tb, column, names));
}

int TTaskComparer::CompareTasksByColumn(int column, const TTdTodo& a, const TTdTodo& b) const {
  switch (column) {
    case tcDone: return int(a.IsOK()) - int(b.IsOK());
    case tcID: return a.ID < b.ID ? -1 : 1;
    case tcTitle: return CompareTitles(a, b);
    case tcCategory: return CompareLookup(column, a.Category, b.Category);
    case tcResource: return CompareLookup(column, a.Resource, b.Resource);
    case tcType: return CompareLookup(column, a.Type, b.Type);
    case tcPriority: return a.Priority - b.Priority;
    case tcStatus: return a.Status - b.Status;
    case tcPercent: return int(a.Percent) - int(b.Percent);
    case tcCreated: return Sign(a.Created - b.Created);
    case tcCompleted: return Sign(a.Completed - b.Completed);
    case tcDue:
      if (a.IsTemplate() || b.IsTemplate()) return int(b.IsTemplate()) - int(a.IsTemplate());
      return Sign(a.Due - b.Due);
    case tcReminder: {
      const int on = int(a.ReminderActivated()) - int(b.ReminderActivated());
      if (on != 0 || !a.ReminderActivated()) return on;
      return Sign(a.ReminderDateTime - b.ReminderDateTime);
    }
    case tcFlag: return int(a.Flagged()) - int(b.Flagged());
    case tcDaysGone: {
      const double now = context_.Now;
      return RoundEven((std::fabs(now - a.Created) - std::fabs(now - b.Created)) * 100);
    }
    case tcDaysLeft: {
      const double now = context_.Now;
      const auto left = [now](const TTdTodo& t) { return now > t.Due ? -(now - t.Due) : t.Due - now; };
      return RoundEven((left(a) - left(b)) * 100);
    }
    case tcRecurring: return int(a.IsTemplate() || a.FromTemplate()) - int(b.IsTemplate() || b.FromTemplate());
    default: return 0;  // link, notes
  }
}

int TTaskComparer::CompareForSort(int headerSortColumn, const TTdTodo& a, const TTdTodo& b) const {
  if (headerSortColumn >= 0) return CompareTasksByColumn(headerSortColumn, a, b);
  const TTdAppOptions& o = *context_.Options;
  if (o.SortElement1 == kNoSortElement) return 0;
  int result = CompareTasksByColumn(o.SortElement1, a, b);
  if (result == 0 && o.SortElement2 != kNoSortElement) result = CompareTasksByColumn(o.SortElement2, a, b);
  if (result == 0 && o.SortElement3 != kNoSortElement) result = CompareTasksByColumn(o.SortElement3, a, b);
  return result;
}
