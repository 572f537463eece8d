#include "ui/TaskCompare.h"

#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "ui/TaskCellTexts.h"

#include <QCollator>
#include <QThread>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <numeric>
#include <functional>
#include <limits>
#include <optional>
#include <thread>
#include <unordered_map>

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
  // The processors this process may run on, not all the machine has: a thread more
  // than those makes every step wait for the one that shares a processor.
  if (threads <= 0) threads = std::max(1, QThread::idealThreadCount());
  // A thread pays for its start and for the page faults of its own memory from about two
  // thousand texts on (at ten thousand, four threads beat both two and eight).
  return static_cast<int>(std::min<size_t>(static_cast<size_t>(threads), std::max<size_t>(1, n / 2048)));
}

// Runs work(t) for t = 0 .. threads-1, t = 0 on this thread.
void Parallel(int threads, const std::function<void(int)>& work) {
  std::vector<std::thread> pool;
  for (int t = 1; t < threads; ++t) pool.emplace_back(work, t);
  work(0);
  for (auto& th : pool) th.join();
}

// Runs piece(t, i) for i = 0 .. pieces-1 on `threads` threads (t: the thread), each
// taking the next piece when it is done: a thread the machine holds back delays only the
// piece it holds.
void ParallelPieces(int threads, size_t pieces, const std::function<void(int, size_t)>& piece) {
  std::atomic<size_t> next{0};
  Parallel(std::min<int>(threads, static_cast<int>(std::max<size_t>(1, pieces))), [&](int t) {
    for (size_t i = next++; i < pieces; i = next++) piece(t, i);
  });
}

// Where the first `diagonal` elements of the merge of two sorted runs end in the first
// run: the elements are distinct under `less`, so the merge is unique.
template <typename It, typename Less>
size_t MergeSplit(It a, size_t aSize, It b, size_t bSize, size_t diagonal, const Less& less) {
  size_t low = diagonal > bSize ? diagonal - bSize : 0, high = std::min(diagonal, aSize);
  while (low < high) {
    const size_t middle = low + (high - low) / 2;
    if (less(b[diagonal - middle - 1], a[middle])) high = middle;
    else low = middle + 1;
  }
  return low;
}

// Equal keys keep the order of their texts, so every element is distinct and the
// result is the same on any number of threads.
template <typename KeyAt>
auto KeyLess(const KeyAt& keyAt) {
  return [&keyAt](int a, int b) {
    const int c = keyAt(a).compare(keyAt(b));
    return c < 0 || (c == 0 && a < b);
  };
}

// Texts are sorted in runs of `per` (each run sorted on one thread), then the runs are
// merged a level at a time; each merge is cut into pieces at split points of its two
// runs, so the last levels use every thread too. Answers the rank of each text.
template <typename KeyAt>
std::vector<int> MergeRunsAndRank(std::vector<int>& order, size_t per, int threads, const KeyAt& keyAt) {
  const size_t n = order.size();
  const auto less = KeyLess(keyAt);
  std::vector<int> merged(n);
  for (size_t width = per; width < n; width *= 2) {
    const size_t pairs = (n + 2 * width - 1) / (2 * width);
    const size_t cuts = std::max<size_t>(1, (static_cast<size_t>(threads) * 2 + pairs - 1) / pairs);
    ParallelPieces(threads, pairs * cuts, [&](int, size_t piece) {
      const size_t pair = piece / cuts, cut = piece % cuts;
      const size_t first = pair * 2 * width, middle = std::min(n, first + width), last = std::min(n, first + 2 * width);
      const auto a = order.begin() + static_cast<std::ptrdiff_t>(first);
      const auto b = order.begin() + static_cast<std::ptrdiff_t>(middle);
      const size_t aSize = middle - first, bSize = last - middle, total = aSize + bSize;
      const size_t from = total * cut / cuts, to = total * (cut + 1) / cuts;
      const size_t aFrom = MergeSplit(a, aSize, b, bSize, from, less);
      const size_t aTo = MergeSplit(a, aSize, b, bSize, to, less);
      std::merge(a + static_cast<std::ptrdiff_t>(aFrom), a + static_cast<std::ptrdiff_t>(aTo),
                 b + static_cast<std::ptrdiff_t>(from - aFrom), b + static_cast<std::ptrdiff_t>(to - aTo),
                 merged.begin() + static_cast<std::ptrdiff_t>(first + from), less);
    });
    order.swap(merged);
  }
  // Each stretch of the order marks where a new key starts; the ranks follow from how
  // many start before. Both passes compare or write scattered keys, so both are shared.
  std::vector<int> startsHere(n, 0);  // by place in the order: 1 where a new key starts
  const size_t stretches = static_cast<size_t>(threads);
  std::vector<int> startsIn(stretches + 1, 0);
  const auto stretch = [&](size_t s) { return std::pair(n * s / stretches, n * (s + 1) / stretches); };
  ParallelPieces(threads, stretches, [&](int, size_t s) {
    const auto [from, to] = stretch(s);
    int starts = 0;
    for (size_t i = std::max<size_t>(from, 1); i < to; ++i) {
      const bool start = keyAt(order[i - 1]).compare(keyAt(order[i])) != 0;
      starts += start;
      startsHere[i] = start;
    }
    startsIn[s + 1] = starts;
  });
  std::partial_sum(startsIn.begin(), startsIn.end(), startsIn.begin());
  std::vector<int> byText(n);
  ParallelPieces(threads, stretches, [&](int, size_t s) {
    const auto [from, to] = stretch(s);
    int current = startsIn[s];
    for (size_t i = from; i < to; ++i) {
      current += startsHere[i];
      byText[static_cast<size_t>(order[i])] = current;
    }
  });
  return byText;
}

