#include "NotebookFixture.h"
#include "platform/VirtualKeys.h"
#include "controls/clctrl.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// Page events as "change:2", "changed:2", "click:2", "user:300".
class EventLog {
public:
  explicit EventLog(TClNotebook& notebook) {
    notebook.OnPageChange = [this](TClNotebook&, int index, bool& allow) {
      entries << QStringLiteral("change:%1").arg(index);
      allow = allow && index != veto;
    };
    notebook.OnPageChanged = [this](TClNotebook&, int index) { entries << QStringLiteral("changed:%1").arg(index); };
    notebook.OnTabClick = [this](TClNotebook&, int index) { entries << QStringLiteral("click:%1").arg(index); };
    notebook.OnUserCommand = [this](TClNotebook&, int command) { entries << QStringLiteral("user:%1").arg(command); };
  }
  QStringList entries;
  int veto = -1;
};

QStringList Captions(int count) {
  QStringList captions;
  for (int i = 0; i < count; ++i) captions << QString(QChar('A' + i));
  return captions;
}

// The pages that are shown: exactly the current one after every change.
QStringList ShownPages(const TClNotebook& notebook) {
  QStringList shown;
  for (int i = 0; i < notebook.CountPages(); ++i) {
    if (!notebook.PageAt(i)->isHidden()) shown << notebook.PageAt(i)->Caption();
  }
  return shown;
}

TEST(ClNotebook, LoadingEndsOnTheDefaultPageWithoutEvents) {
  auto notebook = std::make_unique<TClNotebook>();
  EventLog log(*notebook);
  notebook->BeginLoading();
  for (const QString& caption : Captions(4)) {
    auto* page = new TClTabPage(notebook.get());
    page->SetCaption(caption);
    page->SetHelpContext(40 + notebook->CountPages());
    page->SetHint(caption + " page");
  }
  notebook->SetPageIndex(3);
  notebook->SetDefaultPageIndex(2);
  notebook->EndLoading();
  EXPECT_EQ(notebook->PageIndex(), 2);
  EXPECT_EQ(ShownPages(*notebook), QStringList{"C"});
  EXPECT_TRUE(log.entries.isEmpty()) << log.entries.join(' ').toStdString();
  EXPECT_EQ(notebook->HelpContext(), 43);
  EXPECT_EQ(notebook->Hint(), "C page");
}

TEST(ClNotebook, PageIndexAsksFirstAndReportsAfter) {
  auto notebook = MakeNotebook(Captions(4));
  EventLog log(*notebook);
  notebook->SetPageIndex(2);
  notebook->SetPageIndex(2);
  log.veto = 3;
  notebook->SetPageIndex(3);
  EXPECT_EQ(log.entries, (QStringList{"change:2", "changed:2", "change:3"}));
  EXPECT_EQ(notebook->PageIndex(), 2) << "vetoed";
  EXPECT_EQ(ShownPages(*notebook), QStringList{"C"});

  // A change asked for while one is going on is dropped.
  log.entries.clear();
  notebook->OnPageChange = [&](TClNotebook& sender, int index, bool&) {
    log.entries << QStringLiteral("change:%1").arg(index);
    sender.SetPageIndex(0);
  };
  notebook->SetPageIndex(1);
  EXPECT_EQ(log.entries, (QStringList{"change:1", "changed:1"}));
  EXPECT_EQ(notebook->PageIndex(), 1);
}

TEST(ClNotebook, OnlyValidPagesCanBecomeCurrent) {
  auto notebook = MakeNotebook(Captions(4));
  EventLog log(*notebook);
  notebook->PageAt(1)->SetEnabled(false);
  notebook->PageAt(2)->SetPageVisible(false);
  for (const int invalid : {-1, 1, 2, 4}) {
    try {
      notebook->SetPageIndex(invalid);
      ADD_FAILURE() << invalid;
    } catch (const EInvalidPageIndex& error) {
      EXPECT_EQ(error.Message(), "Invalid page index value");
    }
    EXPECT_EQ(notebook->PageIndex(), 0);
  }
  EXPECT_TRUE(log.entries.isEmpty());
  EXPECT_EQ(notebook->PageAt(4), nullptr);

  // A current page disabled meanwhile still goes when another is chosen.
  notebook->PageAt(0)->SetEnabled(false);
  notebook->SetPageIndex(3);
  EXPECT_EQ(ShownPages(*notebook), QStringList{"D"});
  EXPECT_EQ(notebook->PageAt(-1), nullptr);
}

