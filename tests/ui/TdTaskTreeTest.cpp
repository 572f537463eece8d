// The task list as the user meets it: 1,000 tasks in the real task tree under the
// quick-filter tabs, on the offscreen platform.
#include "core/TdAppTestSupport.h"

#include "core/BTodo.h"
#include "core/TdApp.h"
#include "support/FakeDesktop.h"
#include "ui/TaskCellTexts.h"
#include "ui/TdCommon.h"
#include "ui/TdTaskTree.h"
#include "ui/TdTreeHelpers.h"

#include <QApplication>
#include <QCollator>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTest>
#include <QVBoxLayout>

#include <algorithm>
#include <functional>

using DateTime::EncodeDateTime;

namespace {

class TaskTreeViewTest : public ::testing::Test {
protected:
  const TDateTime now = EncodeDateTime(2024, 3, 10, 12, 0);
  FakeDesktop desktop;
  DataFolderPin data;
  ClockPin clock{now};
  FormatPin formats;
  std::unique_ptr<TTodoAppHandler> handler;
  QWidget window;
  QTabBar* tabs = nullptr;
  TLazyStringTree* tree = nullptr;
  QPlainTextEdit* notes = nullptr;
  std::unique_ptr<TTaskTreeView> view;
  int edits = 0;
  int statusRefreshes = 0;

  void SetUp() override { handler = std::make_unique<TTodoAppHandler>(nullptr, TTodoAppTimings{25000, 0}); }

  TTdAppOptions& Options() { return handler->OptionsHandler().Options(); }
  TTdTodoHandler& Store() { return handler->TodoHandler(); }

  // Titles in a scrambled order, priorities round the table, every seventh task done.
  void AddTasks(int count) {
    for (int i = 0; i < count; ++i) {
      TTdTodo& t = *Store().AddTodo();
      const int n = (i * 7919) % count;
      t.ID = i + 1;
      t.Title = (n % 2 ? QStringLiteral("task %1") : QStringLiteral("Task %1")).arg(n, 4, 10, QLatin1Char('0'));
      t.Priority = i % 5;
      t.Status = i % 7 == 0 ? tsOK : tsOpen;
      t.Created = now - 10;
      t.Due = now + 1 + i % 40;
    }
  }

  void Show() {
    auto* layout = new QVBoxLayout(&window);
    tabs = new QTabBar(&window);
    tree = new TLazyStringTree(&window);
    notes = new QPlainTextEdit(&window);
    layout->addWidget(tabs);
    layout->addWidget(tree, 4);
    layout->addWidget(notes, 1);
    view = std::make_unique<TTaskTreeView>(*handler, tree, tabs, notes, CommonModule());
    view->Now = [this] { return now; };
    view->OnEditTask = [this] { ++edits; };
    view->OnStatusChanged = [this] { ++statusRefreshes; };
    view->Setup();
    view->ApplyViewSettings();
    view->BuildQuickFilterTabs(true);
    view->ApplySorting(false);
    view->FocusFirst();
    view->FitColumnWidths();
    window.resize(900, 700);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  QStringList VisibleTitles() {
    QStringList titles;
    for (PLazyNode node = tree->GetFirstVisible(); node; node = tree->GetNextVisible(node))
      titles << tree->GetCellText(node, tcTitle);
    return titles;
  }
  PLazyNode NodeWithTitle(const QString& title) {
    for (PLazyNode node = tree->GetFirstVisible(); node; node = tree->GetNextVisible(node))
      if (tree->GetCellText(node, tcTitle) == title) return node;
    return nullptr;
  }
  // The viewport point of a node's check box, found by the tree's own hit test.
  QPoint CheckBoxPoint(PLazyNode node) {
    tree->ScrollIntoView(node, false);
    const int y = tree->NodeTop(node) + tree->OffsetY() + node->NodeHeight / 2;
    for (int x = 0; x < 40; ++x) {
      THitInfo hit;
      tree->HitTestAt(x, y, true, hit);
      if (hit.HitNode == node && hit.HitPositions.Contains(hpOnCheckBox)) return {x, y};
    }
    ADD_FAILURE() << "no check box found";
    return {};
  }
};

TEST_F(TaskTreeViewTest, AThousandTasksSortCheckEditAndFilterByTab) {
  AddTasks(1000);
  Options().QuickFilterMode = 2;  // by priority
  Options().HideZeroTabs = true;
  Show();

  // The tabs: the five priorities with their counts.
  ASSERT_EQ(tabs->count(), 5);
  EXPECT_EQ(tabs->tabText(0), QStringLiteral("-- unknown -- (200)"));
  EXPECT_EQ(tabs->currentIndex(), 0);

  // Rows in title order, without regard to case, as the first tab shows them.
  QStringList titles = VisibleTitles();
  ASSERT_EQ(titles.size(), 200);
  QStringList sorted = titles;
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  std::stable_sort(sorted.begin(), sorted.end(), [&](const QString& a, const QString& b) { return collator.compare(a, b) < 0; });
  EXPECT_EQ(titles, sorted);
  int nodeTop = 0;
  EXPECT_EQ(tree->GetCellText(tree->NodeAtPosition(1, true, &nodeTop), tcTitle), titles.first())
      << "the top row on screen is the first in order";

  // A click on a check box closes the task.
  PLazyNode open = nullptr;
  for (PLazyNode node = tree->GetFirstVisible(); node && !open; node = tree->GetNextVisible(node))
    if (!view->TaskOf(node)->IsOK()) open = node;
  ASSERT_TRUE(open);
  TTdTodo* task = view->TaskOf(open);
  Store().SetModified(false);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, CheckBoxPoint(open));
  EXPECT_EQ(task->Status, tsOK);
  EXPECT_EQ(task->Percent, 100);
  EXPECT_TRUE(Store().Modified());
  EXPECT_EQ(tree->GetCheckState(open), csCheckedNormal);

