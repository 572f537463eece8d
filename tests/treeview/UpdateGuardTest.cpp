// The update bracket held for a scope: it always closes, and an error while closing never
// hides the error that ended the scope.
#include "TreeFixture.h"
#include "treeview/LazyTreeUpdateGuard.h"

#include <stdexcept>

namespace {

// Counts the bracket's ends; the end throws when told to.
struct BracketStub {
  void BeginTreeUpdate() { ++begins; }
  void EndTreeUpdate() {
    ++ends;
    if (endThrows) throw std::runtime_error("end");
  }
  int begins = 0;
  int ends = 0;
  bool endThrows = false;
};

struct GuardCase {
  const char* name;
  bool bodyThrows;
  bool endThrows;
  const char* escapes;  // the error the caller sees, "" for none
};
const GuardCase kGuardCases[] = {
    {"normal exit", false, false, ""},
    {"body fails", true, false, "body"},
    {"end fails", false, true, "end"},
    {"both fail: the body's error wins", true, true, "body"},
};

TEST(TreeUpdateGuard, ClosesTheBracketOnEveryExit) {
  for (const GuardCase& c : kGuardCases) {
    SCOPED_TRACE(c.name);
    BracketStub tree;
    tree.endThrows = c.endThrows;
    std::string escaped;
    try {
      TTreeUpdateGuard update(tree);
      EXPECT_EQ(tree.begins, 1);
      if (c.bodyThrows) throw std::runtime_error("body");
    } catch (const std::runtime_error& e) {
      escaped = e.what();
    }
    EXPECT_EQ(tree.ends, 1);
    EXPECT_EQ(escaped, c.escapes);
  }
}

// An owner's error in the middle of a bracketed operation leaves the tree out of its
// update, so it paints and reports changes again.
TEST(TreeUpdateGuard, OwnerErrorDuringExpandAllEndsTheUpdate) {
  TestTree tree;
  tree.shape = {{"", 2}, {"0", 2}, {"1", 2}};
  tree.SetRootNodeCount(2);  // the children are asked for as the nodes open
  tree.OnInitChildren = [](TBaseLazyTree*, PLazyNode, std::uint32_t&) { throw std::runtime_error("owner"); };
  EXPECT_THROW(tree.ExpandAll(nullptr), std::runtime_error);
  EXPECT_EQ(tree.UpdateCount(), 0);
  EXPECT_FALSE(tree.TreeStates().Contains(tsUpdating));
}

}  // namespace
