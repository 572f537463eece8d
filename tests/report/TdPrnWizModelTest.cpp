// The print wizard's rules without a window: captions, the columns the switches offer,
// the two column lists, the enabled states, the layout texts, and what a task prints.
#include "ReportTestSupport.h"
#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "report/TdPrnWizModel.h"
#include "report/TdPrnWizValues.h"

#include <set>

namespace {

TTdAppOptions AllFieldsOn() {
  TTdAppOptions o;
  o.UseNotes = o.UsePriority = o.UseType = o.UseCategory = o.UseResource = o.UsePercent = o.UseDTDue = true;
  o.UseDTReminder = o.UseAssociation = o.UseFlagged = true;
  return o;
}

TEST(PrintColumns, KindsAndCaptionsFollowTheTable) {
  std::set<int> pictures;
  for (int code = 1; code <= pwCode::Count; ++code)
    if (IsPictureColumn(code)) pictures.insert(code);
  EXPECT_EQ(pictures, (std::set<int>{1, 3, 12, 17, 20, 22, 26, 28}));
  EXPECT_EQ(PrintColumnKind(5), TPrintColumnKind::CheckBox);
  EXPECT_EQ(PrintColumnKind(15), TPrintColumnKind::Notes);
  EXPECT_EQ(PrintColumnListCaption(13), "Date-time reminder text");
  EXPECT_EQ(PrintColumnHeaderCaption(13), "Reminder");
  EXPECT_EQ(PrintColumnHeaderCaption(16), "%");
  EXPECT_EQ(PrintColumnListCaption(29), QString());
  for (auto [a, b] : {std::pair{1, 2}, {3, 4}, {12, 13}, {17, 18}, {20, 21}, {26, 27}}) {
    EXPECT_TRUE(AreTwins(a, b) && AreTwins(b, a)) << a << "," << b;
  }
  EXPECT_FALSE(AreTwins(22, 23));
  EXPECT_FALSE(AreTwins(0, 0));
}

TEST(PrintColumns, ShortCaptionsOnlyWhereTheImageStandsAlone) {
  struct Case {
    std::vector<int> printed;
    int code;
    const char* caption;
  } cases[] = {
      {{3}, 3, "C"},           {{3, 4}, 3, "Category"}, {{4, 3}, 3, "C"},  {{3, 14, 4}, 3, "C"},
      {{17, 18}, 17, "Priority"}, {{17, 1}, 17, "P"},   {{20}, 20, "S"},   {{26, 27}, 26, "Type"},
      {{26}, 26, "T"},         {{22}, 22, "F"},         {{28}, 28, "R"},   {{12}, 12, "Reminder"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PrintHeaderCaptions(c.printed, true)[static_cast<size_t>(c.code)], c.caption) << c.code;
    EXPECT_EQ(PrintHeaderCaptions(c.printed, false)[static_cast<size_t>(c.code)], PrintColumnHeaderCaption(c.code));
  }
}

TEST(PrintColumns, EachFieldSwitchHidesItsColumns) {
  struct Case {
    bool TTdAppOptions::*field;
    std::set<int> hidden;
  } cases[] = {
      {&TTdAppOptions::UseCategory, {3, 4}},     {&TTdAppOptions::UsePriority, {17, 18}},
      {&TTdAppOptions::UseType, {26, 27}},       {&TTdAppOptions::UseDTDue, {10, 11, 25}},
      {&TTdAppOptions::UsePercent, {16}},        {&TTdAppOptions::UseAssociation, {1, 2}},
      {&TTdAppOptions::UseNotes, {15}},          {&TTdAppOptions::UseDTReminder, {12, 13}},
      {&TTdAppOptions::UseResource, {19}},       {&TTdAppOptions::UseFlagged, {22}},
  };
  EXPECT_EQ(OfferedColumns(AllFieldsOn()).size(), 28u);
  for (const Case& c : cases) {
    TTdAppOptions o = AllFieldsOn();
    o.*c.field = false;
    std::set<int> hidden;
    for (int code = 1; code <= 28; ++code)
      if (!IsColumnOffered(code, o)) hidden.insert(code);
    EXPECT_EQ(hidden, c.hidden);
  }
}

TEST(PrintColumns, StoredOrderSkipsZerosAndHiddenColumns) {
  TTdAppOptions o = AllFieldsOn();
  o.UseFlagged = false;
  o.PrintColumn = {0, 14, 0, 22, 5, 15, 23};
  EXPECT_EQ(StoredColumns(o), (std::vector<int>{14, 5, 15, 23}));
  StorePrintColumns(o, {23, 14});
  EXPECT_EQ(o.PrintColumn[0], 23);
  EXPECT_EQ(o.PrintColumn[1], 14);
  EXPECT_EQ(o.PrintColumn[2], 0);
}

TEST(PrintColumns, MillimetresBecomeReportUnits) {
  for (auto [mm, units] : {std::pair{0, 0}, {1, 4}, {3, 11}, {5, 18}, {10, 36}, {25, 90}, {-2, -7}})
    EXPECT_EQ(MillimetresToUnits(mm), units) << mm;
}

// ---- the two lists -------------------------------------------------------------------

TPrintColumnLists ShownLists(const std::vector<int>& stored) {
  TPrintColumnLists lists;
  lists.Fill(OfferedColumns(AllFieldsOn()));
  lists.SelectStored(stored);
  lists.Shown = true;
  return lists;
}

void SelectAvailable(TPrintColumnLists& lists, int code) {
  lists.AvailableIndex =
      static_cast<int>(std::find(lists.Available.begin(), lists.Available.end(), code) - lists.Available.begin());
  lists.Select();
}

TEST(PrintColumnLists, StoredOrderIsKeptAndNotesLastStaysLast) {
  TPrintColumnLists lists = ShownLists({14, 15});
  EXPECT_EQ(lists.Selected, (std::vector<int>{14, 15}));
  SelectAvailable(lists, 23);
  EXPECT_EQ(lists.Selected, (std::vector<int>{14, 23, 15}));
  EXPECT_EQ(lists.SelectedIndex, 1) << "the moved column stays selected";
  // Notes in the middle stays there; the new column moves one place up only.
  lists = ShownLists({15, 14});
  SelectAvailable(lists, 5);
  EXPECT_EQ(lists.Selected, (std::vector<int>{15, 5, 14}));
  // Before the wizard is shown the stored order is taken as it stands.
  TPrintColumnLists loading;
  loading.Fill(OfferedColumns(AllFieldsOn()));
  loading.SelectStored({15, 14});
  EXPECT_EQ(loading.Selected, (std::vector<int>{15, 14}));
}

TEST(PrintColumnLists, MovesFollowTheItemAndNeverPassNotes) {
  TPrintColumnLists lists = ShownLists({14, 5, 23, 15});
  struct Case {
    int selected;
    bool up, down;
  } cases[] = {{0, false, true}, {1, true, true}, {2, true, false}, {3, false, false}, {-1, false, false}};
  for (const Case& c : cases) {
    lists.SelectedIndex = c.selected;
    EXPECT_EQ(lists.CanMoveUp(), c.up) << c.selected;
    EXPECT_EQ(lists.CanMoveDown(), c.down) << c.selected;
  }
  lists.SelectedIndex = 1;
  lists.MoveDown();
  EXPECT_EQ(lists.Selected, (std::vector<int>{14, 23, 5, 15}));
  EXPECT_EQ(lists.SelectedIndex, 2);
  lists.MoveUp();
  lists.MoveUp();
  EXPECT_EQ(lists.Selected, (std::vector<int>{5, 14, 23, 15}));
  EXPECT_EQ(lists.SelectedIndex, 0);
}

TEST(PrintColumnLists, DeselectGoesBackToTheEndAndSelectsTheNeighbour) {
  TPrintColumnLists lists = ShownLists({14, 5});
  lists.SelectedIndex = 1;
  lists.DeSelect();
  EXPECT_EQ(lists.Selected, std::vector<int>{14});
  EXPECT_EQ(lists.SelectedIndex, 0) << "the new last one";
  EXPECT_EQ(lists.Available.back(), 5);
  EXPECT_EQ(lists.AvailableIndex, static_cast<int>(lists.Available.size()) - 1);
  // Selecting the last available column selects the new last one.
  lists.AvailableIndex = static_cast<int>(lists.Available.size()) - 1;
  const int before = lists.Available[static_cast<size_t>(lists.AvailableIndex - 1)];
  lists.Select();
  EXPECT_EQ(lists.Available[static_cast<size_t>(lists.AvailableIndex)], before);
}

TEST(PrintWizardStatus, PagesAndPreviewNeedPrinterPaperAndColumns) {
  struct Case {
    bool printer, bin;
    int bins;
    bool paper, columns;
    bool paperPage, otherPages, preview;
  } cases[] = {
      {false, false, 0, true, true, false, false, false}, {true, false, 0, true, true, true, true, true},
      {true, false, 2, true, true, true, false, false},   {true, true, 2, true, true, true, true, true},
      {true, true, 2, false, true, true, false, false},   {true, true, 2, true, false, true, true, false},
  };
  for (const Case& c : cases) {
    TPrintColumnLists lists = ShownLists(c.columns ? std::vector<int>{14} : std::vector<int>{});
    const TPrintWizardStatus s = ComputeWizardStatus(lists, {c.printer, c.bin, c.bins, c.paper, true});
    EXPECT_EQ(s.PaperPage, c.paperPage);
    EXPECT_EQ(s.OtherPages, c.otherPages);
    EXPECT_EQ(s.Preview, c.preview);
    EXPECT_EQ(s.Message, c.preview ? QString() : QStringLiteral("You must select a paper source and a size"));
  }
}

TEST(PrintWizardLayout, TextThatIsNoNumberChangesNothing) {
  TTdAppOptions o;
  o.MarginLeft = 5;
  o.ExtraGap = 3;
  const auto error = ReadLayoutTexts({"12", "1", "2", "x3", "4", "100"}, o);
  ASSERT_TRUE(error.has_value());
  EXPECT_EQ(error->Field, 3);
  EXPECT_EQ(LayoutFieldLabel(error->Field), "Bottom, mm:");
  EXPECT_EQ(o.MarginLeft, 5);
  EXPECT_EQ(o.ExtraGap, 3);
  EXPECT_FALSE(ReadLayoutTexts({" 12 ", "1", "2", "(3)", "4", "100"}, o).has_value());
  EXPECT_EQ(o.MarginLeft, 12);
  EXPECT_EQ(o.MarginBottom, -3);
  EXPECT_EQ(o.MaxWidthTitle, 100);
  EXPECT_TRUE(ReadLayoutTexts({"", "1", "2", "3", "4", "5"}, o).has_value()) << "an empty edit is no number";
}

// ---- what a task prints ----------------------------------------------------------------

class PrintValuesTest : public ::testing::Test {
protected:
  void SetUp() override {
    categories.AddCategory()->Name = QStringLiteral("-- unknown --");
    TTdCategory* home = categories.AddCategory();
    home->Name = QStringLiteral("Home");
    home->ImageIndex = 17;
    resources.AddResource()->Name = QStringLiteral("-- unknown --");
    resources.AddResource()->Name = QString();
    types.AddType()->Name = QStringLiteral("-- unknown --");
    sources.Categories = &categories;
    sources.Resources = &resources;
    sources.Types = &types;
    sources.AssociationImage = [](const TTdTodo& t) { return t.Association.endsWith(QLatin1String(".pdf")) ? 57 : -1; };

    task.ID = 7;
    task.Title = QStringLiteral("Pay rent");
    task.Category = 1;
    task.Resource = 1;
    task.Priority = 3;
    task.Status = tsOpen;
    task.Percent = 40;
    task.Created = DateTime::EncodeDateTime(2024, 3, 1, 12, 0);
    task.Due = DateTime::EncodeDateTime(2024, 3, 12, 0, 0);
    task.Completed = 0;
  }

