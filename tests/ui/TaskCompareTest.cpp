#include "TaskPresentationFixture.h"

#include "ui/TaskCompare.h"

#include <map>

namespace {

class TaskCompareTest : public TaskPresentationFixture {
protected:
  int Sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }
};

TEST_F(TaskCompareTest, EveryColumn) {
  TTdTodo& a = AddTask(QStringLiteral("apple"), 1);
  TTdTodo& b = AddTask(QStringLiteral("Banana"), 2);
  TTaskComparer comparer(Context(), QLocale(QLocale::English));
  struct Case {
    const char* name;
    std::function<void()> change;
    int column;
    int want;  // sign of compare(a, b)
  };
  const Case cases[] = {
      {"done", [&] { a.Status = tsOK; }, tcDone, 1},
      {"id", [] {}, tcID, -1},
      {"title without case", [] {}, tcTitle, -1},
      {"title equal but case", [&] { b.Title = "APPLE"; }, tcTitle, 0},
      {"category names", [&] { a.Category = 2; b.Category = 1; }, tcCategory, -1},  // home < Work
      {"resource names", [&] { a.Resource = 1; }, tcResource, 1},  // Anna > -- unknown --
      {"type names", [&] { b.Type = 1; }, tcType, -1},
      {"priority", [&] { a.Priority = 4; }, tcPriority, 1},
      {"status", [&] { b.Status = tsWaiting; }, tcStatus, -1},
      {"percent", [&] { a.Percent = 10; }, tcPercent, 1},
      {"created", [&] { a.Created -= 1; }, tcCreated, -1},
      {"completed equal", [] {}, tcCompleted, 0},
      {"due", [&] { b.Due -= 1; }, tcDue, 1},
      {"template before a dated task", [&] { b.SetIsTemplate(true); }, tcDue, 1},
      {"two templates equal", [&] { a.SetIsTemplate(true); b.SetIsTemplate(true); b.Due += 9; }, tcDue, 0},
      {"reminder on first", [&] { a.SetReminderActivated(true); }, tcReminder, 1},
      {"reminder times", [&] {
         a.SetReminderActivated(true); b.SetReminderActivated(true);
         a.ReminderDateTime = 2; b.ReminderDateTime = 1; }, tcReminder, 1},
      {"reminders off ignore times", [&] { a.ReminderDateTime = 2; }, tcReminder, 0},
      {"flag", [&] { b.SetFlagged(true); }, tcFlag, -1},
      {"days gone", [&] { a.Created = now - 3; }, tcDaysGone, 1},
      {"days gone within a hundredth", [&] { a.Created = b.Created - 0.004; }, tcDaysGone, 0},
      {"days left", [&] { a.Due = now - 1; }, tcDaysLeft, -1},
      {"recurring", [&] { a.SetFromTemplate(true); }, tcRecurring, 1},
      {"link never", [&] { a.Association = "z"; }, tcLink, 0},
      {"notes never", [&] { a.Notes = "z"; }, tcNotes, 0},
  };
  const TTdTodo savedA = a, savedB = b;
  for (const Case& c : cases) {
    a.Assign(savedA);
    b.Assign(savedB);
    c.change();
    EXPECT_EQ(Sign(comparer.CompareTasksByColumn(c.column, a, b)), c.want) << c.name;
  }
}

TEST_F(TaskCompareTest, EqualIdsNeverCompareEqual) {
  TTdTodo& a = AddTask(QStringLiteral("a"), 5);
  TTdTodo& b = AddTask(QStringLiteral("b"), 5);
  TTaskComparer comparer(Context());
  EXPECT_NE(comparer.CompareTasksByColumn(tcID, a, b), 0);
  EXPECT_NE(comparer.CompareTasksByColumn(tcID, b, a), 0);
}

