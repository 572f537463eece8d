// The position cache and its worker thread: lookups through the cache against a plain
// walk of the rows, the entries a build writes, halting from structural changes while
// the worker walks, the order of queued trees, and the worker's lifetime.
//
// Nothing here waits for time to pass: the tests wait for the tree's own state reports,
// and hold the worker at an entry through the tree's entry observer until the tree
// reports that it halts.
#include "TreeFixture.h"

#include "support/FakeDesktop.h"

#include "treeview/LazyTreeWorker.h"

#include <QEventLoop>
#include <QTimer>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <random>
#include <vector>

namespace {

// A safety net for a broken build, not a delay: every wait ends on the tree's report.
constexpr int kGiveUpMs = 60000;

// Runs the event loop until the tree reports that it entered the state.
bool WaitForState(TBaseLazyTree& tree, TLazyTreeState state) {
  if (tree.TreeStates().Contains(state)) return true;
  QEventLoop loop;
  auto previous = tree.OnStateChange;
  tree.OnStateChange = [&](TBaseLazyTree* t, TLazyTreeStates enter, TLazyTreeStates leave) {
    if (previous) previous(t, enter, leave);
    if (enter.Contains(state)) loop.quit();
  };
  QTimer::singleShot(kGiveUpMs, &loop, &QEventLoop::quit);
  loop.exec();
  tree.OnStateChange = previous;
  return tree.TreeStates().Contains(state);
}

bool WaitForCache(TBaseLazyTree& tree) { return WaitForState(tree, tsUseCache); }

struct Row {
  PLazyNode node;
  int top;
};

// The rows in display order with their tops, summed without the cache.
std::vector<Row> PlainRows(const TBaseLazyTree& tree) {
  std::vector<Row> rows;
  int top = 0;
  for (PLazyNode run = tree.GetFirstVisibleRaw(); run; run = tree.GetNextVisibleRaw(run)) {
    rows.push_back({run, top});
    top += run->NodeHeight;
  }
  return rows;
}

// What the rows look like: each row's node and height, in order.
std::size_t RowsSignature(const TBaseLazyTree& tree) {
  std::size_t signature = 0;
  for (PLazyNode run = tree.GetFirstVisibleRaw(); run; run = tree.GetNextVisibleRaw(run))
    signature = signature * 1000003u ^ (reinterpret_cast<std::uintptr_t>(run) + run->NodeHeight);
  return signature;
}

// Every row's top, a position inside each sampled row and one below the content, looked
// up through the cache, agree with the plain walk.
void ExpectLookupsAgree(TBaseLazyTree& tree, std::size_t stride = 1) {
  ASSERT_TRUE(tree.TreeStates().Contains(tsUseCache));
  const std::vector<Row> rows = PlainRows(tree);
  ASSERT_FALSE(rows.empty());
  for (std::size_t i = 0; i < rows.size(); i += stride) {
    const Row& row = rows[i];
    ASSERT_EQ(tree.NodeTop(row.node), row.top) << "row " << i;
    for (int y : {row.top, row.top + row.node->NodeHeight - 1}) {
      if (row.node->NodeHeight == 0) continue;
      int top = -1;
      ASSERT_EQ(tree.NodeAtPosition(y, false, &top), row.node) << "row " << i << " at " << y;
      ASSERT_EQ(top, row.top);
    }
  }
  const Row& last = rows.back();
  EXPECT_EQ(tree.NodeTop(last.node), last.top);
  EXPECT_EQ(tree.NodeAtPosition(last.top + last.node->NodeHeight, false), nullptr);
  EXPECT_EQ(tree.NodeAtPosition(last.top + last.node->NodeHeight + 1000, false), nullptr);
}

// Every entry is the row at a multiple of the spacing, with that row's top.
void ExpectEntriesOnTheRows(const TBaseLazyTree& tree) {
  const std::vector<Row> rows = PlainRows(tree);
  const TCache& cache = tree.PositionCache();
  ASSERT_EQ(cache.size(), CacheEntryCount(static_cast<unsigned>(rows.size())));
  for (std::size_t i = 0; i < cache.size(); ++i) {
    EXPECT_EQ(cache[i].Node, rows[i * kCacheThreshold].node) << "entry " << i;
    EXPECT_EQ(cache[i].AbsoluteTop, static_cast<std::uint32_t>(rows[i * kCacheThreshold].top)) << "entry " << i;
  }
}

// The rows of a random tree: parents with children and grandchildren, some open, some
// hidden, heights of their own.
struct RandomShape {
  const char* name;
  unsigned topLevel;
  unsigned maxChildren;
  double expandChance;
  double hideChance;
  int minHeight;
  int maxHeight;
  unsigned seed;
};

void PrintTo(const RandomShape& shape, std::ostream* os) { *os << shape.name; }

void BuildRandomTree(TBaseLazyTree& tree, const RandomShape& shape) {
  std::mt19937 rng(shape.seed);
  auto chance = [&](double p) { return std::uniform_real_distribution<double>(0, 1)(rng) < p; };
  std::uniform_int_distribution<unsigned> children(0, shape.maxChildren);
  std::uniform_int_distribution<int> height(shape.minHeight, shape.maxHeight);
  tree.BeginTreeUpdate();
  tree.SetRootNodeCount(shape.topLevel);
  std::vector<PLazyNode> parents;
  for (PLazyNode top = tree.GetFirstRaw(); top; top = top->NextSibling) {
    tree.SetNodeChildCount(top, children(rng));
    for (PLazyNode child = top->FirstChild; child; child = child->NextSibling)
      if (chance(0.05)) tree.SetNodeChildCount(child, children(rng) / 4);
  }
  for (PLazyNode node = tree.GetFirstRaw(); node; node = tree.GetNextRaw(node)) {
    if (node->ChildCount > 0 && chance(shape.expandChance)) tree.ToggleExpanded(node);
    if (chance(shape.hideChance)) tree.SetNodeVisible(node, false);
    if (shape.minHeight != shape.maxHeight) tree.SetNodeHeight(node, height(rng));
  }
  tree.EndTreeUpdate();
}

// A flat list of rows of the default height.
class FlatTree : public TBaseLazyTree {
public:
  explicit FlatTree(unsigned rows = 0) {
    if (rows > 0) SetRootNodeCount(rows);
  }
  // What the worker would read from its queue entry: the visible count it was promised.
  void BuildAsPromised(unsigned promisedRows) {
    cache_->visibleCount = promisedRows;
    cache_->stop = false;
    ASSERT_TRUE(BuildPositionCache());
    DoStateChange({tsUseCache}, {tsValidationNeeded});
  }
};

// Holds the worker at one entry of a tree's first build until the tree reports that it
// halts, so a change can be made while the worker is in the middle of the tree. Made
// before the tree it watches, which reports to it until it is gone.
class WorkerGate {
public:
  explicit WorkerGate(unsigned holdAt) : holdAt_(holdAt) {}
  void Watch(TBaseLazyTree& tree) {
    tree.SetCacheEntryObserver([this](unsigned entry) { Reached(entry); });
    tree.OnStateChange = [this](TBaseLazyTree* t, TLazyTreeStates enter, TLazyTreeStates) {
      if (enter.Contains(tsStopValidation)) Open(/*onlyWhenHeld=*/true, RowsSignature(*t));
    };
  }
  // Blocks until the worker holds at the entry.
  bool WaitUntilHeld() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::milliseconds(kGiveUpMs), [&] { return held_; });
  }
  // The halts before the build began do not count: only one that meets the worker held.
  void Open(bool onlyWhenHeld = false, std::size_t rows = 0) {
    std::lock_guard lock(mutex_);
    if (onlyWhenHeld && !held_) return;
    if (!open_) rowsWhenOpened_ = rows;
    open_ = true;
    changed_.notify_all();
  }
  bool Opened() {
    std::lock_guard lock(mutex_);
    return open_;
  }
  // The rows as they were when the tree's halt opened the gate.
  std::size_t RowsWhenOpened() {
    std::lock_guard lock(mutex_);
    return rowsWhenOpened_;
  }
  // The entries the first build wrote, and how many builds began.
  std::vector<unsigned> FirstBuild() {
    std::lock_guard lock(mutex_);
    return firstBuild_;
  }
  int Builds() {
    std::lock_guard lock(mutex_);
    return builds_;
  }