TEST(ClNotebook, WalksTheValidPagesAround) {
  auto notebook = MakeNotebook(Captions(5));
  notebook->PageAt(1)->SetEnabled(false);
  notebook->PageAt(4)->SetPageVisible(false);
  const struct {
    int from, next, previous;
  } cases[] = {{0, 2, 3}, {2, 3, 0}, {3, 0, 2}, {-1, 0, 3}, {9, 0, 3}, {4, 0, 3}};
  for (const auto& c : cases) {
    EXPECT_EQ(notebook->NextValidPage(c.from), c.next) << c.from;
    EXPECT_EQ(notebook->PrevValidPage(c.from), c.previous) << c.from;
  }
  auto single = MakeNotebook(Captions(1));
  EXPECT_EQ(single->NextValidPage(0), -1);
  EXPECT_EQ(single->PrevValidPage(0), -1);
}

TEST(ClNotebook, DeletingPages) {
  const struct {
    const char* what;
    int pages, current, disabled, deleted;
    int index;
    QStringList shown;
    QStringList events;
  } cases[] = {
      {"the current page gives way to the next", 4, 1, -1, 1, 1, {"C"}, {}},
      {"the current last page gives way to the first", 4, 3, -1, 3, 0, {"A"}, {"change:0", "changed:0"}},
      {"the first valid page when page 0 is disabled", 4, 3, 0, 3, 1, {"B"}, {"change:1", "changed:1"}},
      {"a page before the current one", 4, 2, -1, 0, 1, {"C"}, {}},
      {"a page after the current one", 4, 1, -1, 3, 1, {"B"}, {}},
      {"the only page", 1, 0, -1, 0, -1, {}, {}},
      {"an index out of range", 3, 1, -1, 5, 1, {"B"}, {}},
  };
  for (const auto& c : cases) {
    auto notebook = MakeNotebook(Captions(c.pages), c.current);
    if (c.disabled >= 0) notebook->PageAt(c.disabled)->SetEnabled(false);
    EventLog log(*notebook);
    notebook->DeletePage(c.deleted);
    EXPECT_EQ(notebook->PageIndex(), c.index) << c.what;
    EXPECT_EQ(ShownPages(*notebook), c.shown) << c.what;
    EXPECT_EQ(log.entries, c.events) << c.what;
  }
}

// A shown notebook in an active window, with an edit on every page.
class ShownNotebook : public ::testing::Test {
protected:
  void Show(int pages, int rows = 0) {
    notebook = new TClNotebook(&form);
    notebook->SetTextMetrics(FixedMetrics());
    notebook->BeginLoading();
    const QStringList captions{"&General", "&Reminder", "&Link", "Recurring", "&Printer", "&Colors"};
    for (int i = 0; i < pages; ++i) {
      auto* page = new TClTabPage(notebook);
      page->SetCaption(captions[i]);
      edits.push_back(new QLineEdit(page));
    }
    notebook->EndLoading();
    notebook->SetTabRowCount(rows);
    auto* layout = new QVBoxLayout(&form);
    layout->addWidget(notebook);
    layout->addWidget(outside = new QLineEdit(&form));
    form.resize(300, 200);
    form.show();
    form.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    notebook->setFocus();
    log = std::make_unique<EventLog>(*notebook);
  }
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
  }
  void ClickTab(int index) { QTest::mouseClick(notebook, Qt::LeftButton, {}, notebook->PageAt(index)->TabRect().center()); }

  QWidget form;
  TClNotebook* notebook = nullptr;
  QLineEdit* outside = nullptr;
  std::vector<QLineEdit*> edits;
  std::unique_ptr<EventLog> log;
};