TEST_F(TaskCompareTest, PreparedKeysGiveTheSameOrderAsPairwiseCollation) {
  const char* titles[] = {"delta", "Alpha", "alpha", "Échelle", "echo", "Zulu", "beta", "", "Ärger", "apple"};
  for (const char* title : titles) AddTask(QString::fromUtf8(title));
  TTaskComparer pairwise(Context(), QLocale(QLocale::German));
  TTaskComparer keyed(Context(), QLocale(QLocale::German));
  keyed.PrepareKeys(store.Todos(), 3);
  ASSERT_TRUE(keyed.KeysPrepared());
  for (const auto& a : store.Todos())
    for (const auto& b : store.Todos())
      EXPECT_EQ(Sign(keyed.CompareTasksByColumn(tcTitle, *a, *b)), Sign(pairwise.CompareTasksByColumn(tcTitle, *a, *b)))
          << a->Title.toStdString() << " / " << b->Title.toStdString();
}

TEST_F(TaskCompareTest, PreparingAgainCollatesChangedTitlesAndDropsRemovedTasks) {
  TTdTodo& a = AddTask(QStringLiteral("banana"));
  TTdTodo& b = AddTask(QStringLiteral("cherry"));
  TTdTodo& c = AddTask(QStringLiteral("apple"));
  TTaskComparer comparer(Context());
  comparer.PrepareKeys(store.Todos(), 1);
  EXPECT_LT(comparer.CompareTasksByColumn(tcTitle, c, a), 0);
  b.Title = QStringLiteral("Aardvark");
  store.Delete(&c);
  comparer.PrepareKeys(store.Todos(), 1);
  EXPECT_LT(comparer.CompareTasksByColumn(tcTitle, b, a), 0) << "the changed title has its new key";
  EXPECT_EQ(comparer.TitleRank(b), 0);
  EXPECT_EQ(comparer.TitleRank(a), 1);
}

TEST_F(TaskCompareTest, KeysKeptUpToDateTaskByTaskOrderAsFreshKeys) {
  // After each step, told to the comparer as the task list tells it, every pair of
  // titles compares as with keys prepared afresh.
  for (const char* title : {"delta", "Alpha", "echo", "beta", "alpha"}) AddTask(QString::fromUtf8(title));
  TTaskComparer kept(Context(), QLocale(QLocale::German));
  kept.PrepareKeys(store.Todos(), 1);
  const auto append = [&](const char* title) {
    AddTask(QString::fromUtf8(title));
    EXPECT_TRUE(kept.TasksAppended(store.Todos()));
  };
  const auto retitle = [&](int index, const char* title) {
    store.GetTodo(index)->Title = QString::fromUtf8(title);
    EXPECT_TRUE(kept.TitleChanged(*store.GetTodo(index)));
  };
  const auto remove = [&](int index) {
    EXPECT_TRUE(kept.TaskRemoving(*store.GetTodo(index)));
    store.Delete(store.GetTodo(index));
  };
  struct Step {
    const char* name;
    std::function<void()> apply;
  };
  const Step steps[] = {
      {"a title before all others", [&] { append("Aardvark"); }},
      {"a title after all others", [&] { append("zulu"); }},
      {"a title between two", [&] { append("charlie"); }},
      {"a title equal to one but for case", [&] { append("ECHO"); }},
      {"a title changed to a new one", [&] { retitle(0, "Ärger"); }},
      {"a title changed to an existing one", [&] { retitle(1, "beta"); }},
      {"the only task of a title removed", [&] { remove(3); }},
      {"a task removed, then one added", [&] {
         remove(0);
         append("bravo");
       }},
      {"an empty title", [&] { append(""); }},
  };
  for (const Step& step : steps) {
    step.apply();
    TTaskComparer fresh(Context(), QLocale(QLocale::German));
    fresh.PrepareKeys(store.Todos(), 1);
    for (const auto& a : store.Todos())
      for (const auto& b : store.Todos())
        EXPECT_EQ(Sign(kept.CompareTasksByColumn(tcTitle, *a, *b)), Sign(fresh.CompareTasksByColumn(tcTitle, *a, *b)))
            << step.name << ": " << a->Title.toStdString() << " / " << b->Title.toStdString();
  }
  // Preparing again over the same tasks keeps what was kept.
  kept.PrepareKeys(store.Todos(), 1);
  TTaskComparer fresh(Context(), QLocale(QLocale::German));
  fresh.PrepareKeys(store.Todos(), 1);
  for (const auto& a : store.Todos())
    for (const auto& b : store.Todos())
      EXPECT_EQ(Sign(kept.CompareTasksByColumn(tcTitle, *a, *b)), Sign(fresh.CompareTasksByColumn(tcTitle, *a, *b)));
}