private:
  void Reached(unsigned entry) {
    std::unique_lock lock(mutex_);
    if (entry == 0) ++builds_;
    if (builds_ != 1) return;
    firstBuild_.push_back(entry);
    if (entry != holdAt_) return;
    held_ = true;
    changed_.notify_all();
    changed_.wait(lock, [&] { return open_; });
  }

  const unsigned holdAt_;
  std::mutex mutex_;
  std::condition_variable changed_;
  bool held_ = false;
  bool open_ = false;
  std::size_t rowsWhenOpened_ = 0;
  int builds_ = 0;
  std::vector<unsigned> firstBuild_;
};

// ---- Lookups against a plain walk -----------------------------------------------------

class RandomTreeLookups : public ::testing::TestWithParam<RandomShape> {};

TEST_P(RandomTreeLookups, AgreeWithAPlainWalk) {
  TBaseLazyTree tree;
  BuildRandomTree(tree, GetParam());
  ASSERT_GT(tree.VisibleCount(), kCacheThreshold) << "the shape must make a cache";
  ASSERT_TRUE(WaitForCache(tree));
  EXPECT_TOTALS_AGREE(tree);
  ExpectEntriesOnTheRows(tree);
  ExpectLookupsAgree(tree);
}

INSTANTIATE_TEST_SUITE_P(PositionCache, RandomTreeLookups,
                         ::testing::Values(RandomShape{"expanded", 40, 300, 1.0, 0.0, 18, 18, 1},
                                           RandomShape{"halfCollapsed", 60, 300, 0.5, 0.0, 18, 18, 2},
                                           RandomShape{"hidden", 60, 300, 0.8, 0.15, 18, 18, 3},
                                           RandomShape{"variableHeights", 50, 250, 0.8, 0.05, 1, 60, 4},
                                           RandomShape{"zeroHeights", 50, 250, 0.9, 0.05, 0, 3, 5}),
                         [](const auto& info) { return std::string(info.param.name); });