// Runs of a list of n on `threads` threads: a few more runs than threads, so a thread
// held back by the machine leaves its share to the others.
size_t RunLength(size_t n, int threads) {
  const size_t runs = threads == 1 ? 1 : static_cast<size_t>(threads) * 2;
  return std::max<size_t>(1, (n + runs - 1) / runs);
}

// A key maker belongs to one thread: each makes its own, opened on it at first use.
TCollationKeyMaker& MakerOfThread(std::vector<std::unique_ptr<TCollationKeyMaker>>& makers, int thread,
                                  const QLocale& locale) {
  auto& maker = makers[static_cast<size_t>(thread)];
  if (!maker) maker = std::make_unique<TCollationKeyMaker>(locale);
  return *maker;
}

}  // namespace

void ForRangesInParallel(size_t n, const std::function<void(size_t, size_t)>& part, int threads) {
  threads = ThreadsFor(n, threads);
  const size_t per = RunLength(n, threads);
  ParallelPieces(threads, (n + per - 1) / per, [&](int, size_t piece) { part(piece * per, std::min(n, (piece + 1) * per)); });
}

namespace {

// Keys and the arenas that hold them, and the texts' ranks when they were made too.
struct TCollation {
  std::vector<TCollationKey> Keys;
  std::vector<std::unique_ptr<TCollationKeyArena>> Arenas;
  std::vector<int> Ranks;
};

// Makes the key of textAt(i) for every i < n into `made`, in runs of `per` on `threads`
// threads (each with its own maker and arena, textAt asked once per text on the thread
// that collates it); afterRun(from, to) follows on the thread that made the run's keys,
// while they are still in its cache.
template <typename TextAt, typename AfterRun>
void MakeKeysInRuns(TCollation& made, size_t n, const TextAt& textAt, const QLocale& locale, int threads, size_t per,
                    const AfterRun& afterRun) {
  made.Keys.resize(n);
  for (int t = 0; t < threads; ++t) made.Arenas.push_back(std::make_unique<TCollationKeyArena>());
  std::vector<std::unique_ptr<TCollationKeyMaker>> makers(static_cast<size_t>(threads));
  ParallelPieces(threads, (n + per - 1) / per, [&](int t, size_t run) {
    const size_t from = run * per, to = std::min(n, from + per);
    TCollationKeyMaker& maker = MakerOfThread(makers, t, locale);
    TCollationKeyArena& arena = *made.Arenas[static_cast<size_t>(t)];
    for (size_t i = from; i < to; ++i) made.Keys[i] = maker.Make(textAt(i), arena);
    afterRun(from, to);
  });
}

// A key per text, without ranks.
TCollation CollationKeys(const std::vector<QString>& texts, const QLocale& locale, int threads) {
  const size_t n = texts.size();
  threads = ThreadsFor(n, threads);
  TCollation made;
  MakeKeysInRuns(made, n, [&texts](size_t i) -> const QString& { return texts[i]; }, locale, threads,
                 RunLength(n, threads), [](size_t, size_t) {});
  return made;
}

// Keys and ranks at once: each thread sorts the run whose keys it has just made.
template <typename TextAt>
TCollation CollateAndRankAt(size_t n, const TextAt& textAt, const QLocale& locale, int threads) {
  threads = ThreadsFor(n, threads);
  TCollation made;
  const auto keyAt = [&made](int i) -> const TCollationKey& { return made.Keys[static_cast<size_t>(i)]; };
  const auto less = KeyLess(keyAt);
  std::vector<int> order(n);
  std::iota(order.begin(), order.end(), 0);
  const size_t per = RunLength(n, threads);
  MakeKeysInRuns(made, n, textAt, locale, threads, per, [&](size_t from, size_t to) {
    std::sort(order.begin() + static_cast<std::ptrdiff_t>(from), order.begin() + static_cast<std::ptrdiff_t>(to), less);
  });
  made.Ranks = MergeRunsAndRank(order, per, threads, keyAt);
  return made;
}

TCollation CollateAndRank(const std::vector<QString>& texts, const QLocale& locale, int threads) {
  return CollateAndRankAt(texts.size(), [&texts](size_t i) -> const QString& { return texts[i]; }, locale, threads);
}

// Ranks of keys keyOf(i) (equal keys share a rank).
template <typename KeyOf>
std::vector<int> RanksOfKeysAt(size_t n, const KeyOf& keyOf, int threads) {
  threads = ThreadsFor(n, threads);
  const auto keyAt = [&keyOf](int i) -> const TCollationKey& { return keyOf(static_cast<size_t>(i)); };
  const auto less = KeyLess(keyAt);
  std::vector<int> order(n);
  std::iota(order.begin(), order.end(), 0);
  const size_t per = RunLength(n, threads);
  ParallelPieces(threads, (n + per - 1) / per, [&](int, size_t run) {
    const size_t from = run * per, to = std::min(n, from + per);
    std::sort(order.begin() + static_cast<std::ptrdiff_t>(from), order.begin() + static_cast<std::ptrdiff_t>(to), less);
  });
  return MergeRunsAndRank(order, per, threads, keyAt);
}

}  // namespace