TEST_F(TaskCompareTest, CollationRanksOnSeveralThreadsMatchOneThread) {
  struct Case {
    const char* name;
    std::function<QString(int)> text;
    int distinct;  // texts that differ other than in case
  };
  const Case cases[] = {
      {"every text distinct", [](int i) { return QStringLiteral("Task %1").arg((i * 7919) % 30011); }, 30000},
      // Runs of equal keys of seven or eight, so some straddle where the threads split
      // the order.
      {"equal texts, some differing in case",
       [](int i) { return QStringLiteral("%1 %2").arg(i % 2 ? u"task" : u"TASK").arg((i * 7919) % 4283); }, 4283},
  };
  for (const Case& c : cases) {
    std::vector<QString> texts;
    for (int i = 0; i < 30000; ++i) texts.push_back(c.text(i));
    const std::vector<int> threaded = CollationRanks(texts, QLocale(QLocale::English), 4);
    EXPECT_EQ(threaded, CollationRanks(texts, QLocale(QLocale::English), 1)) << c.name;
    EXPECT_EQ(*std::max_element(threaded.begin(), threaded.end()) + 1, c.distinct) << c.name;
  }
}

TEST_F(TaskCompareTest, KeysPreparedOnSeveralThreadsMatchOneThread) {
  // Enough tasks for four threads; the second preparation keeps the keys the first made.
  for (int i = 0; i < 20000; ++i) AddTask(QStringLiteral("Task %1").arg((i * 7919) % 5003), i + 1);
  TTaskComparer threaded(Context(), QLocale(QLocale::English));
  threaded.PrepareKeys(store.Todos(), 4);
  const auto expectSameRanks = [&](const char* when) {
    TTaskComparer single(Context(), QLocale(QLocale::English));
    single.PrepareKeys(store.Todos(), 1);
    for (const auto& task : store.Todos())
      if (threaded.TitleRank(*task) != single.TitleRank(*task)) {
        ADD_FAILURE() << when << ": " << task->Title.toStdString();
        return;
      }
  };
  expectSameRanks("made afresh");
  store.GetTodo(7)->Title = QStringLiteral("Aardvark");
  store.GetTodo(19999)->Title = QStringLiteral("task 17");
  threaded.PrepareKeys(store.Todos(), 4);
  expectSameRanks("two titles changed");
}

TEST_F(TaskCompareTest, KeysOfTitlesThatWentAreDroppedWithoutLosingTheOthers) {
  // Long titles changed again and again leave megabytes of keys nobody uses, which are
  // then dropped; the keys in use, and those of ranks whose titles all went, must
  // survive the move (the sanitizers see a key read after its memory went).
  const auto longTitle = [](int task, int round) {
    return QString(3000, QLatin1Char(char('a' + (task * 7 + round) % 26))) + QString::number(task);
  };
  for (int task = 0; task < 64; ++task) AddTask(longTitle(task, 0));
  TTaskComparer kept(Context(), QLocale(QLocale::German));
  kept.PrepareKeys(store.Todos(), 2);
  for (int round = 1; round <= 8; ++round) {
    for (int task = 0; task < 64; ++task) store.GetTodo(task)->Title = longTitle(task, round);
    kept.PrepareKeys(store.Todos(), 2);  // every title ranked again
    // One title changed alone, then its task removed: its rank keeps its key.
    store.GetTodo(round)->Title = longTitle(round, round + 1) + QLatin1Char('x');
    ASSERT_TRUE(kept.TitleChanged(*store.GetTodo(round)));
    ASSERT_TRUE(kept.TaskRemoving(*store.GetTodo(round)));
    store.Delete(store.GetTodo(round));
    AddTask(longTitle(round, round));
    ASSERT_TRUE(kept.TasksAppended(store.Todos()));
  }
  // Three tasks take the same new title step after step: the keys of two of them are
  // left behind each time, while every rank keeps the key it was ranked by.
  for (int step = 0; step < 400; ++step)
    for (int task = 10; task < 13; ++task) {
      store.GetTodo(task)->Title = longTitle(step, 100) + QString::number(step);
      ASSERT_TRUE(kept.TitleChanged(*store.GetTodo(task)));
    }
  TTaskComparer fresh(Context(), QLocale(QLocale::German));
  fresh.PrepareKeys(store.Todos(), 1);
  for (const auto& a : store.Todos())
    for (const auto& b : store.Todos())
      ASSERT_EQ(Sign(kept.CompareTasksByColumn(tcTitle, *a, *b)), Sign(fresh.CompareTasksByColumn(tcTitle, *a, *b)))
          << a->Title.left(1).toStdString() << a->Title.mid(3000).toStdString() << " / "
          << b->Title.left(1).toStdString() << b->Title.mid(3000).toStdString();
}