  // The title edited in place: a template's prefix is not stored.
  task->SetIsTemplate(true);
  view->TaskChanged(task);
  PLazyNode node = view->NodeOf(task);
  tree->setFocus();
  FocusNode(tree, node);
  ASSERT_TRUE(tree->EditNode(node, tcTitle));
  QWidget* editor = QApplication::focusWidget();
  ASSERT_NE(editor, nullptr);
  QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(editor, QStringLiteral("[TEMPLATE]  aaa first of all "));
  QTest::keyClick(editor, Qt::Key_Return);
  EXPECT_EQ(task->Title, QStringLiteral("aaa first of all"));
  QCoreApplication::processEvents();  // the sort follows once the editor has closed
  EXPECT_EQ(VisibleTitles().first(), QStringLiteral("[TEMPLATE] aaa first of all")) << "sorted again";

  // Another tab filters the rows to its priority.
  QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(4).center());
  EXPECT_EQ(tabs->currentIndex(), 4);
  EXPECT_EQ(tabs->tabText(4), QStringLiteral("Urgent (200)"));
  int shown = 0;
  for (PLazyNode n = tree->GetFirstVisible(); n; n = tree->GetNextVisible(n), ++shown)
    EXPECT_EQ(view->TaskOf(n)->Priority, 4);
  EXPECT_EQ(shown, 200);
  EXPECT_EQ(tree->VisibleCount(), 200u);
}

TEST_F(TaskTreeViewTest, HeaderClickSortsByItsColumnAndTogglesTheDirection) {
  AddTasks(30);
  Show();
  view->TaskTreeHeaderClick(tcID, Qt::LeftButton);
  EXPECT_EQ(Options().SortElement1, tcID);
  EXPECT_FALSE(Options().SortAsc1) << "descending after ascending";
  EXPECT_EQ(Options().SortElement2, kNoSortElement);
  EXPECT_EQ(Options().SortElement3, kNoSortElement);
  EXPECT_EQ(view->TaskOf(tree->GetFirstVisible())->ID, 30);
  view->TaskTreeHeaderClick(tcID, Qt::LeftButton);
  EXPECT_TRUE(Options().SortAsc1);
  EXPECT_EQ(view->TaskOf(tree->GetFirstVisible())->ID, 1);
  view->TaskTreeHeaderClick(tcTitle, Qt::RightButton);
  EXPECT_EQ(Options().SortElement1, tcID) << "only the left button sorts";
}