std::vector<int> CollationRanks(const std::vector<QString>& texts, const QLocale& locale, int threads) {
  return CollateAndRank(texts, locale, threads).Ranks;
}

TTaskComparer::TTaskComparer(const TTaskViewContext& context, const QLocale& locale)
    : context_(context), collator_(std::make_unique<QCollator>(MakeCollator(locale))) {}

TTaskComparer::~TTaskComparer() = default;

namespace {

// A title the task still has: most often the very same shared text.
bool SameTitle(const QString& kept, const QString& now) {
  return (kept.constData() == now.constData() && kept.size() == now.size()) || kept == now;
}

}  // namespace

void TTaskComparer::PrepareKeys(const TTdTodoList& tasks, int threads) {
  if (entries_.empty()) CollateAllTitles(tasks, threads);
  else CollateChangedTitles(tasks, threads);
  categoryRank_ = LookupRanks(context_.Categories, collator_->locale());
  resourceRank_ = LookupRanks(context_.Resources, collator_->locale());
  typeRank_ = LookupRanks(context_.Types, collator_->locale());
}

void TTaskComparer::CollateAllTitles(const TTdTodoList& tasks, int threads) {
  // Reading a task's title costs a cache miss or two of its own: the threads that
  // collate the titles read them too, and write the entries in place.
  const size_t n = static_cast<size_t>(tasks.TaskCount());
  std::vector<const TTdTodo*> list;
  list.reserve(n);
  for (const auto& task : tasks) list.push_back(task.get());
  entries_.assign(n, TTitleEntry{nullptr, QString()});
  const auto titleAt = [this, &list](size_t i) -> const QString& {
    entries_[i] = {list[i], list[i]->Title};
    return entries_[i].Title;
  };
  TCollation collated = CollateAndRankAt(n, titleAt, collator_->locale(), threads);
  keys_ = std::move(collated.Keys);
  rankKeys_.clear();  // they point into the arenas that go now
  arenas_ = std::move(collated.Arenas);
  singleKeys_ = nullptr;
  titleRank_ = std::move(collated.Ranks);
  keyedList_ = &tasks;
  rankKeysValid_ = false;
  NumberRanks();
}

