// The sort dialog: its column lists, Reset, and the keys it hands back on OK only.
#include "SettingsTestSupport.h"
#include "support/FakeDesktop.h"
#include "ui/TdEdSort.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

QList<int> ColumnNumbers(const QList<TSortColumn>& columns) {
  QList<int> numbers;
  for (const TSortColumn& c : columns) numbers << c.Column;
  return numbers;
}

class SortDialogTest : public ::testing::Test {
protected:
  FakeDesktop desktop;
  TTdAppOptions options = DefaultOptions();

  static QComboBox* List(const QWidget& d, int k) { return d.findChild<QComboBox*>(QStringLiteral("SortList%1").arg(k)); }
  static QCheckBox* Asc(const QWidget& d, int k) { return d.findChild<QCheckBox*>(QStringLiteral("SortAsc%1").arg(k)); }
  static void Click(const QWidget& d, const char* name) {
    QTest::mouseClick(d.findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
  }
};

TEST_F(SortDialogTest, ListsLeaveOutTheColumnsOfFieldsSwitchedOff) {
  EXPECT_EQ(ColumnNumbers(SortColumns(options)), QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15,
                                                             16, 17, 18}));
  EXPECT_EQ(SortColumns(options)[2], (TSortColumn{"Title", 2}));
  TTdAppOptions off = options;
  off.UseCategory = off.UsePriority = off.UseDTDue = off.UsePercent = off.UseAssociation = off.UseNotes = false;
  off.UseDTReminder = off.UseResource = off.UseFlagged = off.UseType = false;
  EXPECT_EQ(ColumnNumbers(SortColumns(off)), QList<int>({0, 1, 2, 5, 7, 9, 15, 17, 18})) << "the type column stays";
  EXPECT_EQ(SortItemIndex(SortColumns(off), 7), 4);
  EXPECT_EQ(SortItemIndex(SortColumns(off), 3), 0) << "a column not offered shows the first item";
  EXPECT_EQ(SortItemIndex(SortColumns(off), 255), 0);
}

TEST_F(SortDialogTest, OpensOnTheStoredKeys) {
  options.SortElement1 = 7, options.SortAsc1 = false;
  options.SortElement2 = 255;
  options.SortElement3 = 3, options.SortAsc3 = true;
  options.UseCategory = false;
  TTdEditSortDialog d(options);
  EXPECT_EQ(d.windowTitle(), "Sort options");
  EXPECT_EQ(List(d, 1)->currentText(), "Status");
  EXPECT_FALSE(Asc(d, 1)->isChecked());
  EXPECT_EQ(List(d, 2)->currentIndex(), 0) << "255 shows the first item";
  EXPECT_EQ(List(d, 3)->currentIndex(), 0) << "category is not offered";
  EXPECT_EQ(List(d, 1)->findText("Category"), -1);
}

// Reset picks the third, sixth and fourth items: other columns once category is gone.
TEST_F(SortDialogTest, ResetWithAndWithoutTheCategoryColumn) {
  const struct {
    bool useCategory;
    QList<int> keys;
  } cases[] = {{true, {2, 5, 3}}, {false, {2, 6, 4}}};
  for (const auto& c : cases) {
    options.UseCategory = c.useCategory;
    options.SortAsc1 = options.SortAsc2 = options.SortAsc3 = false;
    TTdEditSortDialog d(options);
    d.show();
    Click(d, "ResetButton");
    for (int k = 1; k <= 3; ++k) EXPECT_TRUE(Asc(d, k)->isChecked());
    Click(d, "OkButton");
    const TTdAppOptions& o = d.Options();
    EXPECT_EQ(QList<int>({o.SortElement1, o.SortElement2, o.SortElement3}), c.keys) << c.useCategory;
    EXPECT_TRUE(o.SortAsc1 && o.SortAsc2 && o.SortAsc3);
  }
}

TEST_F(SortDialogTest, OkAlwaysStoresThreeKeysAndCancelNothing) {
  options.SortElement1 = 4;
  options.SortElement2 = options.SortElement3 = 255;
  QTimer::singleShot(0, [] {
    QWidget* d = QApplication::activeModalWidget();
    ASSERT_NE(d, nullptr);
    QComboBox* second = List(*d, 2);
    second->setFocus();
    QTest::keyClick(second, Qt::Key_Down);
    QTest::mouseClick(Asc(*d, 3), Qt::LeftButton, {}, QPoint(5, Asc(*d, 3)->height() / 2));
    Click(*d, "OkButton");
  });
  EXPECT_TRUE(ShowEditSortDialog(options));
  EXPECT_EQ(options.SortElement1, 4);
  EXPECT_EQ(options.SortElement2, 1) << "one down from the first item";
  EXPECT_EQ(options.SortElement3, 0) << "never 255";
  EXPECT_FALSE(options.SortAsc3);

  const TTdAppOptions before = options;
  QTimer::singleShot(0, [] {
    QWidget* d = QApplication::activeModalWidget();
    ASSERT_NE(d, nullptr);
    Click(*d, "ResetButton");
    Click(*d, "CancelButton");
  });
  EXPECT_FALSE(ShowEditSortDialog(options));
  EXPECT_EQ(options, before);
}

}  // namespace