TEST_F(TaskTreeViewTest, HeaderClicksOrderRowsAsTheColumnsComparisonAlone) {
  // Rows ordered by a number per task (IDs, dates, ...) must come out as the comparison
  // alone orders them, equal ones keeping their order: templates and reminders that are
  // off before the rest, dates of either sign, many equal values.
  AddTasks(300);
  for (int i = 0; i < 300; ++i) {
    TTdTodo& t = *Store().GetTodo(i);
    t.SetIsTemplate(i % 23 == 0);
    t.SetReminderActivated(i % 3 == 0);
    t.ReminderDateTime = now + (i % 11) - 5;
    t.Created = (i % 4 == 0 ? -1 : 1) * (now - i % 9) + (i % 13 == 0 ? 0.0 : 0.25);
    t.Completed = i % 5 == 0 ? 0.0 : now - i % 6;
    t.Percent = static_cast<uint8_t>(i % 4 * 25);
    t.SetFlagged(i % 6 == 0);
  }
  Show();
  const TTaskComparer comparer(view->Context());
  for (int column : {int(tcDone), int(tcID), int(tcPriority), int(tcStatus), int(tcPercent), int(tcCreated),
                     int(tcCompleted), int(tcDue), int(tcReminder), int(tcFlag), int(tcRecurring), int(tcDaysLeft)}) {
    for (int click = 0; click < 2; ++click) {
      std::vector<const TTdTodo*> expected;
      for (PLazyNode n = tree->GetFirstVisible(); n; n = tree->GetNextVisible(n)) expected.push_back(view->TaskOf(n));
      const bool ascending = tree->Header().SortDirection() != sdAscending;  // a click turns it round
      std::stable_sort(expected.begin(), expected.end(), [&](const TTdTodo* a, const TTdTodo* b) {
        const int c = comparer.CompareTasksByColumn(column, *a, *b);
        return ascending ? c < 0 : c > 0;
      });
      view->TaskTreeHeaderClick(column, Qt::LeftButton);
      ASSERT_EQ(Options().SortAsc1, ascending);
      std::vector<const TTdTodo*> shown;
      for (PLazyNode n = tree->GetFirstVisible(); n; n = tree->GetNextVisible(n)) shown.push_back(view->TaskOf(n));
      EXPECT_EQ(shown, expected) << "column " << column << (ascending ? " ascending" : " descending");
    }
  }
}

TEST_F(TaskTreeViewTest, FindMovesOnPastHiddenRowsAndSearchesNotes) {
  AddTasks(10);
  Store().GetTodo(3)->Notes = QStringLiteral("call the plumber");
  Store().GetTodo(5)->Notes = QStringLiteral("PLUMBER again");
  Store().GetTodo(7)->Notes = QStringLiteral("plumber, third");
  Store().GetTodo(5)->Priority = 4;
  Options().FilterOn = true;
  Options().FilterPriority = {0, 1, 2, 3};  // hides the task with the second hit
  Show();

  EXPECT_TRUE(view->FindNextTask(QStringLiteral("plumber")));
  TTdTodo* first = view->TaskOf(tree->FocusedNode());
  EXPECT_TRUE(first == Store().GetTodo(3) || first == Store().GetTodo(7));
  EXPECT_TRUE(view->FindNextTask(QStringLiteral("plumber"))) << "F3 goes on";
  TTdTodo* second = view->TaskOf(tree->FocusedNode());
  EXPECT_NE(second, first);
  EXPECT_NE(second, Store().GetTodo(5)) << "the hidden task is skipped";
  EXPECT_FALSE(view->FindNextTask(QStringLiteral("plumber"))) << "nothing after the last visible hit";
  EXPECT_EQ(view->TaskOf(tree->FocusedNode()), second) << "a miss changes nothing";
  view->ForgetLastFound();
  EXPECT_TRUE(view->FindNextTask(QStringLiteral("PLUMB")));
  EXPECT_EQ(view->TaskOf(tree->FocusedNode()), first) << "a new search starts at the top";
}