void TTaskComparer::CollateChangedTitles(const TTdTodoList& tasks, int threads) {
  // Keys of titles that did not change since the last call are kept; only the others
  // are collated, and the keys of tasks that went are dropped. Over the same tasks at
  // the same places the ranks are kept too, and only changed titles are ranked again.
  const size_t n = static_cast<size_t>(tasks.TaskCount());
  const bool sameList = keyedList_ == &tasks;
  bool samePlaces = sameList && entries_.size() == n;
  std::vector<int> kept(n, -1);  // the entry whose key the task keeps
  std::vector<size_t> fresh;
  std::vector<QString> freshTitles;
  std::unordered_map<const TTdTodo*, size_t> before;  // made only when tasks moved
  size_t i = 0;
  for (const auto& task : tasks) {
    size_t old = i;
    if (i >= entries_.size() || entries_[i].Task != task.get()) {
      samePlaces = false;
      if (before.empty())
        for (size_t e = 0; e < entries_.size(); ++e) before.emplace(entries_[e].Task, e);
      const auto it = before.find(task.get());
      old = it == before.end() ? entries_.size() : it->second;
    }
    if (old < entries_.size() && SameTitle(entries_[old].Title, task->Title)) {
      kept[i] = static_cast<int>(old);
    } else {
      fresh.push_back(i);
      freshTitles.push_back(task->Title);
    }
    ++i;
  }
  // Nothing kept (the first sort): the keys are ranked as they are made.
  const bool allFresh = fresh.size() == n;
  const auto keptKeyAt = [this](size_t k) -> const TCollationKey& { return keys_[k]; };
  TCollation collated = allFresh ? CollateAndRank(freshTitles, collator_->locale(), threads)
                                 : CollationKeys(freshTitles, collator_->locale(), threads);
  std::vector<TCollationKey>& freshKeys = collated.Keys;
  for (auto& arena : collated.Arenas) arenas_.push_back(std::move(arena));
  keyedList_ = &tasks;

  if (samePlaces) {
    if (!fresh.empty()) {
      // A few titles changed: those are ranked among the others, whose ranks stay.
      const bool fewChanged = fresh.size() <= n / 64;
      if (fewChanged) EnsureRankKeys();  // from the keys as they were
      for (size_t f = 0; f < fresh.size(); ++f) {
        entries_[fresh[f]].Title = freshTitles[f];
        keys_[fresh[f]] = freshKeys[f];
      }
      if (fewChanged) {
        for (size_t f : fresh) titleRank_[f] = RankOfKey(keys_[f]);
        ++orderVersion_;  // their tasks have new order numbers nobody was told of
      } else {
        titleRank_ = allFresh ? std::move(collated.Ranks) : RanksOfKeysAt(n, keptKeyAt, threads);
        rankKeysValid_ = false;
        NumberRanks();
      }
    }
  } else {
    std::vector<TTitleEntry> entries;
    std::vector<TCollationKey> keys;
    entries.reserve(n);
    keys.reserve(n);
    size_t f = 0;
    i = 0;
    for (const auto& task : tasks) {
      if (kept[i] >= 0) {
        entries.push_back(std::move(entries_[static_cast<size_t>(kept[i])]));
        keys.push_back(keys_[static_cast<size_t>(kept[i])]);
      } else {
        entries.push_back({task.get(), std::move(freshTitles[f])});
        keys.push_back(freshKeys[f++]);
      }
      ++i;
    }
    entries_ = std::move(entries);
    keys_ = std::move(keys);
    titleRank_ = allFresh ? std::move(collated.Ranks) : RanksOfKeysAt(n, keptKeyAt, threads);
    rankKeysValid_ = false;
    NumberRanks();
  }
  CompactKeysWhenWasteful();
}

void TTaskComparer::NumberRanks(std::optional<size_t> count) {
  if (!count) count = titleRank_.empty() ? 0 : static_cast<size_t>(*std::max_element(titleRank_.begin(), titleRank_.end())) + 1;
  rankOrder_.resize(*count);
  for (size_t r = 0; r < rankOrder_.size(); ++r) rankOrder_[r] = static_cast<int64_t>(r) * kOrderGap;
  ++orderVersion_;
}