// ---- The entries a build writes -------------------------------------------------------

struct EntryCase {
  unsigned rows;
  std::size_t entries;
};

void PrintTo(const EntryCase& entries, std::ostream* os) { *os << entries.rows << " rows"; }

class CacheEntries : public ::testing::TestWithParam<EntryCase> {};

TEST_P(CacheEntries, OneForEveryTwoThousandRowsFromTheFirst) {
  FlatTree tree(GetParam().rows);
  if (GetParam().entries == 0) {
    // Nothing for the worker: the tree stays in need of a cache and sums rows directly.
    EXPECT_TRUE(tree.TreeStates().Contains(tsValidationNeeded));
    EXPECT_FALSE(tree.TreeStates().Intersects({tsUseCache, tsValidating, tsStopValidation}));
    EXPECT_TRUE(tree.PositionCache().empty());
    return;
  }
  ASSERT_TRUE(WaitForCache(tree));
  EXPECT_FALSE(tree.TreeStates().Intersects({tsValidationNeeded, tsValidating, tsStopValidation}));
  ASSERT_EQ(tree.PositionCache().size(), GetParam().entries);
  ExpectEntriesOnTheRows(tree);
}

INSTANTIATE_TEST_SUITE_P(PositionCache, CacheEntries,
                         ::testing::Values(EntryCase{2000, 0}, EntryCase{2001, 2}, EntryCase{4000, 2},
                                           EntryCase{4001, 3}));

TEST(PositionCache, EndsWithTheLastRowAndItsTopWhenTheWalkFindsFewerRows) {
  FlatTree tree(4100);
  tree.HaltCacheValidation();
  tree.BuildAsPromised(7000);  // four entries promised, three rows of 2000 found
  const std::vector<Row> rows = PlainRows(tree);
  ASSERT_EQ(tree.PositionCache().size(), 4u);
  EXPECT_EQ(tree.PositionCache()[3].Node, rows.back().node);
  EXPECT_EQ(tree.PositionCache()[3].AbsoluteTop, static_cast<std::uint32_t>(rows.back().top));
  ExpectLookupsAgree(tree, 97);
}

TEST(PositionCache, LookupsWithoutAValidCacheFindNoEntry) {
  FlatTree tree(3000);
  tree.SetNodeChildCount(tree.GetFirstRaw(), 1);
  ASSERT_TRUE(WaitForCache(tree));
  EXPECT_NE(tree.CacheEntryAtOrAbove(100).Node, nullptr);
  // A halt that no change follows (a sort of a single child) keeps the cache.
  tree.SortChildren(tree.GetFirstRaw(), 0, true, false);
  EXPECT_TRUE(tree.TreeStates().Contains(tsUseCache));
  tree.SetNodeHeight(tree.GetFirstRaw(), 30);
  EXPECT_FALSE(tree.TreeStates().Contains(tsUseCache));
  EXPECT_EQ(tree.CacheEntryAtOrAbove(100).Node, nullptr);
  EXPECT_EQ(tree.CacheEntryBeforeNode(tree.GetLastRaw()).Node, nullptr);
  EXPECT_EQ(tree.NodeTop(tree.GetLastRaw()), 30 + 2998 * 18);
}

// ---- Halting while the worker walks ---------------------------------------------------

struct ChangeCase {
  const char* name;
  std::function<void(TBaseLazyTree&)> change;
};