  FormatPin formats;
  ClockPin clock{DateTime::EncodeDateTime(2024, 3, 10, 12, 0)};
  TTdCategoryHandler categories{QStringLiteral("cat.tbl")};
  TTdResourceHandler resources{QStringLiteral("res.tbl")};
  TTdTypeHandler types{QStringLiteral("type.tbl")};
  TPrintValueSources sources;
  TTdTodo task{DateTime::EncodeDateTime(2024, 3, 1, 12, 0)};
};

TEST_F(PrintValuesTest, EachTextColumnPrintsItsField) {
  struct Case {
    int code;
    const char* text;
  } cases[] = {
      {2, ""},          {4, "Home"},         {5, "0"},           {6, "-"},           {7, "-"},
      {8, "01.03.2024"}, {9, "01.03.2024 12:00"}, {10, "12.03.2024"}, {11, "12.03.2024"}, {13, "-"},
      {14, "Pay rent"}, {15, ""},            {16, "40"},         {18, "High"},       {19, ""},
      {21, "Open"},     {23, "7"},           {24, "9.0"},        {25, "1.5"},        {27, "-- unknown --"},
      {1, ""},          {29, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(PrintColumnText(c.code, task, sources), c.text) << c.code;
}

TEST_F(PrintValuesTest, TemplatesDoneTasksAndRemindersPrintTheirSpecialTexts) {
  task.SetIsTemplate(true);
  EXPECT_EQ(PrintColumnText(10, task, sources), "TEMPLATE");
  EXPECT_EQ(PrintColumnText(11, task, sources), "TEMPLATE");
  task.SetIsTemplate(false);
  task.Status = tsOK;
  task.Completed = DateTime::EncodeDateTime(2024, 3, 9, 8, 30);
  EXPECT_EQ(PrintColumnText(5, task, sources), "1");
  EXPECT_EQ(PrintColumnText(6, task, sources), "09.03.2024");
  EXPECT_EQ(PrintColumnText(7, task, sources), "09.03.2024 08:30");
  task.SetReminderActivated(true);
  task.ReminderDateTime = DateTime::EncodeDateTime(2024, 3, 11, 9, 0);
  EXPECT_EQ(PrintColumnText(13, task, sources), "11.03.2024 09:00");
  task.Due = DateTime::EncodeDateTime(2024, 3, 8, 12, 0);
  EXPECT_EQ(PrintColumnText(25, task, sources), "-2.0") << "past due counts down";
  task.Notes = QStringLiteral("line one\nline two");
  EXPECT_EQ(PrintColumnText(15, task, sources), "line one\nline two");
  task.Resource = 9;
  EXPECT_EQ(PrintColumnText(19, task, sources), "[no Resource]");
}

TEST_F(PrintValuesTest, ImagesForEveryStatusPriorityAndReminderType) {
  const int statusImages[] = {26, 29, 28, 27, 49, 30};
  for (int status = 0; status < 6; ++status) {
    task.Status = status;
    EXPECT_EQ(PrintColumnImage(20, task, sources), statusImages[status]) << status;
  }
  for (int priority = 0; priority < 5; ++priority) {
    task.Priority = priority;
    EXPECT_EQ(PrintColumnImage(17, task, sources), priority);
  }
  const int reminderImages[] = {0, 10, 11, 12, 12, 12, 11, 12};
  for (int type = 0; type < 8; ++type) {
    task.ReminderType = type;
    task.SetReminderActivated(false);
    EXPECT_EQ(PrintColumnImage(12, task, sources), 0) << "switched off";
    task.SetReminderActivated(true);
    EXPECT_EQ(PrintColumnImage(12, task, sources), reminderImages[type]) << type;
  }
  EXPECT_EQ(PrintColumnImage(3, task, sources), 17);
  EXPECT_EQ(PrintColumnImage(26, task, sources), 0) << "the type entry has no image";
  EXPECT_EQ(PrintColumnImage(22, task, sources), 0);
  task.SetFlagged(true);
  EXPECT_EQ(PrintColumnImage(22, task, sources), 5);
  EXPECT_EQ(PrintColumnImage(28, task, sources), 0);
  task.SetFromTemplate(true);
  EXPECT_EQ(PrintColumnImage(28, task, sources), 54);
  EXPECT_EQ(PrintColumnImage(1, task, sources), 0) << "no association";
  task.Association = QStringLiteral("/tmp/a.txt");
  EXPECT_EQ(PrintColumnImage(1, task, sources), 0) << "no icon cached";
  task.Association = QStringLiteral("/tmp/a.pdf");
  EXPECT_EQ(PrintColumnImage(1, task, sources), 57);
  EXPECT_EQ(PrintColumnImage(14, task, sources), 0) << "a text column";
}

TEST(PrintRowColors, TheFirstRowIsOdd) {
  TTdAppOptions o;
  o.BackColorOdd = 0x00AABBCC;
  o.BackColorEven = 0x00112233;
  EXPECT_EQ(PrintRowColor(0, o), 0x00AABBCC);
  EXPECT_EQ(PrintRowColor(1, o), 0x00112233);
  EXPECT_EQ(PrintRowColor(2, o), 0x00AABBCC);
}

}  // namespace
