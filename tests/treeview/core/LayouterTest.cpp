// The layouter without a widget: row tops and the row at a height at every row boundary,
// hidden and folded rows, measuring in the layout pass as rows move, and the position
// cache rebuilt by the worker after the rows change.
#include "treeview/LazyTreeLayouter.h"

#include <QEventLoop>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace {

// The control's part, as small as the layouter lets it be: initialising marks the node,
// measuring answers the owner's heights, and a measured height moves the totals.
class Host : public TLazyTreeLayoutHost {
public:
  explicit Host(TLazyNodeStore& store) : store_(store) {}
  void InitializeNode(PLazyNode node) override { node->Include(nsInitialized); }
  void InitializeChildren(PLazyNode) override {}
  void MeasureItem(PLazyNode node, int& height) override {
    measured.push_back(node);
    if (ownerHeight) height = ownerHeight(node);
  }
  void ApplyMeasuredHeight(PLazyNode node, int height) override {
    const int diff = height - node->NodeHeight;
    node->NodeHeight = static_cast<std::uint16_t>(height);
    store_.UpdateTotalHeight(node, diff, true);
    ++applied;
  }
  TLazyTreeStates LayoutStates() const override { return states; }
  void ChangeLayoutStates(TLazyTreeStates enter, TLazyTreeStates leave) override {
    states = (states + enter) - leave;
    if (entered) entered(enter);
  }

  std::function<int(PLazyNode)> ownerHeight;
  std::vector<PLazyNode> measured;
  int applied = 0;
  TLazyTreeStates states;
  std::function<void(TLazyTreeStates)> entered;

private:
  TLazyNodeStore& store_;
};

// A store with named nodes, the host and the layouter over them.
struct Tree {
  Tree() { store.SetNodeDataSize(sizeof(std::string*)); }
  ~Tree() {
    layouter.HaltCacheValidation();  // the worker leaves before the nodes go
    for (PLazyNode node = store.Root()->LastChild; node; node = store.Root()->LastChild) Free(node);
  }
  void Free(PLazyNode node) {
    while (node->LastChild) Free(node->LastChild);
    store.Unlink(node, false);
    store.FreeNode(node);
  }
  // A node of its own height, shaped before it is linked so every total holds it.
  PLazyNode Add(const std::string& name, PLazyNode parent, int height, bool expanded = false, bool hidden = false) {
    PLazyNode node = store.NewNode();
    node->NodeHeight = static_cast<std::uint16_t>(height);
    node->TotalHeight = node->NodeHeight;
    node->Set(nsExpanded, expanded);
    node->Set(nsVisible, !hidden);
    store.Link(node, parent ? parent : store.Root(), amAddChildLast);
    names[node] = name;
    byName[name] = node;
    return node;
  }
  std::string Name(PLazyNode node) const { return node ? names.at(node) : "-"; }
  std::string Measured() const {
    std::string list;
    for (PLazyNode node : host.measured) list += (list.empty() ? "" : " ") + Name(node);
    return list;
  }

  int owner = 0;
  TLazyNodeStore store{&owner};
  Host host{store};
  TLazyTreeLayouter layouter{store, host};
  std::map<PLazyNode, std::string> names;
  std::map<std::string, PLazyNode> byName;
};

// Rows in view, top and height: A 0+20, a1 20+10, a3 30+5, x 35+7, B 42+18, D 60+1.
// Not in view: a2 (hidden), b1 (B is folded), C (hidden) and c1 (below C).
void BuildShape(Tree& t) {
  PLazyNode a = t.Add("A", nullptr, 20, /*expanded=*/true);
  t.Add("a1", a, 10);
  t.Add("a2", a, 30, false, /*hidden=*/true);
  t.Add("x", t.Add("a3", a, 5, true), 7);
  t.Add("b1", t.Add("B", nullptr, 18), 40);
  t.Add("c1", t.Add("C", nullptr, 25, true, true), 12);
  t.Add("D", nullptr, 1);
}

struct PositionCase {
  int y;
  const char* node;
  int top;
};
const PositionCase kPositionCases[] = {
    {-5, "A", 0}, {0, "A", 0},    {19, "A", 0},   {20, "a1", 20}, {29, "a1", 20}, {30, "a3", 30}, {34, "a3", 30},
    {35, "x", 35}, {41, "x", 35}, {42, "B", 42},  {59, "B", 42},  {60, "D", 60},  {61, "-", 0},   {5000, "-", 0},
};

