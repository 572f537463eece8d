// The hint modes, header hints, keeping the hint on its screen, and the fade and slide.
#include "StringTreeFixture.h"

#include "treeview/LazyTreeHintWindow.h"

#include <QToolTip>

namespace {

// Two 100-pixel columns under a 20-pixel header, for header hints.
class HintHeaderTree : public TextTree {
public:
  bool headerBusy = false;

protected:
  int HeaderHeight() const override { return 20; }
  int ColumnCount() const override { return 2; }
  int MainColumn() const override { return 0; }
  bool IsColumnVisible(int) const override { return true; }
  int FirstVisibleColumn() const override { return 0; }
  int NextVisibleColumn(int c) const override { return c == 0 ? 1 : -1; }
  int PreviousVisibleColumn(int c) const override { return c == 1 ? 0 : -1; }
  int ColumnsWidth() const override { return 200; }
  QRect ColumnBounds(int c) const override { return QRect(c * 100, 0, 100, 20); }
  bool HeaderShowsHints() const override { return true; }
  bool HeaderIsBusy() const override { return headerBusy; }
  QString ColumnHint(int c) const override { return c == 0 ? "Title column" : ""; }
};

class Hints : public ::testing::Test {
protected:
  void SetUp() override {
    tree.SetShowHint(true);
    tree.SetTexts({"short", "a text that is far too long to fit into this narrow tree window"});
    tree.ShowAt({160, 120});
    tree.OnGetHint = [this](TBaseLazyTree*, PLazyNode node, int, QString& hint) {
      ++hintRequests;
      hint = "hint of " + tree.Path(node);
    };
  }
  QPoint Over(int row, int x = 30) { return tree.RowPoint(tree.At(QString::number(row)), x); }
  TLazyTreeHintWindow* Window() { return tree.HintWindow(); }
  bool Showing() { return Window() && Window()->isVisible(); }
  TextTree tree;
  int hintRequests = 0;
};

TEST_F(Hints, DefaultModeShowsTheShortPartOfTheTreeHint) {
  tree.SetHint("Tasks|All your tasks");
  TBaseLazyTree::THintInfo info;
  EXPECT_TRUE(tree.HintShow(Over(0), info));
  EXPECT_FALSE(info.OwnWindow);
  EXPECT_EQ(info.HintStr, "Tasks");
  tree.SetHint("");
  EXPECT_FALSE(tree.HintShow(Over(0), info));
  tree.SetShowHint(false);
  tree.SetHint("Tasks");
  EXPECT_FALSE(tree.HintShow(Over(0), info));
}

TEST_F(Hints, HintModeAsksTheOwnerAndShowsBelowTheRow) {
  tree.SetHintMode(hmHint);
  tree.ShowHintFor(Over(0));
  ASSERT_TRUE(Showing());
  EXPECT_EQ(Window()->HintText(), "hint of 0");
  const QRect row = tree.GetDisplayRect(tree.At("0"), -1, false);
  EXPECT_GE(Window()->geometry().top(), tree.viewport()->mapToGlobal(QPoint(0, row.bottom() + 1)).y() + 2);
  EXPECT_TRUE(tree.TreeStates().Contains(tsHint));
  const int asked = hintRequests;
  tree.ShowHintFor(Over(0, 60));  // inside the same row: the hint stays as it is
  EXPECT_EQ(hintRequests, asked);
  tree.ShowHintFor(Over(1));
  EXPECT_EQ(Window()->HintText(), "hint of 1");
  // Below the rows there is no node: hint-and-default falls back to the tree's hint.
  tree.SetHintMode(hmHintAndDefault);
  tree.SetHint("Tree hint");
  TBaseLazyTree::THintInfo info;
  EXPECT_TRUE(tree.HintShow(QPoint(30, tree.ClientHeight() - 3), info));
  EXPECT_EQ(info.HintStr, "Tree hint");
}

TEST_F(Hints, TooltipModeShowsOnlyCutOffText) {
  tree.SetHintMode(hmTooltip);
  EXPECT_EQ(tree.HintShowPause(Over(0)), 0);
  tree.ShowHintFor(Over(0, tree.LabelX(tree.At("0"))));
  EXPECT_FALSE(Showing());  // "short" fits
  PLazyNode cut = tree.At("1");
  tree.ShowHintFor(Over(1, 40));
  ASSERT_TRUE(Showing());
  EXPECT_EQ(Window()->HintText(), tree.texts["1"]);
  // Laid exactly over the cut text: its top-left corner at the text's.
  const QRect text = tree.CellTextRect(cut, -1);
  EXPECT_EQ(Window()->geometry().topLeft(), tree.viewport()->mapToGlobal(text.topLeft()));
  EXPECT_EQ(Window()->width(), text.width() + 2);
}

TEST_F(Hints, NoHintWhileEditingTheNodeUnderTheMouse) {
  tree.SetHintMode(hmHint);
  tree.TreeOptions().SetMiscOptions(tree.TreeOptions().MiscOptions() + TLTMiscOptions{toEditable});
  ASSERT_TRUE(tree.EditNode(tree.At("0"), -1));
  TBaseLazyTree::THintInfo info;
  EXPECT_FALSE(tree.HintShow(Over(0), info));
  EXPECT_TRUE(tree.HintShow(Over(1), info));
  tree.AbortEdit();
}

TEST(HeaderHints, TheHoveredColumnsHint) {
  HintHeaderTree tree;
  tree.SetShowHint(true);
  tree.SetTexts({"a"});
  tree.ShowAt({240, 120});
  TBaseLazyTree::THintInfo info;
  EXPECT_TRUE(tree.HintShow(QPoint(50, -5), info));
  EXPECT_EQ(info.Text, "Title column");
  EXPECT_EQ(info.CursorRect, QRect(0, -20, 100, 20));
  EXPECT_GE(info.HintPos.y(), tree.viewport()->mapToGlobal(QPoint(0, 0)).y());
  EXPECT_FALSE(tree.HintShow(QPoint(150, -5), info));  // no hint for that column
  tree.headerBusy = true;                               // dragging or sizing a column
  EXPECT_FALSE(tree.HintShow(QPoint(50, -5), info));
}

class HintPlacement : public Hints {
protected:
  void SetUp() override {
    Hints::SetUp();
    saved = TLazyTreeHintWindow::AvailableAreaAt();
    // A second screen right of and below the first.
    TLazyTreeHintWindow::AvailableAreaAt() = [](QPoint) { return QRect(1000, 500, 800, 600); };
    tree.SetHintMode(hmHint);
    tree.ShowHintFor(Over(0));
    ASSERT_TRUE(Showing());
  }
  void TearDown() override { TLazyTreeHintWindow::AvailableAreaAt() = saved; }
  std::function<QRect(QPoint)> saved;
};

TEST_F(HintPlacement, TheHintStaysOnTheScreenThatHoldsTheMouse) {
  struct Case {
    QPoint at;
    QPoint expected;
  };
  const Case cases[] = {
      {{1750, 1080}, {1800 - 100, 1100 - 40}},  // past the right and bottom edges
      {{900, 400}, {1000, 500}},                // before the left and top edges
      {{1200, 700}, {1200, 700}},               // inside: unchanged
  };
  for (const Case& c : cases) {
    Window()->ShowHintAt(QRect(c.at, QSize(100, 40)));
    EXPECT_EQ(Window()->geometry().topLeft(), c.expected) << c.at.x() << "," << c.at.y();
  }
}

TEST_F(HintPlacement, FadeAndSlideRunOnTheTreeClockAndEndWhole) {
  tree.SetAnimationDuration(100);
  tree.SetHintAnimation(hatFade);
  tree.now = 1000;
  Window()->ShowHintAt(QRect(QPoint(1200, 700), QSize(80, 30)));
  ASSERT_TRUE(Window()->Animating());
  const QImage whole = Window()->RenderedHint();
  EXPECT_TRUE(Window()->AnimationStep(1100));  // half of twice the duration: partly blended in
  EXPECT_NE(Window()->CurrentFrame(), whole);
  EXPECT_FALSE(Window()->AnimationStep(1200));
  EXPECT_EQ(Window()->CurrentFrame(), whole);
  EXPECT_FALSE(tree.TreeStates().Contains(tsInAnimation));

  tree.SetHintAnimation(hatSlide);
  Window()->ShowHintAt(QRect(QPoint(1200, 700), QSize(80, 30)));
  EXPECT_TRUE(Window()->AnimationStep(1050));  // half the duration: the bottom half shows on top
  const QImage frame = Window()->CurrentFrame();
  EXPECT_EQ(frame.copy(0, 0, 80, 15), whole.copy(0, 15, 80, 15));
  tree.DoStateChange({tsCancelHintAnimation});  // a cancelled animation ends with the whole hint
  EXPECT_FALSE(Window()->AnimationStep(1060));
  EXPECT_EQ(Window()->CurrentFrame(), whole);
}

}  // namespace