TEST_F(ShownNotebook, ArrowKeysWalkTheEnabledPages) {
  Show(4);
  notebook->PageAt(2)->SetEnabled(false);
  const struct {
    Qt::Key key;
    int page;
  } steps[] = {{Qt::Key_Right, 1}, {Qt::Key_Right, 3}, {Qt::Key_Right, 0}, {Qt::Key_Left, 3},
               {Qt::Key_Home, 0},  {Qt::Key_End, 3},   {Qt::Key_Up, 3},    {Qt::Key_Down, 3}};
  for (const auto& step : steps) {
    Key(step.key);
    EXPECT_EQ(notebook->PageIndex(), step.page) << QKeySequence(step.key).toString().toStdString();
    EXPECT_TRUE(notebook->hasFocus());
  }
  EXPECT_EQ(log->entries.filter("changed").size(), 6);
}

TEST_F(ShownNotebook, UpChoosesTheTabInTheRowBeyond) {
  Show(6, 2);
  notebook->SetPageIndex(4);
  EXPECT_EQ(QApplication::focusWidget(), nullptr) << "the focus left the notebook with the change";
  notebook->setFocus();
  ASSERT_EQ(notebook->ActiveRow(), 1);
  Key(Qt::Key_Up);
  EXPECT_EQ(notebook->PageIndex(), 1) << "the tab above the current one";
  EXPECT_EQ(notebook->ActiveRow(), 0) << "its row moved next to the page";
  EXPECT_EQ(notebook->PageAt(1)->TabRect().top(), notebook->PageAt(4)->TabRect().bottom() + 1);
}

TEST_F(ShownNotebook, UserCommandsAndTheControllersTables) {
  Show(3);
  TClController controller(&form);
  notebook->SetController(&controller);
  controller.EntryCommands().CreateCommandTable("Mine", true).AddCommand({vk::F1 + 4, 0, 0, 0, 300});
  Key(Qt::Key_F5);
  Key(Qt::Key_PageDown, Qt::ControlModifier);
  EXPECT_EQ(log->entries, QStringList{"user:300"}) << "other commands are not acted on";
  EXPECT_EQ(notebook->PageIndex(), 0);
}

TEST_F(ShownNotebook, AcceleratorsChooseTheirPage) {
  Show(4);
  notebook->PageAt(2)->SetEnabled(false);
  outside->setFocus();
  Key(Qt::Key_R, Qt::AltModifier);
  EXPECT_EQ(notebook->PageIndex(), 1);
  EXPECT_EQ(QApplication::focusWidget(), edits[1]) << "into the page";
  EXPECT_EQ(log->entries, (QStringList{"change:1", "changed:1", "click:1"}));
  log->entries.clear();
  Key(Qt::Key_L, Qt::AltModifier);
  EXPECT_EQ(notebook->PageIndex(), 1) << "a disabled page is not chosen";
  notebook->setFocus();
  Key(Qt::Key_G);
  EXPECT_EQ(notebook->PageIndex(), 0) << "a focused notebook takes the letter alone";
  Key(Qt::Key_G, Qt::AltModifier);
  EXPECT_EQ(notebook->PageIndex(), 0);
  EXPECT_TRUE(notebook->hasFocus()) << "the current page's accelerator focuses the notebook";
}

TEST_F(ShownNotebook, ClickingTabs) {
  Show(4);
  notebook->PageAt(2)->SetEnabled(false);
  outside->setFocus();
  ClickTab(1);
  EXPECT_EQ(notebook->PageIndex(), 1) << "one click focuses the notebook and changes the page";
  EXPECT_EQ(QApplication::focusWidget(), edits[1]);
  ClickTab(1);
  ClickTab(2);
  EXPECT_EQ(notebook->PageIndex(), 1);
  EXPECT_EQ(log->entries, (QStringList{"change:1", "changed:1", "click:1", "click:1", "click:2"}));

  log->veto = 3;
  ClickTab(3);
  EXPECT_EQ(notebook->PageIndex(), 1) << "vetoed";
  EXPECT_FALSE(log->entries.contains("click:3"));
}