TEST_F(TaskCompareTest, OrderNumbersOfOtherTitlesStayWhileOneIsRankedAnew) {
  // The task list copies the order numbers into its rows and, when a title changes,
  // only that task's: the others must keep theirs, or the version must change. A title
  // moved ever closer to "b" uses up the room between two numbers.
  for (const char* title : {"a", "b", "c", "d"}) AddTask(QString::fromUtf8(title));
  TTaskComparer comparer(Context(), QLocale(QLocale::English));
  comparer.PrepareKeys(store.Todos(), 1);
  std::map<const TTdTodo*, int64_t> rows;
  for (const auto& task : store.Todos()) rows[task.get()] = comparer.TitleOrder(*task);
  uint64_t version = comparer.OrderVersion();
  bool numberedAgain = false;
  TTdTodo& moved = *store.GetTodo(3);
  for (int step = 1; step <= 40; ++step) {
    moved.Title = QStringLiteral("a") + QString(step, QLatin1Char('z'));
    ASSERT_TRUE(comparer.TitleChanged(moved));
    if (comparer.OrderVersion() != version) {
      numberedAgain = true;
      version = comparer.OrderVersion();
      for (const auto& task : store.Todos()) rows[task.get()] = comparer.TitleOrder(*task);
    }
    rows[&moved] = comparer.TitleOrder(moved);
    for (const auto& a : store.Todos())
      for (const auto& b : store.Todos())
        ASSERT_EQ(Sign(int(rows[a.get()] > rows[b.get()]) - int(rows[a.get()] < rows[b.get()])),
                  Sign(comparer.TitleRank(*a) - comparer.TitleRank(*b)))
            << "step " << step << ": " << a->Title.toStdString() << " / " << b->Title.toStdString();
  }
  EXPECT_TRUE(numberedAgain);
}

TEST_F(TaskCompareTest, SortKeysOfTheOptionsAndTheHeaderColumn) {
  TTdTodo& a = AddTask(QStringLiteral("same"), 1);
  TTdTodo& b = AddTask(QStringLiteral("same"), 2);
  a.Due = b.Due + 1;
  b.Category = 2;  // "home" after "-- unknown --"
  TTaskComparer comparer(Context());
  options.SortElement1 = tcTitle;
  options.SortElement2 = tcDue;
  options.SortElement3 = tcCategory;
  EXPECT_GT(comparer.CompareForSort(-1, a, b), 0) << "the due date breaks the tie of the titles";
  options.SortElement2 = kNoSortElement;
  EXPECT_LT(comparer.CompareForSort(-1, a, b), 0) << "a skipped second key passes on to the third";
  options.SortElement1 = kNoSortElement;
  EXPECT_EQ(comparer.CompareForSort(-1, a, b), 0) << "no first key: no order";
  EXPECT_LT(comparer.CompareForSort(tcID, a, b), 0) << "the header's column decides alone";
}

}  // namespace
