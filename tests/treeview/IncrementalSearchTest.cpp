// The incremental search on its own, over a flat list of named nodes: where a search
// starts, what the same letter twice and backspace do, wrapping, and that a miss keeps
// the text and hit it had.
#include "treeview/LazyTreeIncrementalSearch.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <vector>

namespace {

class SearchList : public ::testing::Test {
protected:
  void SetUp() override {
    names = {"apple", "banana", "blueberry", "cherry", "bean"};
    nodes.resize(names.size());
    for (TLazyNode& node : nodes) {
      node = TLazyNode{};
      node.Include(nsInitialized);
    }
    search.SetMode(isAll);
    // Like the tree's walk: off either end it wraps to the other.
    walk.Step = [this](PLazyNode node, bool forward) -> PLazyNode {
      const int count = static_cast<int>(nodes.size());
      const int next = node ? static_cast<int>(node - nodes.data()) + (forward ? 1 : -1) : -1;
      if (next < 0 || next >= count) return forward ? &nodes.front() : &nodes.back();
      return &nodes[next];
    };
    walk.Match = [this](PLazyNode node, const QString& text) {
      return Name(node).startsWith(text, Qt::CaseInsensitive) ? 0 : 1;
    };
    walk.InView = [](PLazyNode) { return true; };
  }
  QString Name(PLazyNode node) const { return node ? names.at(node - nodes.data()) : QStringLiteral("nil"); }
  // Types each character with the focus on the last hit, as the tree does after a hit.
  QString Type(const QString& keys) {
    QString found;
    for (QChar key : keys) {
      const auto outcome = search.TypeKey(key, focused, walk);
      if (outcome.Found) focused = outcome.Found;
      found = outcome.Searched ? Name(outcome.Found) : QStringLiteral("waits");
    }
    return found;
  }

  QStringList names;
  std::vector<TLazyNode> nodes;
  TLazyTreeIncrementalSearch search;
  TLazyTreeIncrementalSearch::TWalk walk;
  PLazyNode focused = nullptr;
};

TEST_F(SearchList, TypedTextFindsTheFirstMatchFromTheFocus) {
  struct Case {
    const char* keys;
    int focus;  // -1: no focus
    const char* found;
    const char* buffer;
  };
  const Case cases[] = {
      {"b", -1, "banana", "b"},
      {"bl", -1, "blueberry", "bl"},
      {"be", -1, "bean", "be"},
      {"c", 4, "cherry", "c"},        // from the focus, wrapping past the end
      {"a", 3, "apple", "a"},         // wraps to the front
      {"bx", -1, "nil", "b"},         // a miss keeps the text of the last hit
      {"bb", -1, "blueberry", "b"},   // the same letter again: the next node with it
      {"bbb", -1, "bean", "b"},
      {"bbbb", -1, "banana", "b"},    // and round again
  };
  for (const Case& c : cases) {
    search.Forget();
    focused = c.focus < 0 ? nullptr : &nodes[c.focus];
    EXPECT_EQ(Type(c.keys), QString(c.found)) << c.keys;
    EXPECT_EQ(search.Buffer(), QString(c.buffer)) << c.keys;
  }
}

TEST_F(SearchList, BackspaceShortensTheTextAndSearchesBackwards) {
  EXPECT_EQ(Type("bl"), "blueberry");
  EXPECT_EQ(Type(QString(QChar(8))), "banana");  // "b" again, looking back from blueberry
  EXPECT_EQ(search.Buffer(), "b");
  EXPECT_EQ(Type(QString(QChar(8))), "waits");   // nothing left to take away
  EXPECT_EQ(search.Buffer(), "b");
}

TEST_F(SearchList, TheStartFollowsTheSetting) {
  EXPECT_EQ(Type("b"), "banana");
  search.SetStart(ssAlwaysStartOver);
  search.Forget();
  focused = &nodes[2];
  EXPECT_EQ(Type("b"), "banana");  // from the top, whatever has the focus
  search.SetStart(ssLastHit);
  search.Forget();
  EXPECT_EQ(Type("be"), "bean");
  EXPECT_EQ(search.LastHit(), &nodes[4]);
  search.ForgetNode(&nodes[4]);
  EXPECT_EQ(search.LastHit(), nullptr);
}

TEST_F(SearchList, BackwardSearchAndInitializedOnlySkipsTheRest) {
  search.SetDirection(sdBackward);
  focused = &nodes[3];
  EXPECT_EQ(Type("b"), "blueberry");
  search.Forget();
  search.SetDirection(sdForward);
  search.SetMode(isInitializedOnly);
  nodes[1].Exclude(nsInitialized);
  focused = nullptr;
  EXPECT_EQ(Type("b"), "blueberry");
}

}  // namespace
