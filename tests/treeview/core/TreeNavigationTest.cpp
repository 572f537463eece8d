// The control's navigation family without a widget: where each operation lands, and that
// the plain operations make ready exactly what they reach while the Raw ones ask nothing.
#include "treeview/LazyNodeWalker.h"
#include "treeview/LazySelection.h"
#include "treeview/LazyTreeNavigation.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <map>
#include <string>

namespace {

// Root: A (initialised, expanded) with 1 and hidden 2 (both initialised); B (collapsed)
// with 3; C (initialised) that may have children but has none yet; hidden D. B, 3 and D
// are not initialised. The readiness records what it is asked ("+C": C's children) and
// gives C the children x and y.
class Navigation : public TLazyTreeNavigation, TNodeReadiness {
public:
  Navigation() {
    store.SetNodeDataSize(sizeof(char));
    PLazyNode a = Add('A', store.Root(), {nsInitialized, nsExpanded});
    Add('1', a, {nsInitialized});
    Add('2', a, {nsInitialized}, false);
    Add('3', Add('B', store.Root(), {}), {});
    Add('C', store.Root(), {nsInitialized, nsHasChildren});
    Add('D', store.Root(), {}, false);
    AttachNavigation(store, *this, selection);
  }
  PLazyNode Add(char name, PLazyNode parent, std::initializer_list<TLazyNodeState> states, bool visible = true) {
    PLazyNode node = store.NewNode();
    *static_cast<char*>(store.NodeData(node)) = name;
    for (TLazyNodeState state : states) node->Include(state);
    if (!visible) node->Exclude(nsVisible);
    store.Link(node, parent, amAddChildLast);
    byName[name] = node;
    return node;
  }
  char Name(PLazyNode node) const { return node ? *static_cast<char*>(store.NodeData(node)) : '-'; }

  TLazyNodeStore store{nullptr};
  TLazySelection selection{store};
  std::map<char, PLazyNode> byName;  // '-' is nil
  std::string asked;

private:
  void InitializeNode(PLazyNode node) override {
    node->Include(nsInitialized);
    asked += Name(node);
  }
  void InitializeChildren(PLazyNode node) override {
    asked += std::string("+") + Name(node);
    Add('x', node, {});
    Add('y', node, {});
  }
};

struct PlainCase {
  const char* name;
  PLazyNode (TLazyTreeNavigation::*step)(PLazyNode);
  char from;
  char lands;
  const char* asked;
};
const PlainCase kPlainCases[] = {
    {"next makes the parent's next sibling ready", &TLazyTreeNavigation::GetNext, '2', 'B', "B"},
    {"next enters children made on the way", &TLazyTreeNavigation::GetNext, 'C', 'x', "+Cx"},
    {"next makes the node and its first child ready", &TLazyTreeNavigation::GetNext, 'B', '3', "B3"},
    {"previous goes down the previous sibling", &TLazyTreeNavigation::GetPrevious, 'C', '3', "B3"},
    {"last of the tree", &TLazyTreeNavigation::GetLast, '-', 'D', "D"},
    {"first child, children made", &TLazyTreeNavigation::GetFirstChildNode, 'C', 'x', "+Cx"},
    {"last child, children made", &TLazyTreeNavigation::GetLastChildNode, 'C', 'y', "+Cy"},
    {"next sibling", &TLazyTreeNavigation::GetNextSiblingNode, 'A', 'B', "B"},
    {"previous sibling already ready", &TLazyTreeNavigation::GetPreviousSiblingNode, 'D', 'C', ""},
    {"next row into an expanded node", &TLazyTreeNavigation::GetNextVisible, 'A', '1', ""},
    {"next row skips a hidden sibling", &TLazyTreeNavigation::GetNextVisible, '1', 'B', "B"},
    {"next row skips a collapsed node's children", &TLazyTreeNavigation::GetNextVisible, 'B', 'C', ""},
    {"next row from inside a collapsed node", &TLazyTreeNavigation::GetNextVisible, '3', 'C', ""},
    {"no row after the last, the hidden one made ready", &TLazyTreeNavigation::GetNextVisible, 'C', '-', "D"},
    {"previous row is a collapsed sibling", &TLazyTreeNavigation::GetPreviousVisibleNode, 'C', 'B', "B"},
    {"last row passes the hidden last node", &TLazyTreeNavigation::GetLastVisibleNode, '-', 'C', "D"},
    {"first visible child", &TLazyTreeNavigation::GetFirstVisibleChildNode, 'B', '3', "3"},
    {"no visible sibling after", &TLazyTreeNavigation::GetNextVisibleSiblingNode, 'C', '-', "D"},
    {"visible sibling before", &TLazyTreeNavigation::GetPreviousVisibleSiblingNode, 'D', 'C', ""},
};

TEST(TreeNavigation, PlainOperationsMakeReadyWhatTheyReach) {
  for (const PlainCase& c : kPlainCases) {
    SCOPED_TRACE(c.name);
    Navigation nav;
    EXPECT_EQ(nav.Name((nav.*c.step)(nav.byName[c.from])), c.lands);
    EXPECT_EQ(nav.asked, c.asked);
  }
}

struct RawCase {
  const char* name;
  PLazyNode (TLazyTreeNavigation::*step)(PLazyNode) const;
  char from;
  char lands;
};
const RawCase kRawCases[] = {
    {"next does not make children", &TLazyTreeNavigation::GetNextRaw, 'C', 'D'},
    {"previous goes down the previous sibling", &TLazyTreeNavigation::GetPreviousRaw, 'C', '3'},
    {"next initialised skips B and 3", &TLazyTreeNavigation::GetNextInitializedNode, '2', 'C'},
    {"last of the tree", &TLazyTreeNavigation::GetLastRaw, '-', 'D'},
    {"no last child before children are made", &TLazyTreeNavigation::GetLastChildRaw, 'C', '-'},
    {"next row skips a hidden sibling", &TLazyTreeNavigation::GetNextVisibleRaw, '1', 'B'},
    {"no row after the last", &TLazyTreeNavigation::GetNextVisibleRaw, 'C', '-'},
    {"the row above a folded child is its parent", &TLazyTreeNavigation::GetPreviousVisibleRaw, '3', 'B'},
    {"last row", &TLazyTreeNavigation::GetLastVisibleRaw, '-', 'C'},
    {"last visible child skips the hidden one", &TLazyTreeNavigation::GetLastVisibleChildRaw, 'A', '1'},
    {"visible sibling before skips the hidden one", &TLazyTreeNavigation::GetPreviousVisibleSiblingRaw, 'D', 'C'},
    {"nearest shown ancestor of a folded child", &TLazyTreeNavigation::GetNearestShownAncestor, '3', 'B'},
};

TEST(TreeNavigation, RawOperationsAskNothing) {
  for (const RawCase& c : kRawCases) {
    SCOPED_TRACE(c.name);
    Navigation nav;
    EXPECT_EQ(nav.Name((nav.*c.step)(nav.byName[c.from])), c.lands);
    EXPECT_EQ(nav.asked, "");
  }
}

TEST(TreeNavigation, SelectedNodesAreWalkedOnlyWhenThereAreAny) {
  Navigation nav;
  EXPECT_EQ(nav.GetFirstSelectedNode(), nullptr);
  EXPECT_EQ(nav.asked, "");  // an empty selection walks nothing
  PLazyNode three = nav.byName['3'];
  three->Include(nsSelected);
  nav.selection.Insert(three);
  EXPECT_EQ(nav.GetFirstSelectedNode(), three);
  EXPECT_EQ(nav.asked, "B3");
}

}  // namespace
