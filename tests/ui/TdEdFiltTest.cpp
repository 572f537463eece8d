// The filter dialog: check lists to and from id lists, the date bounds, Clear, and the
// options it hands back on OK only.
#include "SettingsTestSupport.h"
#include "support/FakeDesktop.h"
#include "ui/TdEdFilt.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

using DateTime::EncodeDate;
using DateTime::EncodeDateTime;

TEST(FilterModel, CheckListsFromAndToIdLists) {
  const struct {
    TFilterChoice choice;
    QList<bool> checked;
    TIdArray stored;
  } cases[] = {
      {fcAny, {true, false, true}, {}},                    // "Any" stores nothing, whatever is checked
      {fcOnly, {false, false, false}, {}},                 // none checked: no filter
      {fcOnly, {true, true, true}, {}},                    // all checked: no filter either
      {fcOnly, {false, true, true, false}, {1, 2}},
      {fcOnly, {true, false, false, false, false, true}, {0, 5}},
  };
  for (const auto& c : cases) EXPECT_EQ(CheckedPositions({c.choice, c.checked}), c.stored);

  TIdArray include{9}, exclude{9};
  StoreFilterList({fcNot, {false, true, false}}, include, exclude);
  EXPECT_EQ(include, TIdArray());
  EXPECT_EQ(exclude, TIdArray({1}));
  StoreFilterList({fcOnly, {false, true, true}}, include, exclude);
  EXPECT_EQ(include, TIdArray({1, 2}));
  EXPECT_EQ(exclude, TIdArray()) << "the other list is emptied";

  EXPECT_EQ(OpenFilterList({}, {}, 3), (TFilterListState{fcAny, {false, false, false}}));
  EXPECT_EQ(OpenFilterList({0, 2, 7}, {}, 3), (TFilterListState{fcOnly, {true, false, true}}))
      << "positions outside the list are left out";
  EXPECT_EQ(OpenFilterList({}, {1}, 3), (TFilterListState{fcNot, {false, true, false}}));
  EXPECT_EQ(OpenFilterList({2}, {1}, 3), (TFilterListState{fcOnly, {false, false, true}}));
}

TEST(FilterModel, BoundsAreTheFirstAndLastInstantOfTheDay) {
  const QDate day(2024, 3, 10);
  EXPECT_EQ(FirstInstant(day), EncodeDate(2024, 3, 10));
  EXPECT_EQ(LastInstant(day), EncodeDateTime(2024, 3, 10, 23, 59, 59, 999));
  EXPECT_LT(LastInstant(day), EncodeDate(2024, 3, 11));
  EXPECT_EQ(PickerDay(0, EncodeDateTime(2024, 3, 5, 9, 0)), QDate(2024, 3, 5)) << "nothing stored: the default";
  EXPECT_EQ(PickerDay(EncodeDateTime(2024, 1, 2, 23, 59), EncodeDate(2024, 3, 5)), QDate(2024, 1, 2));
}

class FilterDialogTest : public ::testing::Test {
protected:
  FakeDesktop desktop;
  FormatPin formats;
  SettingsStores stores;
  TTdAppOptions options = DefaultOptions();

  std::unique_ptr<TTdEditFilterDialog> Open() {
    auto d = std::make_unique<TTdEditFilterDialog>(options, stores.categories, stores.resources, stores.todos,
                                                   stores.types);
    d->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(d.get()));
    return d;
  }
  template <typename T = QWidget>
  static T* Find(const QWidget& d, const QString& name) {
    T* found = d.findChild<T*>(name);
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
  }
  static QRadioButton* Radio(const QWidget& d, const char* group, const char* text) {
    for (QRadioButton* r : Find<QGroupBox>(d, QString::fromLatin1(group))->findChildren<QRadioButton*>())
      if (r->text() == QString::fromLatin1(text)) return r;
    ADD_FAILURE() << text;
    return nullptr;
  }
  static void Click(QAbstractButton* b) { QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(5, b->height() / 2)); }
  static void ClickButton(const QWidget& d, const char* name) { QTest::mouseClick(Find<QPushButton>(d, name), Qt::LeftButton); }
  // Ticks an item's box with the space key, as a user does.
  static void Tick(QListWidget* list, int row) {
    list->setFocus();
    list->setCurrentRow(row);
    QTest::keyClick(list, Qt::Key_Space);
  }
  static QList<bool> Checked(const QListWidget* list) {
    QList<bool> checked;
    for (int i = 0; i < list->count(); ++i) checked << (list->item(i)->checkState() == Qt::Checked);
    return checked;
  }
};

