#pragma once
// A string tree for the tests of working with the tree: texts by index path, timers and
// clock by hand, a window on the offscreen platform, and a record of the owner events.
#include "TreeFixture.h"

#include "treeview/LazyStringTree.h"
#include "treeview/LazyTreeEditLink.h"

#include <QApplication>
#include <QTest>

class TextTree : public TLazyStringTree {
public:
  TextTree() {
    auto timers = std::make_unique<FakeTimers>();
    fakeTimers = timers.get();
    SetTimerDriver(std::move(timers));
    SetClock([this] { return now; });
    OnInitChildren = [this](TBaseLazyTree*, PLazyNode node, std::uint32_t& count) {
      auto it = children.find(Path(node));
      count = it == children.end() ? 0 : it->second;
    };
    OnInitNode = [this](TBaseLazyTree*, PLazyNode, PLazyNode node, TLazyNodeInitStates& states) {
      ++inits[Path(node)];
      if (children.count(Path(node))) states.Include(ivsHasChildren);
      if (multiline.contains(Path(node))) states.Include(ivsMultiline);
    };
    OnGetText = [this](TBaseLazyTree*, PLazyNode node, int, TLSTTextType type, QString& text) {
      const QString path = Path(node);
      if (type == ttNormal && texts.count(path)) text = texts[path];
      if (type == ttStatic && statics.count(path)) text = statics[path];
    };
    OnNewText = [this](TBaseLazyTree*, PLazyNode node, int, const QString& text) {
      log << "new " + Path(node) + " " + text;
      texts[Path(node)] = text;
    };
    OnEdited = [this](TBaseLazyTree*, PLazyNode node, int) { log << "edited " + Path(node); };
    OnEditCancelled = [this](TBaseLazyTree*, int) { log << "cancelled"; };
    OnFocusChanged = [this](TBaseLazyTree*, PLazyNode node, int) { log << "focus " + (node ? Path(node) : "nil"); };
  }
  ~TextTree() override {
    OnGetText = nullptr;
    OnInitNode = nullptr;
    OnInitChildren = nullptr;
    OnNewText = nullptr;
    OnEdited = nullptr;
    OnEditCancelled = nullptr;
    OnFocusChanged = nullptr;
  }

  QString Path(PLazyNode node) const { return NodePath(*this, node); }
  PLazyNode At(const QString& path) const { return NodeAt(*this, path); }
  // Top-level texts in order; every node is created and initialised.
  void SetTexts(const QStringList& list) {
    children[""] = static_cast<unsigned>(list.size());
    for (int i = 0; i < list.size(); ++i) texts[QString::number(i)] = list[i];
    SetRootNodeCount(static_cast<unsigned>(list.size()));
    for (PLazyNode run = GetFirst(); run; run = GetNext(run)) {
    }
  }
  // Shows the tree at a fixed size and gives it the keyboard focus.
  void ShowAt(QSize size = {300, 200}) {
    resize(size);
    show();
    activateWindow();
    setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(this));
  }
  // The middle of a node's row at a given x, in viewport coordinates.
  QPoint RowPoint(PLazyNode node, int x) const { return QPoint(x, NodeTop(node) + OffsetY() + node->NodeHeight / 2); }
  // The x of the middle of a node's text.
  int LabelX(PLazyNode node) {
    const int level = static_cast<int>(LevelOfNode(node)) + (TreeOptions().PaintOptions().Contains(toShowRoot) ? 1 : 0);
    return level * Indent() + Margin() + ContentWidthOf(node, -1) / 2;
  }
  using TBaseLazyTree::HandleTimer;
  using TBaseLazyTree::HitAt;

  FakeTimers* fakeTimers = nullptr;
  qint64 now = 0;
  std::map<QString, unsigned> children;
  std::map<QString, QString> texts;
  std::map<QString, QString> statics;
  std::map<QString, int> inits;
  QStringList multiline;
  QStringList log;
};
