// Incremental search typed into the tree, across the search timer.
#include "StringTreeFixture.h"

#include "support/FakeDesktop.h"

namespace {

class Search : public ::testing::Test {
protected:
  void SetUp() override {
    tree.SetIncrementalSearch(isAll);
    tree.SetTexts({"apple", "banana", "berry", "blue", "cherry", "bean"});
    tree.ShowAt();
  }
  QString Focused() const { return tree.FocusedNode() ? tree.texts.at(tree.Path(tree.FocusedNode())) : "nil"; }
  void Type(const char* keys) {
    for (const char* k = keys; *k; ++k) {
      if (*k == '\b')
        QTest::keyClick(&tree, Qt::Key_Backspace);
      else
        QTest::keyClick(&tree, *k);
    }
  }
  FakeDesktop desktop;
  TextTree tree;
};

TEST_F(Search, TypedKeysFollowTheTextUntilTheTimeout) {
  struct Step {
    const char* keys;
    const char* focused;
    const char* buffer;
  };
  const Step steps[] = {
      {"b", "banana", "b"},
      {"e", "berry", "be"},   // "banana" fails the longer text: on to the next
      {"a", "bean", "bea"},
      {"\b", "berry", "be"},  // backspace searches backwards with the shorter text
  };
  for (const Step& step : steps) {
    Type(step.keys);
    EXPECT_EQ(Focused(), step.focused) << step.keys;
    EXPECT_EQ(tree.SearchBuffer(), step.buffer);
    EXPECT_TRUE(tree.fakeTimers->IsRunning(SearchTimer));
    EXPECT_EQ(tree.fakeTimers->Interval(SearchTimer), 1000);
  }
  EXPECT_EQ(tree.SelectionCount(), 1u);
  EXPECT_TRUE(tree.GetNodeSelected(tree.FocusedNode()));
  tree.HandleTimer(SearchTimer);
  EXPECT_FALSE(tree.TreeStates().Contains(tsIncrementalSearching));
  EXPECT_EQ(tree.SearchBuffer(), "");
  Type("c");  // a new text
  EXPECT_EQ(Focused(), "cherry");
  EXPECT_TRUE(desktop.Log().isEmpty());
}

TEST_F(Search, TheSameLetterStepsThroughAndWrapsAround) {
  const char* expected[] = {"banana", "berry", "blue", "bean", "banana"};
  for (const char* name : expected) {
    Type("b");
    EXPECT_EQ(Focused(), name);
    EXPECT_EQ(tree.SearchBuffer(), "b");
  }
}

TEST_F(Search, TheSameLetterTwiceStaysOnANodeThatHasItTwice) {
  tree.texts["5"] = "bbq";
  tree.SetFocusedNode(tree.At("4"));
  Type("b");
  EXPECT_EQ(Focused(), "bbq");
  Type("b");
  EXPECT_EQ(Focused(), "bbq");
  EXPECT_EQ(tree.SearchBuffer(), "bb");
}

TEST_F(Search, AMissBeepsAndKeepsFocusSelectionAndText) {
  Type("bl");
  ASSERT_EQ(Focused(), "blue");
  const int before = tree.inits.at("0");
  Type("x");
  EXPECT_EQ(desktop.Log(), QStringList{"beep"});
  EXPECT_EQ(Focused(), "blue");
  EXPECT_EQ(tree.SearchBuffer(), "bl");
  EXPECT_EQ(tree.SelectionCount(), 1u);
  EXPECT_EQ(tree.inits.at("0"), before);  // a miss initialises nothing again
}

TEST_F(Search, LocaleRulesMatchEquivalentSpellings) {
  tree.texts["2"] = QStringLiteral("e\u0301clair");  // e + combining acute
  tree.IncrementalSearchKey(QChar(0x00E9));             // é typed as one character
  EXPECT_EQ(Focused(), QStringLiteral("e\u0301clair"));
}

TEST_F(Search, InitialisedOnlyModeSkipsNodesNeverInitialised) {
  TextTree lazy;
  lazy.SetIncrementalSearch(isInitializedOnly);
  lazy.children = {{"", 200}};
  lazy.texts = {{"150", "target"}};
  lazy.SetRootNodeCount(200);  // only the rows a window would show get initialised
  ASSERT_FALSE(lazy.At("150")->Has(nsInitialized));
  const size_t initialised = lazy.inits.size();
  lazy.IncrementalSearchKey('t');
  EXPECT_EQ(lazy.FocusedNode(), nullptr);
  EXPECT_EQ(lazy.inits.size(), initialised);
  EXPECT_EQ(desktop.Log(), QStringList{"beep"});
  lazy.GetNodeVisible(lazy.At("150"));  // initialises it
  lazy.IncrementalSearchKey('t');
  EXPECT_EQ(lazy.FocusedNode(), lazy.At("150"));
  lazy.SetIncrementalSearch(isNone);
  lazy.IncrementalSearchKey('x');
  EXPECT_FALSE(lazy.fakeTimers->IsRunning(SearchTimer));
}

TEST_F(Search, TheOwnerCanCompare) {
  tree.OnIncrementalSearch = [](TBaseLazyTree*, PLazyNode node, const QString&, int& result) {
    result = node->Index == 4 ? 0 : 1;
  };
  Type("z");
  EXPECT_EQ(Focused(), "cherry");
}

}  // namespace
