#include "TaskPresentationFixture.h"

#include "platform/FormatSettings.h"
#include "ui/QuickFilterTabs.h"
#include "ui/TaskFilter.h"

namespace {

class TaskFilterTest : public TaskPresentationFixture {
protected:
  TDateTime today = DateTime::Today();
  bool Visible(const TTdTodo& t, TTabFilter tab = {}) { return IsTaskVisible(t, options, tab, today); }
};

TEST_F(TaskFilterTest, TemplatesAndTheTabTest) {
  TTdTodo& t = AddTask(QStringLiteral("x"));
  t.Priority = 3;
  options.QuickFilterMode = 2;
  struct Case {
    const char* name;
    std::function<void()> change;
    TTabFilter tab;
    bool want;
  };
  const Case cases[] = {
      {"matching tab", [] {}, {true, 3, false}, true},
      {"other tab", [] {}, {true, 1, false}, false},
      {"no tab selected", [] {}, {false, 1, false}, true},
      {"tab filter ignored", [] {}, {true, 1, true}, true},
      {"mode 0", [&] { options.QuickFilterMode = 0; }, {true, 1, false}, true},
      {"unknown mode", [&] { options.QuickFilterMode = 11; }, {true, 3, false}, false},
      {"template hidden with the filter off", [&] { t.SetIsTemplate(true); options.ViewTemplates = false; },
       {}, false},
      {"template shown", [&] { t.SetIsTemplate(true); }, {}, true},
      {"ignored tab still filtered by the options", [&] { options.FilterOn = true; options.FilterStatus = {tsOK}; },
       {true, 1, true}, false},
  };
  const TTdTodo saved = t;
  const TTdAppOptions savedOptions = options;
  for (const Case& c : cases) {
    t.Assign(saved);
    options = savedOptions;
    c.change();
    EXPECT_EQ(Visible(t, c.tab), c.want) << c.name;
  }
}

TEST_F(TaskFilterTest, EachCriterionOfTheFilter) {
  TTdTodo& t = AddTask(QStringLiteral("x"));
  t.Category = 1;
  t.Resource = 1;
  t.Type = 1;
  t.SetReminderActivated(true);
  t.ReminderDateTime = now;
  const TDateTime day = DateTime::DateOf(now);
  const TDateTime first = day, last = day + 1 - 1.0 / 86400000;  // the bounds the dialog stores
  struct Case {
    const char* name;
    std::function<void()> change;
    bool want;
  };
  const Case cases[] = {
      {"filter off lets through", [&] { options.FilterOn = false; options.FilterFlagMode = 1; }, true},
      {"only flagged", [&] { options.FilterFlagMode = 1; }, false},
      {"only unflagged", [&] { options.FilterFlagMode = 2; }, true},
      {"only with notes", [&] { options.FilterNotesMode = 1; }, false},
      {"only without notes", [&] { options.FilterNotesMode = 2; }, true},
      {"priority not in the set", [&] { options.FilterPriority = {1, 3}; }, false},
      {"priority set skipped in priority mode", [&] { options.FilterPriority = {1}; options.QuickFilterMode = 2; }, true},
      {"type in the set", [&] { options.FilterType = {1}; }, true},
      {"type set skipped in type mode", [&] { options.FilterType = {0}; options.QuickFilterMode = 5; }, true},
      {"status not in the set", [&] { options.FilterStatus = {tsCreated}; }, false},
      {"status set skipped in status mode", [&] { options.FilterStatus = {tsCreated}; options.QuickFilterMode = 1; },
       true},
      {"category included", [&] { options.FilterCategoryIncl = {1}; }, true},
      {"include list wins over exclude", [&] { options.FilterCategoryIncl = {1}; options.FilterCategoryExcl = {1}; },
       true},
      {"category excluded", [&] { options.FilterCategoryExcl = {1}; }, false},
      {"category not included", [&] { options.FilterCategoryIncl = {2}; }, false},
      {"category sets skipped in category mode",
       [&] { options.FilterCategoryIncl = {2}; options.FilterCategoryExcl = {1}; options.QuickFilterMode = 3; }, true},
      {"resource excluded", [&] { options.FilterResourceExcl = {1}; }, false},
      {"resource sets skipped in resource mode", [&] { options.FilterResourceIncl = {0}; options.QuickFilterMode = 4; },
       true},
      {"created window", [&] { options.FilterCreatedDates = true; options.FilterCreatedFirst = t.Created;
         options.FilterCreatedLast = t.Created; }, true},
      {"created before the window", [&] { options.FilterCreatedDates = true; options.FilterCreatedFirst = first;
         options.FilterCreatedLast = last; }, false},
      {"due at the last bound", [&] { options.FilterDueDates = true; options.FilterDueFirst = first;
         options.FilterDueLast = t.Due; }, true},
      {"due after the window", [&] { options.FilterDueDates = true; options.FilterDueFirst = first;
         options.FilterDueLast = last; }, false},
      {"completed window ignores a cancelled task", [&] { t.SetStatus(tsCancelled); t.Completed = 1;
         options.FilterCompletedDates = true; options.FilterCompletedFirst = first; options.FilterCompletedLast = last; },
       true},
      {"completed window hides an ok task outside", [&] { t.SetStatus(tsOK); t.Completed = 1;
         options.FilterCompletedDates = true; options.FilterCompletedFirst = first; options.FilterCompletedLast = last; },
       false},
      {"reminder inside its day", [&] { options.FilterReminderDates = true; options.FilterReminderFirst = first;
         options.FilterReminderLast = last; }, true},
      {"reminder a day later", [&] { options.FilterReminderDates = true; options.FilterReminderFirst = first + 1;
         options.FilterReminderLast = last + 1; }, false},
  };
  const TTdTodo saved = t;
  TTdAppOptions base = options;
  base.FilterOn = true;
  for (const Case& c : cases) {
    t.Assign(saved);
    options = base;
    c.change();
    EXPECT_EQ(Visible(t), c.want) << c.name;
  }
}

// ---------------------------------------------------------------------------------------
// Quick-filter tabs

class QuickFilterTabsTest : public TaskFilterTest {
protected:
  std::vector<TQuickFilterTab> Tabs() {
    return BuildQuickFilterTabList({&store, &categories, &resources, &types}, options, FormatSettings(), today);
  }
  static QStringList Texts(const std::vector<TQuickFilterTab>& tabs) {
    QStringList out;
    for (const auto& tab : tabs) out << tab.Text;
    return out;
  }
  static QList<int> Values(const std::vector<TQuickFilterTab>& tabs) {
    QList<int> out;
    for (const auto& tab : tabs) out << tab.Value;
    return out;
  }
  static QList<int> Images(const std::vector<TQuickFilterTab>& tabs) {
    QList<int> out;
    for (const auto& tab : tabs) out << tab.Image;
    return out;
  }