void TTaskComparer::EnsureRankKeys() {
  if (rankKeysValid_) return;
  const int rankCount = titleRank_.empty() ? 0 : *std::max_element(titleRank_.begin(), titleRank_.end()) + 1;
  std::vector<int> holder(static_cast<size_t>(rankCount), -1);
  for (size_t i = 0; i < titleRank_.size(); ++i)
    if (holder[static_cast<size_t>(titleRank_[i])] < 0) holder[static_cast<size_t>(titleRank_[i])] = static_cast<int>(i);
  // Ranks whose titles all went have no key left: the others close up, in order.
  // Their order numbers stay.
  std::vector<int> renumbered(static_cast<size_t>(rankCount));
  std::vector<int64_t> order;
  rankKeys_.clear();
  for (int r = 0; r < rankCount; ++r) {
    renumbered[static_cast<size_t>(r)] = static_cast<int>(rankKeys_.size());
    if (holder[static_cast<size_t>(r)] < 0) continue;
    rankKeys_.push_back(keys_[static_cast<size_t>(holder[static_cast<size_t>(r)])]);
    order.push_back(rankOrder_[static_cast<size_t>(r)]);
  }
  if (rankKeys_.size() != static_cast<size_t>(rankCount))
    for (int& r : titleRank_) r = renumbered[static_cast<size_t>(r)];
  rankOrder_ = std::move(order);
  rankKeysValid_ = true;
}

int TTaskComparer::RankOfKey(const TCollationKey& key) {
  const auto less = [](const TCollationKey& a, const TCollationKey& b) { return a.compare(b) < 0; };
  const auto at = std::lower_bound(rankKeys_.begin(), rankKeys_.end(), key, less);
  const int rank = static_cast<int>(at - rankKeys_.begin());
  if (at != rankKeys_.end() && at->compare(key) == 0) return rank;
  // A title between two ranks: every rank above moves up by one; its order number lies
  // between its neighbours', whose numbers stay while there is room.
  rankKeys_.insert(at, key);
  for (int& r : titleRank_)
    if (r >= rank) ++r;
  const size_t place = static_cast<size_t>(rank);
  const bool first = place == 0, last = place == rankOrder_.size();
  if (first && last) {
    rankOrder_.insert(rankOrder_.begin(), 0);
  } else if (first || last) {
    const int64_t number = first ? rankOrder_.front() - kOrderGap : rankOrder_.back() + kOrderGap;
    rankOrder_.insert(rankOrder_.begin() + static_cast<std::ptrdiff_t>(place), number);
  } else if (rankOrder_[place] - rankOrder_[place - 1] >= 2) {
    const int64_t number = rankOrder_[place - 1] + (rankOrder_[place] - rankOrder_[place - 1]) / 2;
    rankOrder_.insert(rankOrder_.begin() + static_cast<std::ptrdiff_t>(place), number);
  } else {
    rankOrder_.insert(rankOrder_.begin() + static_cast<std::ptrdiff_t>(place), 0);
    NumberRanks(rankOrder_.size());  // ranks kept for titles that went count too
  }
  return rank;
}

TCollationKey TTaskComparer::MakeKey(const QString& title) {
  if (!keyMaker_) keyMaker_ = std::make_unique<TCollationKeyMaker>(collator_->locale());
  if (!singleKeys_) {
    arenas_.push_back(std::make_unique<TCollationKeyArena>());
    singleKeys_ = arenas_.back().get();
  }
  return keyMaker_->Make(title, *singleKeys_);
}

void TTaskComparer::CompactKeysWhenWasteful() {
  size_t held = 0, inUse = 0;
  if (!rankKeysValid_) rankKeys_.clear();  // made again from keys_ when next needed
  for (const auto& arena : arenas_) held += arena->Used();
  if (held < nextCompactionCheck_) return;
  for (const TCollationKey& key : keys_) inUse += key.Size;
  for (const TCollationKey& key : rankKeys_) inUse += key.Size;
  nextCompactionCheck_ = std::max(kKeyBytesBeforeCompacting, 2 * inUse);
  if (held <= 2 * inUse) return;
  auto arena = std::make_unique<TCollationKeyArena>();
  for (TCollationKey& key : keys_) key = TCollationKeyMaker::CopyInto(key, *arena);
  for (TCollationKey& key : rankKeys_) key = TCollationKeyMaker::CopyInto(key, *arena);
  arenas_.clear();
  arenas_.push_back(std::move(arena));
  singleKeys_ = arenas_.back().get();
}

