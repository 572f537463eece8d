// Tree order and display order over a node store, without a widget: the Raw walk reads
// only; a walk with readiness hooks asks for what it reaches.
#include "treeview/LazyNodeWalker.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

// Root: A (expanded) with a1 and hidden a2, B (collapsed) with b1, C.
class Shape {
public:
  Shape() {
    store.SetNodeDataSize(sizeof(char));
    PLazyNode a = Add('A', store.Root());
    a->Include(nsExpanded);
    Add('1', a);
    Add('2', a)->Exclude(nsVisible);  // hidden after linking: the totals do not matter here
    Add('3', Add('B', store.Root()));
    Add('C', store.Root());
  }
  PLazyNode Add(char name, PLazyNode parent) {
    PLazyNode node = store.NewNode();
    *static_cast<char*>(store.NodeData(node)) = name;
    store.Link(node, parent, amAddChildLast);
    byName[name] = node;
    return node;
  }
  char Name(PLazyNode node) const { return node ? *static_cast<char*>(store.NodeData(node)) : '-'; }

  TLazyNodeStore store{nullptr};
  std::map<char, PLazyNode> byName;
};

struct WalkCase {
  const char* name;
  PLazyNode (TLazyNodeWalker::*step)(PLazyNode) const;
  char from;
  const char* visits;  // the names reached step by step until the walk ends ("-")
};
const WalkCase kWalkCases[] = {
    {"tree order", &TLazyNodeWalker::Next, 'A', "12B3C-"},
    {"tree order backwards", &TLazyNodeWalker::Previous, 'C', "3B21A-"},
    {"display order", &TLazyNodeWalker::NextVisible, 'A', "1BC-"},
    {"display order backwards", &TLazyNodeWalker::PreviousVisible, 'C', "B1A-"},
    {"display order from a folded child", &TLazyNodeWalker::NextVisible, '3', "C-"},
    {"the row above a folded child is its parent", &TLazyNodeWalker::PreviousVisible, '3', "B1A-"},
    {"display order from a hidden node", &TLazyNodeWalker::NextVisible, '2', "BC-"},
};

TEST(NodeWalker, RawWalksFollowTheLinks) {
  for (const WalkCase& c : kWalkCases) {
    SCOPED_TRACE(c.name);
    Shape shape;
    const TLazyNodeWalker walk(shape.store);
    std::string visits;
    PLazyNode run = shape.byName[c.from];
    do {
      run = (walk.*c.step)(run);
      visits += shape.Name(run);
    } while (run && visits.size() < 10);
    EXPECT_EQ(visits, c.visits);
  }
}

TEST(NodeWalker, LastRowsFollowExpandedNodesOnly) {
  Shape shape;
  const TLazyNodeWalker walk(shape.store);
  EXPECT_EQ(shape.Name(walk.DeepestLast(shape.byName['A'])), '2');
  EXPECT_EQ(shape.Name(walk.DeepestLastVisible(shape.byName['A'])), '1');
  EXPECT_EQ(shape.Name(walk.DeepestLastVisible(shape.byName['B'])), 'B');  // folded
  EXPECT_EQ(shape.Name(walk.FirstVisibleChild(shape.store.Root())), 'A');
}

// Records what a walk asks for and gives a node that may have children two of them.
class RecordingReadiness : public TNodeReadiness {
public:
  explicit RecordingReadiness(Shape& shape) : shape_(shape) {}
  void InitializeNode(PLazyNode node) override {
    node->Include(nsInitialized);
    asked += shape_.Name(node);
  }
  void InitializeChildren(PLazyNode node) override {
    asked += std::string("+") + shape_.Name(node);
    shape_.Add('x', node);
    shape_.Add('y', node);
  }
  std::string asked;

private:
  Shape& shape_;
};

TEST(NodeWalker, AWalkWithReadinessAsksForNodesAndChildrenOnce) {
  Shape shape;
  PLazyNode c = shape.byName['C'];
  c->Include(nsHasChildren);  // may have children, has none yet
  RecordingReadiness readiness(shape);
  const TLazyNodeWalker walk(shape.store, &readiness);
  std::string visits;
  for (PLazyNode run = shape.byName['B']; run; run = walk.Next(run)) visits += shape.Name(run);
  EXPECT_EQ(visits, "B3Cxy");
  EXPECT_EQ(readiness.asked, "B3C+Cxy");
  visits.clear();
  for (PLazyNode run = shape.byName['B']; run; run = walk.Next(run)) visits += shape.Name(run);
  EXPECT_EQ(visits, "B3Cxy");
  EXPECT_EQ(readiness.asked, "B3C+Cxy");  // nothing asked twice
}

}  // namespace