TEST(Layouter, TheRowAtAHeightChangesExactlyAtEachRowBoundary) {
  Tree t;
  BuildShape(t);
  for (const PositionCase& c : kPositionCases) {
    SCOPED_TRACE(c.y);
    int top = -1;
    EXPECT_EQ(t.Name(t.layouter.NodeAtPosition(c.y, &top)), c.node);
    EXPECT_EQ(top, c.top);
  }
}

TEST(Layouter, TopsCountOnlyRowsInView) {
  Tree t;
  BuildShape(t);
  const std::map<std::string, int> tops = {{"A", 0},  {"a1", 20}, {"a2", -1}, {"a3", 30}, {"x", 35},
                                           {"B", 42}, {"b1", -1}, {"C", -1},  {"c1", -1}, {"D", 60}};
  for (const auto& [name, top] : tops) EXPECT_EQ(t.layouter.NodeTop(t.byName[name]), top) << name;
  EXPECT_EQ(t.layouter.NodeTop(nullptr), -1);
  EXPECT_EQ(t.layouter.NodeTop(t.store.Root()), -1);
}

// Every row starts at 18 pixels; the owner answers its own height for each.
struct MeasureCase {
  const char* name;
  int ownerHeight;
  int top, bottom;  // the window, content coordinates
  const char* measured;
};
const MeasureCase kMeasureCases[] = {
    {"shrinking rows bring the rows below into the window", 5, 0, 17, "A a1 a3 x"},
    {"growing rows push the rows below out of it", 30, 0, 40, "A a1"},
    {"a window further down starts at its first row", 18, 40, 60, "a3 x"},
    {"hidden and folded rows are never reached", 18, 0, 1000, "A a1 a3 x B D"},
};

TEST(Layouter, TheLayoutPassMeasuresTheRowsThatReachIntoTheWindowOnce) {
  for (const MeasureCase& c : kMeasureCases) {
    SCOPED_TRACE(c.name);
    Tree t;
    PLazyNode a = t.Add("A", nullptr, 18, true);
    t.Add("a1", a, 18);
    t.Add("a2", a, 18, false, true);
    t.Add("x", t.Add("a3", a, 18, true), 18);
    t.Add("b1", t.Add("B", nullptr, 18), 18);
    t.Add("D", nullptr, 18);
    t.host.ownerHeight = [&](PLazyNode) { return c.ownerHeight; };
    t.layouter.LayOutRows(c.top, c.bottom);
    EXPECT_EQ(t.Measured(), c.measured);
    // The rows measured carry their new heights and were initialised on the way.
    for (PLazyNode node : t.host.measured) {
      EXPECT_EQ(node->NodeHeight, c.ownerHeight) << t.Name(node);
      EXPECT_TRUE(node->Has(nsInitialized) && node->Has(nsHeightMeasured)) << t.Name(node);
    }
    EXPECT_EQ(t.host.applied, c.ownerHeight == 18 ? 0 : int(t.host.measured.size()));
    // The totals followed: the rows' tops come from the measured heights.
    int top = 0;
    for (PLazyNode run = t.layouter.NodeAtPosition(0); run; run = t.layouter.NodeAtPosition(top)) {
      EXPECT_EQ(t.layouter.NodeTop(run), top) << t.Name(run);
      top += run->NodeHeight;
    }
    EXPECT_EQ(std::uint32_t(top), t.store.Root()->TotalHeight - t.store.Root()->NodeHeight);
    // A second pass over the same window asks the owner nothing.
    t.host.measured.clear();
    t.layouter.LayOutRows(c.top, c.bottom);
    EXPECT_EQ(t.Measured(), "");
  }
}

TEST(Layouter, MeasuringANodeBeforeItIsLinkedSetsItsOwnTotal) {
  Tree t;
  t.host.ownerHeight = [](PLazyNode) { return 70000; };  // more than a row may be
  PLazyNode node = t.store.NewNode();
  t.layouter.MeasureDetached(node);
  EXPECT_EQ(node->NodeHeight, 0xFFFF);
  EXPECT_EQ(node->TotalHeight, 0xFFFFu);
  EXPECT_TRUE(node->Has(nsHeightMeasured));
  EXPECT_EQ(t.host.applied, 0);
  t.store.FreeNode(node);
}