TEST_F(TaskTreeViewTest, FocusNodeLeavesAHiddenNodeAlone) {
  AddTasks(5);
  Store().GetTodo(2)->SetIsTemplate(true);
  Options().ViewTemplates = false;
  Show();
  PLazyNode focused = tree->FocusedNode();
  ASSERT_TRUE(focused);
  PLazyNode hidden = view->NodeOf(Store().GetTodo(2));
  ASSERT_FALSE(tree->GetNodeVisible(hidden));
  FocusNode(tree, hidden);
  EXPECT_EQ(tree->FocusedNode(), focused);
  EXPECT_FALSE(tree->GetNodeSelected(hidden));
}

TEST_F(TaskTreeViewTest, IncrementalSearchMatchesTitlePrefixes) {
  AddTasks(1);
  Show();
  PLazyNode node = tree->GetFirstVisible();
  TTdTodo* task = view->TaskOf(node);
  task->Title = QStringLiteral("Callback");
  EXPECT_EQ(view->TaskTreeIncrementalSearch(node, QStringLiteral("call")), 0);
  task->Title = QStringLiteral("Call");
  EXPECT_NE(view->TaskTreeIncrementalSearch(node, QStringLiteral("Callback")), 0);
  task->Title.clear();
  EXPECT_NE(view->TaskTreeIncrementalSearch(node, QStringLiteral("x")), 0);
}

TEST_F(TaskTreeViewTest, DoubleClicksFlagOpenLinksOrEdit) {
  AddTasks(3);
  Show();
  PLazyNode node = tree->GetFirstVisible();
  FocusNode(tree, node);
  TTdTodo* task = view->TaskOf(node);
  view->TaskTreeDblClick(tcFlag);
  EXPECT_TRUE(task->Flagged());
  task->Association = QStringLiteral("/docs/plan.odt");
  view->TaskTreeDblClick(tcLink);
  EXPECT_TRUE(desktop.Log().contains(QStringLiteral("open:/docs/plan.odt")));
  view->TaskTreeDblClick(tcTitle);
  EXPECT_EQ(edits, 1);
  QTest::keyClick(tree, Qt::Key_Return);
  EXPECT_EQ(edits, 2) << "Enter edits too";
}

TEST_F(TaskTreeViewTest, NotesPaneFollowsTheFocusAndWritesBack) {
  AddTasks(3);
  Store().GetTodo(0)->Notes = QStringLiteral("first notes");
  Options().SortElement1 = tcID;
  Show();
  FocusNode(tree, view->NodeOf(Store().GetTodo(0)));
  EXPECT_EQ(notes->toPlainText(), QStringLiteral("first notes"));
  EXPECT_EQ(view->MemoTask, Store().GetTodo(0));
  Store().SetModified(false);
  notes->setPlainText(QStringLiteral("changed"));
  EXPECT_EQ(Store().GetTodo(0)->Notes, QStringLiteral("changed"));
  EXPECT_TRUE(Store().Modified());
  FocusNode(tree, view->NodeOf(Store().GetTodo(1)));
  EXPECT_EQ(notes->toPlainText(), QString());
  EXPECT_EQ(Store().GetTodo(0)->Notes, QStringLiteral("changed")) << "showing other notes writes nothing back";
}

TEST_F(TaskTreeViewTest, DeletingANodeKeepsEveryOtherNodeOnItsTask) {
  AddTasks(6);
  Options().SortElement1 = tcID;
  Options().SortAsc1 = false;
  Show();
  PLazyNode node = view->NodeOf(Store().GetTodo(2));
  view->DeleteTask(node);
  EXPECT_EQ(Store().TaskCount(), 5);
  view->ReinitAll();
  QList<int> ids;
  for (PLazyNode n = tree->GetFirstVisible(); n; n = tree->GetNextVisible(n)) ids << view->TaskOf(n)->ID;
  EXPECT_EQ(ids, (QList<int>{6, 5, 4, 2, 1}));
  Store().AddTodo()->ID = 7;
  view->TasksAdded(1);
  view->ApplySorting(false);
  EXPECT_EQ(view->TaskOf(tree->GetFirstVisible())->ID, 7);
}