TEST_F(ShownNotebook, AClickChangesNothingWhenTheNotebookCannotTakeTheFocus) {
  Show(3);
  outside->setFocus();
  // Something sends the focus straight back, as an edit that refuses to let it go.
  class Refuse : public QObject {
  public:
    explicit Refuse(QWidget* back) : back_(back) {}
    bool eventFilter(QObject*, QEvent* event) override {
      if (event->type() == QEvent::FocusIn) back_->setFocus();
      return false;
    }
    QWidget* back_;
  } refuse(outside);
  notebook->installEventFilter(&refuse);
  ClickTab(2);
  EXPECT_EQ(notebook->PageIndex(), 0);
  EXPECT_TRUE(log->entries.isEmpty());
}

TEST(ClNotebook, CaptionsMeasureWithoutAmpersands) {
  auto notebook = MakeNotebook({"&Go", "Go", "12345678901234567890123456789012345678901234567890"});
  notebook->LayOutPages();
  EXPECT_EQ(notebook->PageAt(0)->TabWidth(), notebook->PageAt(1)->TabWidth());
  EXPECT_EQ(notebook->PageAt(0)->TabWidth(), 24);
  EXPECT_EQ(notebook->TabRows(), 2) << "the long caption does not fit beside the others";
  EXPECT_EQ(notebook->TabHeight(), 16) << "from the line height";
  notebook->SetTabHeight(-3);
  EXPECT_EQ(notebook->TabHeight(), 16);
  notebook->SetTabHeight(25);
  EXPECT_FALSE(notebook->TabAutoHeight());
  EXPECT_EQ(notebook->PageAt(0)->geometry().top(), 2 * 25 + 3);
  notebook->SetTabRowCount(4);
  EXPECT_EQ(notebook->TabRowCount(), 0) << "more rows than pages are refused";
}

TEST(ClNotebook, PagesFollowTheNotebooksColour) {
  auto notebook = MakeNotebook(Captions(2));
  notebook->PageAt(1)->SetTabColor(Qt::yellow);
  notebook->SetPageIndex(1);
  EXPECT_EQ(notebook->Color(), QColor(Qt::yellow)) << "the notebook takes the current tab's colour";
  notebook->SetColor(Qt::cyan);
  EXPECT_FALSE(notebook->PageUsesTabColor());
  EXPECT_EQ(notebook->PageAt(0)->TabColor(), QColor(Qt::cyan));
  EXPECT_EQ(notebook->PageAt(1)->TabColor(), QColor(Qt::cyan));
}

}  // namespace

namespace {

TEST(ClNotebook, OwnerDrawnTabsAndHover) {
  QWidget form;
  auto notebook = MakeNotebook({"One", "Two", "Three"}, 0, &form);
  form.resize(300, 200);
  notebook->resize(300, 200);
  notebook->PageAt(2)->SetEnabled(false);
  QStringList drawn;
  QRect innerOfTwo;
  notebook->OnDrawTab = [&](TClNotebook&, QPainter&, int index, const QString& title, const QRect& rect, bool enabled,
                            bool active) {
    drawn << QStringLiteral("%1:%2:%3:%4").arg(index).arg(title).arg(enabled).arg(active);
    if (index == 1) innerOfTwo = rect;
  };
  form.show();
  notebook->grab();
  EXPECT_EQ(drawn, (QStringList{"0:One:1:1", "1:Two:1:0", "0:One:1:1"}))
      << "a disabled tab is drawn by the notebook; the current one again over the others";
  const QRect tab = notebook->PageAt(1)->TabRect();
  EXPECT_EQ(innerOfTwo, QRect(QPoint(tab.left() + 5, tab.top() + 3), QPoint(tab.right() - 6, tab.bottom())));

  QStringList over;
  notebook->OnMouseOverTab = [&](TClNotebook&, int index) { over << QString::number(index); };
  QTest::mouseMove(notebook.get(), notebook->PageAt(2)->TabRect().center());
  QTest::mouseMove(notebook.get(), QPoint(150, 150));
  EXPECT_EQ(over, QStringList{"2"});
}

TEST(ClNotebook, ShowingAPageMakesItCurrent) {
  auto notebook = MakeNotebook(Captions(3));
  notebook->ShowControl(notebook->PageAt(2));
  EXPECT_EQ(notebook->PageIndex(), 2);
  QLineEdit stranger;
  notebook->ShowControl(&stranger);
  EXPECT_EQ(notebook->PageIndex(), 2);
}

}  // namespace