bool TTaskComparer::TasksAppended(const TTdTodoList& tasks) {
  if (keyedList_ != &tasks || entries_.size() > static_cast<size_t>(tasks.TaskCount())) return false;
  if (entries_.size() == static_cast<size_t>(tasks.TaskCount())) return true;
  EnsureRankKeys();
  for (int i = static_cast<int>(entries_.size()); i < tasks.TaskCount(); ++i) {
    const TTdTodo* task = tasks.GetItem(i);
    keys_.push_back(MakeKey(task->Title));
    entries_.push_back({task, task->Title});
    titleRank_.push_back(RankOfKey(keys_.back()));
  }
  CompactKeysWhenWasteful();
  return true;
}

bool TTaskComparer::TitleChanged(const TTdTodo& task) {
  if (!keyedList_) return false;
  const int index = keyedList_->IndexOf(&task);
  if (index < 0 || static_cast<size_t>(index) >= entries_.size() || entries_[static_cast<size_t>(index)].Task != &task)
    return false;
  TTitleEntry& entry = entries_[static_cast<size_t>(index)];
  if (entry.Title == task.Title) return true;
  EnsureRankKeys();
  entry.Title = task.Title;
  keys_[static_cast<size_t>(index)] = MakeKey(task.Title);
  titleRank_[static_cast<size_t>(index)] = RankOfKey(keys_[static_cast<size_t>(index)]);
  CompactKeysWhenWasteful();
  return true;
}

bool TTaskComparer::TaskRemoving(const TTdTodo& task) {
  if (!keyedList_) return false;
  const int index = keyedList_->IndexOf(&task);
  if (index < 0 || static_cast<size_t>(index) >= entries_.size() || entries_[static_cast<size_t>(index)].Task != &task)
    return false;
  // The other tasks keep their ranks; its rank keeps its key when rank keys are made.
  EnsureRankKeys();
  entries_.erase(entries_.begin() + index);
  keys_.erase(keys_.begin() + index);
  titleRank_.erase(titleRank_.begin() + index);
  return true;
}

int64_t TTaskComparer::TitleOrder(const TTdTodo& task) const {
  const int rank = TitleRank(task);
  return rank >= 0 ? rankOrder_[static_cast<size_t>(rank)] : std::numeric_limits<int64_t>::min();
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

namespace {

// Dates in the order of their values: the bits of a double order as signed integers
// once those of negative values are turned round. Zero is one value, whatever its sign.
bool DateNumber(double date, int64_t& number) {
  if (std::isnan(date)) return false;
  if (date == 0) date = 0;
  int64_t bits;
  std::memcpy(&bits, &date, sizeof bits);
  number = bits < 0 ? bits ^ std::numeric_limits<int64_t>::max() : bits;
  return true;
}

}  // namespace

bool TTaskComparer::SortNumber(int column, const TTdTodo& task, int64_t& number) const {
  // What sorts before all: templates in the due column, reminders that are off.
  constexpr int64_t kFirst = std::numeric_limits<int64_t>::min();
  switch (column) {
    case tcDone: number = task.IsOK(); return true;
    case tcID: number = task.ID; return true;
    case tcPriority: number = task.Priority; return true;
    case tcStatus: number = task.Status; return true;
    case tcPercent: number = task.Percent; return true;
    case tcFlag: number = task.Flagged(); return true;
    case tcRecurring: number = task.IsTemplate() || task.FromTemplate(); return true;
    case tcCreated: return DateNumber(task.Created, number);
    case tcCompleted: return DateNumber(task.Completed, number);
    case tcDue:
      if (task.IsTemplate()) {
        number = kFirst;
        return true;
      }
      return DateNumber(task.Due, number);
    case tcReminder:
      if (!task.ReminderActivated()) {
        number = kFirst;
        return true;
      }
      return DateNumber(task.ReminderDateTime, number);
    default: return false;
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
