// The options dialog's decisions without a window: the snooze split, the field boxes,
// the clean-up after switching a field off, the tool buttons, the tab mode, the close
// check and the numeric fields.
#include "SettingsTestSupport.h"
#include "ui/TdOptModel.h"

#include <gtest/gtest.h>

namespace {

using O = TTdAppOptions;

TEST(OptionsModel, MinutesSplitIntoDaysHoursAndMinutesAndBack) {
  const struct {
    int minutes;
    TDaysHoursMinutes split;
  } cases[] = {
      {0, {0, 0, 0}},      {59, {0, 0, 59}},           {60, {0, 1, 0}},  {61, {0, 1, 1}},
      {1439, {0, 23, 59}}, {1440, {1, 0, 0}},          {1500, {1, 1, 0}}, {3 * 1440 + 7 * 60 + 5, {3, 7, 5}},
      {100000, {69, 10, 40}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SplitMinutes(c.minutes), c.split) << c.minutes;
    EXPECT_EQ(JoinMinutes(c.split), c.minutes) << c.minutes;
  }
  EXPECT_EQ(SplitMinutes(-5), (TDaysHoursMinutes{0, 0, 0})) << "a damaged setting shows as nothing";
  EXPECT_EQ(JoinMinutes({0, 25, 0}), 1500) << "joined as given";
}

TEST(OptionsModel, SwitchingAFieldOffUnchecksItsDisplayBoxes) {
  const struct {
    TOptionFlag use;
    QList<TOptionFlag> unchecked;
  } cases[] = {
      {&O::UseNotes, {&O::DisplayNotes}},
      {&O::UsePriority, {&O::DisplayPriority}},
      {&O::UsePercent, {&O::DisplayPercent}},
      {&O::UseDTDue, {&O::DisplayDTDue, &O::UseDTDueTime, &O::DisplayDTDueTime, &O::DisplayDaysLeft}},
      {&O::UseDTDueTime, {&O::DisplayDTDueTime}},
      {&O::UseAssociation, {&O::DisplayImageAssociation}},
      {&O::UseCategory, {&O::DisplayCategory}},
      {&O::UseDTReminder, {&O::DisplayImageDTReminder}},
      {&O::UseResource, {&O::DisplayResource}},
      {&O::UseFlagged, {&O::DisplayFlagged}},
      {&O::UseType, {&O::DisplayType}},
  };
  O all = DefaultOptions();
  for (const TFieldBoxRule& rule : FieldBoxRules()) all.*rule.Box = true;
  for (const auto& c : cases) {
    O o = all;
    o.*c.use = false;
    O expected = o;
    for (TOptionFlag box : c.unchecked) expected.*box = false;
    ApplyFieldRules(o);
    EXPECT_EQ(o, expected) << "exactly the dependent boxes, nothing else";
    for (TOptionFlag box : c.unchecked) EXPECT_FALSE(FieldBoxEnabled(o, box));
  }
}

TEST(OptionsModel, ImageAndTextBoxesFollowTheirDisplayBox) {
  const struct {
    TOptionFlag display, image, text;
  } columns[] = {{&O::DisplayPriority, &O::DisplayImagePriority, &O::DisplayTextPriority},
                 {&O::DisplayStatus, &O::DisplayImageStatus, &O::DisplayTextStatus},
                 {&O::DisplayCategory, &O::DisplayImageCategory, &O::DisplayTextCategory},
                 {&O::DisplayType, &O::DisplayImageType, &O::DisplayTextType}};
  for (const auto& c : columns) {
    O o = DefaultOptions();
    o.*c.image = false;
    o.*c.text = false;
    ApplyFieldRules(o);
    EXPECT_TRUE(o.*c.text) << "shown with neither image nor text: the text is checked";
    EXPECT_FALSE(o.*c.image);
    EXPECT_TRUE(FieldBoxEnabled(o, c.image));

    o.*c.display = false;
    o.*c.text = false;
    ApplyFieldRules(o);
    EXPECT_FALSE(o.*c.text) << "not shown: left as it is";
    EXPECT_FALSE(FieldBoxEnabled(o, c.image));
    EXPECT_FALSE(FieldBoxEnabled(o, c.text));
  }
}

TEST(OptionsModel, TimeBoxesNeedTheirDateBox) {
  O o = DefaultOptions();
  for (TOptionFlag date : {&O::DisplayDTCreated, &O::DisplayDTDue, &O::DisplayDTCompleted}) o.*date = false;
  o.DisplayDTCreatedTime = o.DisplayDTCompletedTime = true;
  ApplyFieldRules(o);
  EXPECT_TRUE(o.DisplayDTCreatedTime) << "disabled, not unchecked";
  for (TOptionFlag time : {&O::DisplayDTCreatedTime, &O::DisplayDTDueTime, &O::DisplayDTCompletedTime})
    EXPECT_FALSE(FieldBoxEnabled(o, time));
  o.DisplayDTDue = true;
  EXPECT_TRUE(FieldBoxEnabled(o, &O::DisplayDTDueTime));
  o.UseDTDueTime = false;
  EXPECT_FALSE(FieldBoxEnabled(o, &O::DisplayDTDueTime));
  EXPECT_TRUE(FieldBoxEnabled(o, &O::DisplayID)) << "a box without a rule";
}

// One row of the switch-off table: the field, what its filters become, the sort keys
// and print columns it takes away.
TEST(OptionsModel, SwitchOffTableRowByRow) {
  SettingsStores stores;
  const TTdTodoHandler& store = stores.todos;
  const TIdArray ids{1, 2};
  struct Row {
    const char* name;
    TOptionFlag use;
    std::function<void(O&)> filtersCleared;
    QList<int> sortKeys;
    QList<int> printCodes;
  };
  const Row rows[] = {
      {"Category", &O::UseCategory, [](O& o) { o.FilterCategoryIncl.clear(), o.FilterCategoryExcl.clear(); }, {3},
       {3, 4}},
      {"Priority", &O::UsePriority, [](O& o) { o.FilterPriority.clear(); }, {4}, {17, 18}},
      {"Date due", &O::UseDTDue,
       [&](O& o) {
         o.FilterDueDates = false;
         o.FilterDueFirst = store.FirstDueDate();
         o.FilterDueLast = store.LastDueDate();
       },
       {6, 16}, {10, 11, 25}},
      {"Reminder", &O::UseDTReminder,
       [&](O& o) {
         o.FilterReminderDates = false;
         o.FilterReminderFirst = store.FirstReminderDate();
         o.FilterReminderLast = store.LastReminderDate();
       },
       {12}, {12, 13}},
      {"Resource", &O::UseResource, [](O& o) { o.FilterResourceIncl.clear(), o.FilterResourceExcl.clear(); }, {13},
       {19}},
      {"Flagged", &O::UseFlagged, [](O& o) { o.FilterFlagMode = 0; }, {14}, {22}},
      {"Link", &O::UseAssociation, [](O&) {}, {}, {1, 2}},
      {"Notes", &O::UseNotes, [](O& o) { o.FilterNotesMode = 0; }, {}, {15}},
      {"Percent completed", &O::UsePercent, [](O&) {}, {}, {16}},
  };
  // Every filter set, and every print code in the list, in an order that puts each
  // row's codes between others.
  O full = DefaultOptions();
  full.FilterCategoryIncl = full.FilterCategoryExcl = full.FilterPriority = ids;
  full.FilterResourceIncl = full.FilterResourceExcl = full.FilterStatus = full.FilterType = ids;
  full.FilterFlagMode = full.FilterNotesMode = 2;
  full.FilterDueDates = full.FilterReminderDates = full.FilterCreatedDates = true;
  full.FilterDueFirst = full.FilterReminderFirst = 1;
  full.FilterDueLast = full.FilterReminderLast = 2;
  for (int i = 0; i < kPrintColumnCount; ++i) full.PrintColumn[static_cast<size_t>(i)] = static_cast<uint8_t>(28 - i);

  for (const Row& row : rows) {
    for (const int key : QList<int>{-1} + row.sortKeys) {
      O o = full;
      // The removed key in the middle, between two that stay, each with its direction.
      const int middle = key < 0 ? 2 : key;
      o.SortElement1 = 5, o.SortAsc1 = false;
      o.SortElement2 = static_cast<uint8_t>(middle), o.SortAsc2 = true;
      o.SortElement3 = 7, o.SortAsc3 = false;
      o.*row.use = false;

      O expected = o;
      row.filtersCleared(expected);
      if (key >= 0) {
        expected.SortElement2 = 7, expected.SortAsc2 = false;
        expected.SortElement3 = 255, expected.SortAsc3 = true;
      }
      size_t at = 0;
      for (const uint8_t code : full.PrintColumn) {
        if (!row.printCodes.contains(code)) expected.PrintColumn[at++] = code;
      }
      for (; at < expected.PrintColumn.size(); ++at) expected.PrintColumn[at] = 0;

      ClearSwitchedOffFields(o, store);
      EXPECT_EQ(o, expected) << row.name << " sort key " << key;
    }
  }
  O untouched = full;
  ClearSwitchedOffFields(untouched, store);
  EXPECT_EQ(untouched, full) << "every field in use: nothing changes";
}

TEST(OptionsModel, DueDateOffRemovesBothItsSortKeysAndFillsTheWindowWithTheStoreBounds) {
  SettingsStores stores;
  O o = DefaultOptions();
  o.UseDTDue = false;
  o.FilterDueDates = true;
  o.SortElement1 = 16, o.SortAsc1 = false;
  o.SortElement2 = 6, o.SortAsc2 = false;
  o.SortElement3 = 2, o.SortAsc3 = false;
  ClearSwitchedOffFields(o, stores.todos);
  EXPECT_EQ(o.SortElement1, 2);
  EXPECT_FALSE(o.SortAsc1) << "a key keeps its direction as it moves up";
  EXPECT_EQ(o.SortElement2, 255);
  EXPECT_EQ(o.SortElement3, 255);
  EXPECT_TRUE(o.SortAsc2 && o.SortAsc3);
  EXPECT_FALSE(o.FilterDueDates);
  EXPECT_EQ(o.FilterDueFirst, DateTime::EncodeDateTime(2024, 3, 10, 22, 0)) << "earliest due date of the tasks";
  EXPECT_EQ(o.FilterDueLast, DateTime::EncodeDateTime(2024, 3, 20, 22, 0));
}

TEST(OptionsModel, PrintColumnsCloseUpAndEndInZeros) {
  O o = DefaultOptions();
  o.PrintColumn.fill(0);
  const uint8_t stored[] = {14, 3, 5, 4, 15};
  for (size_t i = 0; i < 5; ++i) o.PrintColumn[i] = stored[i];
  RemovePrintColumns(o, {3, 4});
  EXPECT_EQ(QList<int>(o.PrintColumn.begin(), o.PrintColumn.begin() + 4), QList<int>({14, 5, 15, 0}));
  RemovePrintColumns(o, {14, 5, 15});
  EXPECT_EQ(o.PrintColumn[0], 0) << "every column gone";
}

TEST(OptionsModel, ToolButtonsFromAndToTheSlots) {
  O o = DefaultOptions();
  o.ToolBarButtons = {3, 0, 9, 3, 42, 11, 0, 0, 0, 0, 0};
  EXPECT_EQ(SelectedToolButtons(o), QList<int>({3, 9, 11})) << "in slot order, each once, unknown codes skipped";
  EXPECT_EQ(AvailableToolButtons({3, 9, 11}), QList<int>({1, 2, 4, 5, 6, 7, 8, 10}));
  EXPECT_EQ(ToolButtons().size(), 11);
  EXPECT_STREQ(ToolButtons()[10].Text, "Filter On/Off");
  EXPECT_EQ(ToolButtons()[8].ImageIndex, 11);

  const struct {
    QList<int> selected;
    bool show;
    std::array<int32_t, 11> expectedSlots;
    bool shown;
  } cases[] = {
      {{6, 1, 2}, true, {6, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0}, true},
      {{6, 1, 2}, false, {6, 1, 2, 0, 0, 0, 0, 0, 0, 0, 0}, false},
      {{}, true, {}, false},
      {{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, true, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, true},
  };
  for (const auto& c : cases) {
    O stored = DefaultOptions();
    StoreToolBarButtons(stored, c.selected, c.show);
    EXPECT_EQ(stored.ToolBarButtons, c.expectedSlots);
    EXPECT_EQ(stored.ShowToolbar, c.shown) << c.selected.size() << " buttons, box " << c.show;
  }
}

TEST(OptionsModel, TabModeClearsTheFilterOfWhatTheTabsGroupBy) {
  O full = DefaultOptions();
  const TIdArray ids{1};
  full.FilterStatus = full.FilterPriority = full.FilterType = ids;
  full.FilterCategoryIncl = full.FilterCategoryExcl = full.FilterResourceIncl = full.FilterResourceExcl = ids;
  full.AllTasks = false;
  const struct {
    int mode;
    std::function<void(O&)> cleared;
  } cases[] = {
      {0, [](O& o) { o.AllTasks = true; }},
      {1, [](O& o) { o.FilterStatus.clear(); }},
      {2, [](O& o) { o.FilterPriority.clear(); }},
      {3, [](O& o) { o.FilterCategoryIncl.clear(), o.FilterCategoryExcl.clear(); }},
      {4, [](O& o) { o.FilterResourceIncl.clear(), o.FilterResourceExcl.clear(); }},
      {5, [](O& o) { o.FilterType.clear(); }},
      {6, [](O&) {}},
      {10, [](O&) {}},
  };
  for (const auto& c : cases) {
    O o = full;
    O expected = full;
    expected.QuickFilterMode = static_cast<uint8_t>(c.mode);
    c.cleared(expected);
    StoreQuickFilterMode(o, c.mode);
    EXPECT_EQ(o, expected) << "mode " << c.mode;
  }
}

TEST(OptionsModel, TabModesNeedTheirFields) {
  O o = DefaultOptions();
  for (int mode = 0; mode < kQuickFilterModeCount; ++mode) EXPECT_TRUE(QuickFilterModeEnabled(o, mode)) << mode;
  o.UsePriority = o.UseCategory = o.UseResource = o.UseType = o.UseDTDue = false;
  QList<int> enabled;
  for (int mode = 0; mode < kQuickFilterModeCount; ++mode)
    if (QuickFilterModeEnabled(o, mode)) enabled << mode;
  EXPECT_EQ(enabled, QList<int>({0, 1}));
}

TEST(OptionsModel, CloseCheckAndNumericFields) {
  EXPECT_TRUE(DeltasAllowClose(7, 6));
  EXPECT_TRUE(DeltasAllowClose(3, 3)) << "equal values pass";
  EXPECT_FALSE(DeltasAllowClose(2, 3));

  const struct {
    const char* text;
    std::optional<int> value;
  } cases[] = {{"5", 5}, {" 12 ", 12}, {"0", 0}, {"23", 23}, {"24", std::nullopt}, {"-1", std::nullopt},
               {"", std::nullopt}, {"1a", std::nullopt}, {"2.5", std::nullopt}};
  for (const auto& c : cases) EXPECT_EQ(ParseFieldNumber(c.text, 0, 23), c.value) << c.text;
  EXPECT_EQ(FieldNumberMessage(1, 365), "Enter a whole number from 1 to 365.");
}

}  // namespace