TEST_F(FilterDialogTest, OpensFromTheOptionsAndTheStoreBounds) {
  options.FilterStatus = {1, 2};
  options.FilterCategoryExcl = {3};
  options.FilterDueDates = true;
  options.FilterDueLast = EncodeDateTime(2024, 4, 1, 23, 59, 59, 999);
  options.FilterFlagMode = 2;
  auto d = Open();
  EXPECT_EQ(d->windowTitle(), "Edit Filter");
  EXPECT_TRUE(Radio(*d, "StatusGroup", "Only selected status")->isChecked());
  EXPECT_EQ(Checked(Find<QListWidget>(*d, "StatusList")), QList<bool>({false, true, true, false, false, false}));
  EXPECT_TRUE(Radio(*d, "CategoryGroup", "Not selected categories")->isChecked());
  EXPECT_EQ(Find<QListWidget>(*d, "CategoryList")->item(3)->text(), "Hobby");
  EXPECT_TRUE(Radio(*d, "PriorityGroup", "Any priority ")->isChecked());
  EXPECT_FALSE(Find<QListWidget>(*d, "PriorityList")->isEnabled()) << "\"Any\": the list is off";
  EXPECT_EQ(Find<QDateEdit>(*d, "DueFirst")->date(), QDate(2024, 3, 10)) << "nothing stored: the earliest due date";
  EXPECT_EQ(Find<QDateEdit>(*d, "DueLast")->date(), QDate(2024, 4, 1));
  EXPECT_TRUE(Find<QDateEdit>(*d, "DueFirst")->isEnabled());
  EXPECT_FALSE(Find<QDateEdit>(*d, "CreatedFirst")->isEnabled()) << "its window is not in use";
  EXPECT_EQ(Find<QDateEdit>(*d, "CreatedLast")->date(), QDate(2024, 3, 9));
  EXPECT_TRUE(Radio(*d, "FlagGroup", "Only Not Flagged")->isChecked());
}

TEST_F(FilterDialogTest, GroupsOfFieldsSwitchedOffAreHidden) {
  options.UsePriority = options.UseFlagged = options.UseDTReminder = false;
  auto d = Open();
  EXPECT_FALSE(Find<QGroupBox>(*d, "PriorityGroup")->isVisible());
  EXPECT_FALSE(Find<QGroupBox>(*d, "FlagGroup")->isVisible());
  EXPECT_TRUE(Find<QGroupBox>(*d, "NotesGroup")->isVisible());
  EXPECT_LT(Find<QGroupBox>(*d, "NotesGroup")->y() - Find<QGroupBox>(*d, "TypeGroup")->geometry().bottom(), 20)
      << "the notes group takes the flag group's place";
  EXPECT_FALSE(Find<QCheckBox>(*d, "ReminderUse")->isEnabled());
  EXPECT_FALSE(Find<QDateEdit>(*d, "ReminderFirst")->isEnabled());
  EXPECT_TRUE(Find<QCheckBox>(*d, "DueUse")->isEnabled());
}

TEST_F(FilterDialogTest, OnlySelectedAndNotSelectedAreStoredOnOk) {
  options.FilterPriority = {1};
  auto d = Open();
  Click(Radio(*d, "CategoryGroup", "Only selected categories"));
  Tick(Find<QListWidget>(*d, "CategoryList"), 1);
  Tick(Find<QListWidget>(*d, "CategoryList"), 3);
  Click(Radio(*d, "ResourceGroup", "Not selected resources"));
  Tick(Find<QListWidget>(*d, "ResourceList"), 2);
  Click(Radio(*d, "StatusGroup", "Only selected status"));
  for (int i = 0; i < 6; ++i) Tick(Find<QListWidget>(*d, "StatusList"), i);
  Click(Radio(*d, "PriorityGroup", "Any priority "));
  EXPECT_EQ(Checked(Find<QListWidget>(*d, "PriorityList")), QList<bool>(5, false)) << "\"Any\" unchecks the list";
  Click(Find<QCheckBox>(*d, "CompletedUse"));
  Find<QDateEdit>(*d, "CompletedFirst")->setDate(QDate(2024, 3, 2));
  Find<QDateEdit>(*d, "CompletedLast")->setDate(QDate(2024, 3, 8));
  Click(Radio(*d, "NotesGroup", "Only with Notes"));
  ClickButton(*d, "OkButton");
  EXPECT_FALSE(d->isVisible());
  const TTdAppOptions& o = d->Options();
  EXPECT_EQ(o.FilterCategoryIncl, TIdArray({1, 3}));
  EXPECT_TRUE(o.FilterCategoryExcl.isEmpty());
  EXPECT_EQ(o.FilterResourceExcl, TIdArray({2}));
  EXPECT_TRUE(o.FilterResourceIncl.isEmpty());
  EXPECT_TRUE(o.FilterStatus.isEmpty()) << "every status checked: no status filter";
  EXPECT_TRUE(o.FilterPriority.isEmpty());
  EXPECT_TRUE(o.FilterCompletedDates);
  EXPECT_EQ(o.FilterCompletedFirst, EncodeDate(2024, 3, 2));
  EXPECT_EQ(o.FilterCompletedLast, EncodeDateTime(2024, 3, 8, 23, 59, 59, 999));
  EXPECT_EQ(o.FilterNotesMode, 1);
}