// ---- The position cache ------------------------------------------------------------------

constexpr int kGiveUpMs = 60000;  // a safety net for a broken build, not a delay

bool WaitForCache(Tree& t) {
  if (t.host.states.Contains(tsUseCache)) return true;
  QEventLoop loop;
  t.host.entered = [&](TLazyTreeStates enter) {
    if (enter.Contains(tsUseCache)) loop.quit();
  };
  QTimer::singleShot(kGiveUpMs, &loop, &QEventLoop::quit);
  loop.exec();
  t.host.entered = nullptr;
  return t.host.states.Contains(tsUseCache);
}

// Every row's top and the row at its first and last pixel, against a plain sum.
void ExpectPositionsMatchThePlainSum(Tree& t) {
  std::int64_t top = 0;
  unsigned rows = 0;
  for (PLazyNode run = t.store.Root()->FirstChild; run; run = run->NextSibling) {
    if (!run->Has(nsVisible)) continue;
    ++rows;
    ASSERT_EQ(t.layouter.NodeTop(run), top) << t.Name(run);
    int found = -1;
    ASSERT_EQ(t.layouter.NodeAtPosition(int(top), &found), run) << t.Name(run);
    ASSERT_EQ(t.layouter.NodeAtPosition(int(top + run->NodeHeight - 1)), run) << t.Name(run);
    EXPECT_EQ(found, top);
    top += run->NodeHeight;
  }
  EXPECT_EQ(rows, t.store.VisibleCount());
  EXPECT_EQ(t.layouter.NodeAtPosition(int(top)), nullptr);
}

TEST(LayouterCache, IsBuiltByTheWorkerAndRebuiltAfterTheRowsChange) {
  Tree t;
  for (int i = 0; i < 4500; ++i) t.Add("r" + std::to_string(i), nullptr, 1 + i % 7);
  t.layouter.InvalidateCache();
  t.layouter.RestartCacheValidation();
  ASSERT_TRUE(WaitForCache(t));
  ASSERT_EQ(t.layouter.Entries().size(), 3u);  // rows 0, 2000 and 4000
  EXPECT_EQ(t.Name(t.layouter.Entries()[1].Node), "r2000");
  ExpectPositionsMatchThePlainSum(t);

  // A row near the top grows and another hides: the cache no longer holds from the first
  // change on, and the lookups answer by the new rows before and after the rebuild.
  PLazyNode grown = t.byName["r3"];
  t.layouter.HaltCacheValidation();
  t.host.ApplyMeasuredHeight(grown, 300);
  PLazyNode hidden = t.byName["r1999"];
  t.store.UpdateTotalHeight(t.store.Root(), -int(hidden->TotalHeight), true);
  hidden->Exclude(nsVisible);
  t.store.AddVisibleRows(-1);
  t.layouter.InvalidateCache();
  EXPECT_FALSE(t.host.states.Contains(tsUseCache));
  ExpectPositionsMatchThePlainSum(t);
  t.layouter.RestartCacheValidation();
  ASSERT_TRUE(WaitForCache(t));
  EXPECT_EQ(t.Name(t.layouter.Entries()[1].Node), "r2001");
  EXPECT_EQ(t.layouter.Entries()[1].AbsoluteTop, std::uint32_t(t.layouter.NodeTop(t.byName["r2001"])));
  ExpectPositionsMatchThePlainSum(t);
}

TEST(LayouterCache, AHaltWithoutAChangeUsesTheBuiltEntriesAgain) {
  Tree t;
  for (int i = 0; i < 2001; ++i) t.Add("r" + std::to_string(i), nullptr, 2);
  t.layouter.InvalidateCache();
  t.layouter.RestartCacheValidation();
  ASSERT_TRUE(WaitForCache(t));
  t.layouter.RestartCacheValidation();  // halts, finds nothing changed
  EXPECT_TRUE(t.host.states.Contains(tsUseCache));
  EXPECT_EQ(t.layouter.CacheEntryAtOrAbove(4001).Node, t.byName["r2000"]);
}

}  // namespace