// Three parents of 2500 rows each, the first two open: the worker holds at entry 1,
// inside the first parent, when the change comes.
PLazyNode Child(TBaseLazyTree& tree, unsigned parent, unsigned child) {
  PLazyNode node = tree.GetFirstRaw();
  while (parent--) node = node->NextSibling;
  node = node->FirstChild;
  while (child--) node = node->NextSibling;
  return node;
}

void PrintTo(const ChangeCase& change, std::ostream* os) { *os << change.name; }

class HaltDuringBuild : public ::testing::TestWithParam<ChangeCase> {};

TEST_P(HaltDuringBuild, StopsTheWalkBeforeTheChangeAndValidatesAgain) {
  WorkerGate gate(1);
  TBaseLazyTree tree;
  gate.Watch(tree);
  tree.BeginTreeUpdate();
  tree.SetRootNodeCount(3);
  for (PLazyNode top = tree.GetFirstRaw(); top; top = top->NextSibling) tree.SetNodeChildCount(top, 2500);
  tree.ToggleExpanded(tree.GetFirstRaw());
  tree.ToggleExpanded(tree.GetFirstRaw()->NextSibling);
  tree.EndTreeUpdate();
  ASSERT_TRUE(gate.WaitUntilHeld());

  const std::size_t before = RowsSignature(tree);
  GetParam().change(tree);
  // The change halted before it touched a row, and the walk ended at the next node.
  EXPECT_TRUE(gate.Opened());
  EXPECT_EQ(gate.RowsWhenOpened(), before);
  EXPECT_EQ(gate.FirstBuild(), (std::vector<unsigned>{0, 1}));
  EXPECT_TOTALS_AGREE(tree);
  if (tree.VisibleCount() <= kCacheThreshold) {
    EXPECT_FALSE(tree.TreeStates().Contains(tsUseCache));
    return;
  }
  ASSERT_TRUE(WaitForCache(tree));
  EXPECT_GE(gate.Builds(), 2);
  ExpectEntriesOnTheRows(tree);
  ExpectLookupsAgree(tree, 7);
}