TEST_F(FilterDialogTest, ClearPutsEveryGroupBackToAny) {
  options.FilterStatus = {4};
  options.FilterType = {1};
  options.FilterResourceExcl = {1};
  options.FilterCreatedDates = options.FilterReminderDates = true;
  options.FilterCreatedFirst = EncodeDate(2020, 1, 1);
  options.FilterReminderFirst = EncodeDate(2020, 1, 1);
  options.FilterFlagMode = options.FilterNotesMode = 1;
  options.UseDTReminder = false;  // its window stays as it is
  auto d = Open();
  ClickButton(*d, "ClearButton");
  for (const char* list : {"StatusList", "TypeList", "ResourceList"}) {
    EXPECT_EQ(Checked(Find<QListWidget>(*d, list)), QList<bool>(Find<QListWidget>(*d, list)->count(), false)) << list;
    EXPECT_FALSE(Find<QListWidget>(*d, list)->isEnabled()) << list;
  }
  EXPECT_TRUE(Radio(*d, "ResourceGroup", "Any resource")->isChecked());
  EXPECT_FALSE(Find<QCheckBox>(*d, "CreatedUse")->isChecked());
  EXPECT_EQ(Find<QDateEdit>(*d, "CreatedFirst")->date(), QDate(2024, 3, 1)) << "the store's earliest";
  EXPECT_TRUE(Find<QCheckBox>(*d, "ReminderUse")->isChecked()) << "not in use: left alone";
  EXPECT_EQ(Find<QDateEdit>(*d, "ReminderFirst")->date(), QDate(2020, 1, 1));
  EXPECT_TRUE(Radio(*d, "FlagGroup", "All")->isChecked());
  ClickButton(*d, "OkButton");
  const TTdAppOptions& o = d->Options();
  EXPECT_TRUE(o.FilterStatus.isEmpty() && o.FilterType.isEmpty() && o.FilterResourceExcl.isEmpty());
  EXPECT_FALSE(o.FilterCreatedDates);
  EXPECT_EQ(o.FilterFlagMode, 0);
  EXPECT_EQ(o.FilterNotesMode, 0);
  EXPECT_EQ(o.FilterCreatedLast, EncodeDateTime(2024, 3, 9, 23, 59, 59, 999)) << "the store's latest, to its end";
}

TEST_F(FilterDialogTest, CancelHandsBackNothing) {
  const TTdAppOptions before = options;
  bool shown = false;
  QTimer::singleShot(0, [&] {
    QWidget* d = QApplication::activeModalWidget();
    ASSERT_NE(d, nullptr);
    shown = true;
    Click(Radio(*d, "StatusGroup", "Only selected status"));
    Tick(Find<QListWidget>(*d, "StatusList"), 2);
    ClickButton(*d, "CancelButton");
  });
  EXPECT_FALSE(ShowEditFilterDialog(options, stores.categories, stores.resources, stores.todos, stores.types));
  EXPECT_TRUE(shown);
  EXPECT_EQ(options, before);

  QTimer::singleShot(0, [&] {
    QWidget* d = QApplication::activeModalWidget();
    ASSERT_NE(d, nullptr);
    Click(Radio(*d, "StatusGroup", "Only selected status"));
    Tick(Find<QListWidget>(*d, "StatusList"), 2);
    ClickButton(*d, "OkButton");
  });
  EXPECT_TRUE(ShowEditFilterDialog(options, stores.categories, stores.resources, stores.todos, stores.types));
  EXPECT_EQ(options.FilterStatus, TIdArray({2}));
  EXPECT_EQ(options.FilterDueFirst, EncodeDate(2024, 3, 10)) << "every bound is stored on OK";
}

}  // namespace