TEST_F(TaskTreeViewTest, AddedTasksTakeThePlacesASortGivesThem) {
  // Titles before, between, equal to (but for case) and after those shown, in both
  // directions: each new row stands where a stable sort of the rows, with the new task
  // last, puts it.
  struct Case {
    const char* title;
    bool ascending;
  };
  const Case cases[] = {{"aaa", true},  {"task 0005", true},  {"TASK 0006", true}, {"zzz", true},
                        {"aaa", false}, {"Task 0007", false}, {"task 0003", false}, {"zzz", false}};
  AddTasks(12);
  Show();
  const auto tasksInOrder = [&] {
    std::vector<TTdTodo*> tasks;
    for (PLazyNode node = tree->GetFirst(); node; node = tree->GetNext(node)) tasks.push_back(view->TaskOf(node));
    return tasks;
  };
  for (const Case& c : cases) {
    Options().SortElement1 = tcTitle;
    Options().SortAsc1 = c.ascending;
    view->ApplySorting(false);
    std::vector<TTdTodo*> want = tasksInOrder();
    TTdTodo* task = Store().AddTodo();
    task->Title = QString::fromUtf8(c.title);
    want.push_back(task);
    TTaskComparer titles(view->Context());  // the options' keys, the title first
    titles.PrepareKeys(Store().Todos(), 1);
    std::stable_sort(want.begin(), want.end(), [&](TTdTodo* a, TTdTodo* b) {
      const int order = titles.CompareForSort(NoColumn, *a, *b);  // ties go to the further keys
      return c.ascending ? order < 0 : order > 0;
    });
    EXPECT_EQ(view->TaskOf(view->TasksAdded(1)), task) << c.title;
    view->ApplySorting(false);
    EXPECT_EQ(tasksInOrder(), want) << c.title << (c.ascending ? " ascending" : " descending");
  }
}

TEST_F(TaskTreeViewTest, SwitchingTheFilterHidesRowsAndKeepsTheSelection) {
  AddTasks(20);
  Options().FilterStatus = {tsOpen};
  Options().SortElement1 = tcID;
  Show();
  TTdTodo* kept = Store().GetTodo(3);  // open
  FocusNode(tree, view->NodeOf(kept));
  Options().FilterOn = true;
  view->RefilterKeepingSelection();
  EXPECT_EQ(tree->VisibleCount(), 17u) << "tasks 1, 8 and 15 are done";
  EXPECT_EQ(view->SelectedTask(), kept);
  EXPECT_EQ(view->MemoTask, kept);
  Options().FilterOn = false;
  view->RefilterKeepingSelection();
  EXPECT_EQ(tree->VisibleCount(), 20u);
  EXPECT_EQ(view->SelectedTask(), kept);
}

TEST_F(TaskTreeViewTest, CheckingOffUnderAFilterOfOpenTasksSelectsTheNeighbour) {
  AddTasks(5);
  Options().FilterOn = true;
  Options().FilterStatus = {tsOpen};
  Options().SortElement1 = tcID;
  Show();
  PLazyNode node = view->NodeOf(Store().GetTodo(2));
  FocusNode(tree, node);
  tree->SetNodeCheckState(node, csCheckedNormal);
  EXPECT_EQ(Store().GetTodo(2)->Status, tsOK);
  EXPECT_FALSE(tree->GetNodeVisible(node));
  EXPECT_EQ(view->SelectedTask(), Store().GetTodo(3));
  tree->SetNodeCheckState(view->NodeOf(Store().GetTodo(3)), csUncheckedNormal);
  EXPECT_EQ(Store().GetTodo(3)->Status, tsOpen) << "unchecking opens, whatever the status was";
}

