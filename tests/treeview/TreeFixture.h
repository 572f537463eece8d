#pragma once
// Shared pieces of the tree tests: a timer driver fired by hand (support/FakeTimers.h), a
// clock set by hand, an assertion recorder, and a small owner that builds trees through
// the events only.
#include "support/FakeTimers.h"
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTreeStream.h"
#include "treeview/LazyTrees.h"

#include <QStringList>
#include <QTest>

#include <gtest/gtest.h>

#include <map>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

// Collects assertion messages for the life of the object.
class AssertRecorder {
public:
  QStringList messages;

private:
  TLazyTreeAssertScope scope_{[this](const QString& m) { messages << m; }};
};

// The index path of a node, "0.2.1"; "" for the root.
inline QString NodePath(const TBaseLazyTree& tree, PLazyNode node) {
  QStringList parts;
  for (PLazyNode run = node; run && run != tree.RootNode(); run = run->Parent) parts.prepend(QString::number(run->Index));
  return parts.join('.');
}

// The node at an index path, creating nothing.
inline PLazyNode NodeAt(const TBaseLazyTree& tree, const QString& path) {
  PLazyNode node = tree.RootNode();
  for (const QString& part : path.split('.', Qt::SkipEmptyParts)) {
    node = node->FirstChild;
    for (int i = part.toInt(); node && i > 0; --i) node = node->NextSibling;
    if (!node) return nullptr;
  }
  return node;
}

// A node's owner data in these tests: an id and the number of times it was initialised.
struct TestData {
  int id;
  int inits;
};

// A tree whose nodes carry TestData; `shape` gives the child count of each node by its id
// path ("" = root, "0" = first top-level node, "0.1" = its second child), read in
// OnInitChildren; `expanded` and `hidden` name nodes that open or hide at initialisation.
class TestTree : public TBaseLazyTree {
public:
  TestTree() {
    auto timers = std::make_unique<FakeTimers>();
    fakeTimers = timers.get();
    SetTimerDriver(std::move(timers));
    SetClock([this] { return now; });
    SetNodeDataSize(sizeof(TestData) + sizeof(int));
    OnInitNode = [this](TBaseLazyTree*, PLazyNode, PLazyNode node, TLazyNodeInitStates& states) {
      auto* data = GetNodeData<TestData>(node);
      data->id = nextId++;
      ++data->inits;
      ++initCount;
      const QString path = Path(node);
      if (shape.count(path)) states.Include(ivsHasChildren);
      if (expanded.contains(path)) states.Include(ivsExpanded);
      if (hidden.contains(path)) SetNodeVisible(node, false);
      log << "init " + path;
    };
    OnInitChildren = [this](TBaseLazyTree*, PLazyNode node, std::uint32_t& count) {
      auto it = shape.find(Path(node));
      count = it == shape.end() ? 0 : it->second;
      log << "children " + Path(node);
    };
    OnFreeNode = [this](TBaseLazyTree*, PLazyNode node) { log << "free " + Path(node); ++freeCount; };
    // The owner's data travels with nodes moved into another tree.
    OnSaveNode = [](TBaseLazyTree* tree, PLazyNode node, TLazyTreeStream& stream) {
      stream.Write(tree->GetNodeData(node), sizeof(TestData));
    };
    OnLoadNode = [](TBaseLazyTree* tree, PLazyNode node, TLazyTreeStream& stream) {
      stream.Read(tree->GetNodeData(node), sizeof(TestData));
    };
  }

  // The events use this object's members, which are gone by the time the base class
  // frees the nodes.
  ~TestTree() override {
    OnFreeNode = nullptr;
    OnInitNode = nullptr;
    OnInitChildren = nullptr;
  }

  // The index path of a node, "0.2.1"; "" for the root.
  QString Path(PLazyNode node) const { return NodePath(*this, node); }
  // The node at an index path, creating nothing.
  PLazyNode At(const QString& path) const { return NodeAt(*this, path); }
  // Builds the shape by initialising everything (the root's count from shape[""]).
  void Build() {
    SetRootNodeCount(shape[""]);
    for (PLazyNode run = GetFirst(); run; run = GetNext(run)) {
    }
  }
  // The rows in display order by the owner's id ("n" for a node never initialised),
  // without initialising anything.
  QString Rows() const {
    QStringList rows;
    for (PLazyNode run = GetFirstVisibleRaw(); run; run = GetNextVisibleRaw(run))
      rows << (run->Has(nsInitialized) ? QString::number(Data(run)->id) : QStringLiteral("n"));
    return rows.join(' ');
  }
  TestData* Data(PLazyNode node) const {
    return reinterpret_cast<TestData*>(reinterpret_cast<std::byte*>(node) + sizeof(TLazyNode) + InternalDataSize());
  }
  using TBaseLazyTree::HandleTimer;
  QMenu* PopupFor(PLazyNode node) { return DoGetPopupMenu(node, -1, {}); }

  FakeTimers* fakeTimers = nullptr;
  qint64 now = 0;
  std::map<QString, unsigned> shape;
  QStringList expanded;
  QStringList hidden;
  QStringList log;
  int nextId = 1;
  int initCount = 0;
  int freeCount = 0;
};

#define EXPECT_TOTALS_AGREE(tree) EXPECT_EQ((tree).CheckTotals(), QStringList())

// Shows a tree without border and scroll bars at Size, so its window is exactly that big.
inline ::testing::AssertionResult ShowPlain(TBaseLazyTree& tree, QSize size) {
  tree.ScrollBarOptions().SetScrollBars(ssNone);
  tree.SetBorderStyle(bsNone);
  tree.resize(size);
  tree.show();
  if (!QTest::qWaitForWindowExposed(&tree)) return ::testing::AssertionFailure() << "the window never showed";
  return ::testing::AssertionSuccess();
}