  void SetUp() override {
    AddTask("a").Status = tsOpen;
    AddTask("b").Status = tsOpen;
    TTdTodo& done = AddTask("c");
    done.SetStatus(tsOK);
    done.Category = 2;
    done.Priority = 4;
    TTdTodo& tmpl = AddTask("t");
    tmpl.SetIsTemplate(true);
    tmpl.Status = tsWaiting;
    tmpl.Category = 1;
    tmpl.Resource = 1;
  }
};

TEST_F(QuickFilterTabsTest, StatusTabsWithCountsAndImages) {
  options.QuickFilterMode = 1;
  const auto tabs = Tabs();
  EXPECT_EQ(Texts(tabs), (QStringList{"Open (2)", "Waiting (1)", "OK (1)"}));
  EXPECT_EQ(Values(tabs), (QList<int>{tsOpen, tsWaiting, tsOK}));
  EXPECT_EQ(Images(tabs), (QList<int>{29, 28, 30}));
}

TEST_F(QuickFilterTabsTest, TabsForEachMode) {
  struct Case {
    const char* name;
    std::function<void()> change;
    QStringList texts;
    QList<int> values, images;
  };
  const Case cases[] = {
      {"none", [&] { options.QuickFilterMode = 0; }, {}, {}, {}},
      {"statuses without templates", [&] { options.QuickFilterMode = 1; options.ViewTemplates = false; },
       {"Open (2)", "OK (1)"}, {1, 5}, {29, 30}},
      {"all statuses without numbers", [&] { options.QuickFilterMode = 1; options.HideZeroTabs = false;
         options.ShowNumbersOnTabs = false; },
       {"Created", "Open", "Waiting", "Put on hold", "Cancelled", "OK"}, {0, 1, 2, 3, 4, 5}, {26, 29, 28, 27, 49, 30}},
      {"priorities", [&] { options.QuickFilterMode = 2; }, {"Medium (3)", "Urgent (1)"}, {2, 4}, {2, 4}},
      {"priorities without images", [&] { options.QuickFilterMode = 2; options.UseImagesOnTabs = false; },
       {"Medium (3)", "Urgent (1)"}, {2, 4}, {-1, -1}},
      {"categories", [&] { options.QuickFilterMode = 3; }, {"-- unknown -- (2)", "Work (1)", "home (1)"}, {0, 1, 2},
       {-1, 14, -1}},
      {"categories without templates", [&] { options.QuickFilterMode = 3; options.ViewTemplates = false; },
       {"-- unknown -- (2)", "home (1)"}, {0, 2}, {-1, -1}},
      {"resources have no images", [&] { options.QuickFilterMode = 4; }, {"-- unknown -- (3)", "Anna (1)"}, {0, 1},
       {-1, -1}},
      {"types", [&] { options.QuickFilterMode = 5; }, {"-- unknown -- (4)"}, {0}, {0}},
      {"years: open tasks only", [&] { options.QuickFilterMode = 10; }, {"Y2024 (3)"}, {0}, {-1}},
      {"unknown mode", [&] { options.QuickFilterMode = 12; }, {}, {}, {}},
  };
  const TTdAppOptions saved = options;
  for (const Case& c : cases) {
    options = saved;
    c.change();
    const auto tabs = Tabs();
    EXPECT_EQ(Texts(tabs), c.texts) << c.name;
    EXPECT_EQ(Values(tabs), c.values) << c.name;
    EXPECT_EQ(Images(tabs), c.images) << c.name;
  }
}

TEST_F(QuickFilterTabsTest, DayGroupsCountOpenTasksAndTheirCaptions) {
  options.QuickFilterMode = 6;
  options.HideZeroTabs = false;
  const auto tabs = Tabs();
  ASSERT_EQ(tabs.size(), 33u);
  EXPECT_EQ(tabs[0].Text, "10 (0)");
  EXPECT_EQ(tabs[3].Text, "13 (3)");  // the two open tasks and the template, due on the 13th
  EXPECT_EQ(tabs[31].Text, "Later (0)");
  EXPECT_EQ(tabs[32].Text, "Overdue (0)");
  EXPECT_EQ(tabs[32].Value, kDayGroupOverdue);
}

TEST(QuickFilterReselectTest, Rules) {
  struct Case {
    int previous, count;
    bool reset;
    int want;
  };
  const Case cases[] = {
      {2, 5, true, 0}, {2, 5, false, 2}, {4, 4, false, 0}, {-1, 3, false, -1}, {-1, 3, true, 0}, {1, 0, false, -1},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ReselectTab(c.previous, c.count, c.reset), c.want) << c.previous << " of " << c.count;
}

}  // namespace