TEST_F(TaskTreeViewTest, SortingFollowsChangedKeysAndChangedTasks) {
  AddTasks(10);
  Options().SortElement1 = tcID;
  Show();
  EXPECT_EQ(view->TaskOf(tree->GetFirstVisible())->ID, 1);
  Options().SortAsc1 = false;
  view->ApplySorting(true);
  EXPECT_EQ(view->TaskOf(tree->GetFirstVisible())->ID, 10) << "a changed direction sorts again";
  Store().GetTodo(0)->ID = 99;
  view->TaskChanged(Store().GetTodo(0));
  view->ApplySorting(false);
  EXPECT_EQ(view->TaskOf(tree->GetFirstVisible())->ID, 99) << "a changed task sorts again";
}

TEST_F(TaskTreeViewTest, TitleClicksFollowTitlesAndTasksChangedBetweenThem) {
  // The rows keep the title ranks of the sort before: every change must reach them.
  AddTasks(40);
  Show();
  QCollator collator;
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  const auto task = [&](int index) { return Store().GetTodo(index); };
  const auto retitle = [&](int index, const QString& title) {
    task(index)->Title = title;
    view->TaskChanged(task(index));
  };
  struct Step {
    const char* name;
    std::function<void()> change;
  };
  const Step steps[] = {
      {"nothing changed", [] {}},
      {"a title changed to a new one", [&] { retitle(5, QStringLiteral("aaa first")); }},
      {"a title changed to one another task has", [&] { retitle(6, task(30)->Title); }},
      {"a title changed twice", [&] {
         retitle(7, QStringLiteral("zzz"));
         retitle(7, QStringLiteral("Task 0000 and more"));
       }},
      {"a task added", [&] {
         TTdTodo& added = *Store().AddTodo();
         added.ID = 41;
         added.Title = QStringLiteral("0 before all");
         added.Due = now + 1;
         view->TasksAdded(1);
       }},
      {"a task deleted", [&] { view->DeleteTask(view->NodeOf(task(8))); }},
      {"lookup names changed", [&] { view->InvalidateSortKeys(); }},
      {"the stores reopened", [&] { view->ResetNodes(); }},
  };
  for (const Step& step : steps) {
    step.change();
    for (bool ascending : {true, false}) {
      view->TaskTreeHeaderClick(tcTitle, Qt::LeftButton);
      if (Options().SortAsc1 != ascending) view->TaskTreeHeaderClick(tcTitle, Qt::LeftButton);
      const QStringList titles = VisibleTitles();
      EXPECT_TRUE(std::is_sorted(titles.begin(), titles.end(), [&](const QString& a, const QString& b) {
        return ascending ? collator.compare(a, b) < 0 : collator.compare(a, b) > 0;
      })) << step.name << (ascending ? ", ascending: " : ", descending: ") << titles.join(QLatin1Char('|')).toStdString();
    }
  }
  EXPECT_EQ(VisibleTitles().last(), QStringLiteral("0 before all")) << "descending at the end";
}

TEST_F(TaskTreeViewTest, TabsKeepTheirTabAndFallBackToTheFirst) {
  AddTasks(10);
  Options().QuickFilterMode = 1;  // by status: Open (8), OK (2)
  Show();
  ASSERT_EQ(tabs->count(), 2);
  tabs->setCurrentIndex(1);
  EXPECT_EQ(tree->VisibleCount(), 2u);
  view->BuildQuickFilterTabs(false);
  EXPECT_EQ(tabs->currentIndex(), 1) << "kept";
  for (const auto& task : Store().Todos()) task->SetStatus(tsOpen);
  view->BuildQuickFilterTabs(false);
  ASSERT_EQ(tabs->count(), 1);
  EXPECT_EQ(tabs->currentIndex(), 0) << "the OK tab went";
  EXPECT_EQ(tree->VisibleCount(), 10u);
  EXPECT_EQ(tabs->tabText(0), "Open (10)");
  EXPECT_FALSE(tabs->tabIcon(0).isNull());
  view->IgnoreTabFilter = true;
  EXPECT_TRUE(view->IsTaskVisible(*Store().GetTodo(0)));
}

TEST_F(TaskTreeViewTest, TheControlsMayGoBeforeTheView) {
  AddTasks(3);
  Show();
  delete tree;
  delete tabs;
  delete notes;
  view.reset();  // must not reach the deleted controls
  SUCCEED();
}

}  // namespace