INSTANTIATE_TEST_SUITE_P(
    CacheWorker, HaltDuringBuild,
    ::testing::Values(
        ChangeCase{"collapse", [](TBaseLazyTree& t) { t.ToggleExpanded(t.GetFirstRaw()); }},
        ChangeCase{"expand", [](TBaseLazyTree& t) { t.ToggleExpanded(t.GetLastChildRaw(nullptr)); }},
        ChangeCase{"hide", [](TBaseLazyTree& t) { t.SetNodeVisible(Child(t, 0, 3), false); }},
        ChangeCase{"height", [](TBaseLazyTree& t) { t.SetNodeHeight(Child(t, 0, 5), 40); }},
        ChangeCase{"delete", [](TBaseLazyTree& t) { t.DeleteNode(Child(t, 0, 2100)); }},
        ChangeCase{"insert", [](TBaseLazyTree& t) { t.InsertNode(Child(t, 0, 10), amInsertBefore); }},
        ChangeCase{"childCount", [](TBaseLazyTree& t) { t.SetNodeChildCount(t.GetFirstRaw(), 100); }},
        ChangeCase{"deleteChildren", [](TBaseLazyTree& t) { t.DeleteNodeChildren(t.GetFirstRaw()); }},
        ChangeCase{"move", [](TBaseLazyTree& t) { t.MoveNode(Child(t, 0, 2400), Child(t, 1, 0), amInsertBefore, false); }},
        ChangeCase{"sort", [](TBaseLazyTree& t) { t.SortChildren(t.GetFirstRaw(), 0, false, true); }},
        ChangeCase{"clear", [](TBaseLazyTree& t) { t.Clear(); }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(CacheWorker, AChangeDuringABuildLeavesTheTreeInNeedAndValidatesAgain) {
  WorkerGate gate(1);
  QStringList states;
  // Before the tree: its handler calls this while the tree goes, also after a failed ASSERT.
  decltype(TBaseLazyTree::OnStateChange) gateOpener;
  TBaseLazyTree tree;
  gate.Watch(tree);
  gateOpener = tree.OnStateChange;
  tree.OnStateChange = [&](TBaseLazyTree* t, TLazyTreeStates enter, TLazyTreeStates leave) {
    gateOpener(t, enter, leave);
    for (auto [state, name] : {std::pair{tsStopValidation, "Stop"}, {tsValidating, "Validating"},
                               {tsValidationNeeded, "Needed"}, {tsUseCache, "UseCache"}}) {
      if (enter.Contains(state) && !t->TreeStates().Contains(state)) states << QString("+") + name;
      if (leave.Contains(state) && t->TreeStates().Contains(state)) states << QString("-") + name;
    }
  };
  tree.SetRootNodeCount(1);
  tree.SetNodeChildCount(tree.GetFirstRaw(), 5000);
  states.clear();
  tree.ToggleExpanded(tree.GetFirstRaw());  // queues the first build
  ASSERT_TRUE(gate.WaitUntilHeld());
  ASSERT_TRUE(WaitForState(tree, tsValidating));
  states.clear();
  tree.SetNodeHeight(Child(tree, 0, 4000), 30);
  // Halted: stop requested, the running walk waited for; then invalidated and queued anew.
  EXPECT_EQ(states, (QStringList{"+Stop", "-Validating", "-Stop"}));
  EXPECT_TRUE(tree.TreeStates().Contains(tsValidationNeeded));
  ASSERT_TRUE(WaitForCache(tree));
  EXPECT_FALSE(tree.TreeStates().Intersects({tsValidationNeeded, tsValidating, tsStopValidation}));
  ExpectLookupsAgree(tree, 13);
}

TEST(CacheWorker, DestroyingATreeWhileTheWorkerWalksItWaitsForTheWorker) {
  WorkerGate gate(2);
  auto tree = std::make_unique<FlatTree>();
  gate.Watch(*tree);
  tree->SetRootNodeCount(9000);
  ASSERT_TRUE(gate.WaitUntilHeld());
  tree.reset();  // frees every node once the worker has left them
  EXPECT_TRUE(gate.Opened());
  EXPECT_EQ(gate.FirstBuild(), (std::vector<unsigned>{0, 1, 2}));
  EXPECT_EQ(WorkerThread(), nullptr);
}

TEST(CacheWorker, ValidatesTreesInTheOrderQueuedAndATreeQueuedTwiceOnce) {
  std::mutex mutex;
  QStringList order;
  WorkerGate gate(0);
  FlatTree first, second, third;
  gate.Watch(first);
  auto record = [&](const char* name) {
    return [&, name](unsigned entry) {
      std::lock_guard lock(mutex);
      if (entry == 0) order << name;
    };
  };
  second.SetCacheEntryObserver(record("second"));
  third.SetCacheEntryObserver(record("third"));
  first.SetRootNodeCount(2500);
  ASSERT_TRUE(gate.WaitUntilHeld());
  second.SetRootNodeCount(2500);
  third.SetRootNodeCount(2500);
  WorkerThread()->QueueTree(&second);
  gate.Open();
  ASSERT_TRUE(WaitForCache(third));
  ASSERT_TRUE(WaitForCache(second));
  ASSERT_TRUE(WaitForCache(first));
  std::lock_guard lock(mutex);
  EXPECT_EQ(order, (QStringList{"second", "third"}));
}

TEST(CacheWorker, AnOwnerErrorInTheReportIsShownAndGoesNoFurther) {
  FakeDesktop desktop;
  QEventLoop loop;
  desktop.onMessage = [&](const FakeDesktop::Message&) {
    loop.quit();
    return Msg::Ok;
  };
  FlatTree tree(3000);
  tree.OnStateChange = [](TBaseLazyTree*, TLazyTreeStates enter, TLazyTreeStates) {
    if (enter.Contains(tsUseCache)) throw ELazyTreeError("owner failed", 0);
  };
  tree.SetNodeChildCount(tree.GetFirstRaw(), 1);  // a change the worker validates
  QTimer::singleShot(kGiveUpMs, &loop, &QEventLoop::quit);
  loop.exec();  // ends on the error box, reached from the report's signal
  tree.OnStateChange = nullptr;
  ASSERT_FALSE(desktop.Messages().empty());
  EXPECT_EQ(desktop.Messages()[0].caption, QStringLiteral("Application Error"));
  EXPECT_EQ(desktop.Messages()[0].text, QStringLiteral("owner failed"));
}

TEST(CacheWorker, LivesFromTheFirstTreeToTheLast) {
  ASSERT_EQ(WorkerThread(), nullptr) << "a tree of another test is still alive";
  {
    FlatTree first;
    EXPECT_NE(WorkerThread(), nullptr);
    {
      FlatTree second;
    }
    EXPECT_NE(WorkerThread(), nullptr);
  }
  EXPECT_EQ(WorkerThread(), nullptr);
  FlatTree again(2500);
  EXPECT_NE(WorkerThread(), nullptr);
  EXPECT_TRUE(WaitForCache(again));
}

}  // namespace
