#include "support/FakeDesktop.h"
#include "ui/BAbout.h"
#include "ui/TdFontHelpers.h"
#include "ui/TdListHelpers.h"

#include "controls/clurl.h"

#include <QButtonGroup>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace {

QStringList Items(const QListWidget& box) {
  QStringList out;
  for (int i = 0; i < box.count(); ++i) out << box.item(i)->text();
  return out;
}

TEST(ListHelpersTest, DeleteCurrentSelectsTheSameIndexOrTheNewLast) {
  QListWidget box;
  box.addItems({"a", "b", "c"});
  box.setCurrentRow(1);
  ListBoxDeleteCurrent(&box);
  EXPECT_EQ(Items(box), (QStringList{"a", "c"}));
  EXPECT_EQ(box.currentRow(), 1);
  ListBoxDeleteCurrent(&box);
  EXPECT_EQ(box.currentRow(), 0) << "the new last item";
  EXPECT_EQ(ListBoxSelectedText(&box), "a");
}

TEST(ListHelpersTest, MoveSelectedCarriesTheObjectsAndMovesUpAndDown) {
  QListWidget from, to;
  from.setSelectionMode(QAbstractItemView::MultiSelection);
  from.addItems({"a", "b", "c"});
  from.item(2)->setData(Qt::UserRole, 7);
  EXPECT_FALSE(ListBoxHasSelection(&from));
  ListBoxSelectIndex(&from, 0);
  ListBoxSelectIndex(&from, 2);
  ListBoxSelectIndex(&from, 3);  // not below the count: ignored
  EXPECT_TRUE(ListBoxHasSelection(&from));
  ListBoxMoveSelected(&from, &to);
  EXPECT_EQ(Items(from), QStringList{"b"});
  EXPECT_EQ(Items(to), (QStringList{"a", "c"}));
  EXPECT_EQ(to.item(1)->data(Qt::UserRole).toInt(), 7);

  to.setCurrentRow(1);
  EXPECT_TRUE(ListBoxCanMoveUp(&to));
  EXPECT_FALSE(ListBoxCanMoveDown(&to));
  ListBoxMoveItemUp(&to);
  EXPECT_EQ(Items(to), (QStringList{"c", "a"}));
  EXPECT_EQ(to.currentRow(), 0);
  EXPECT_FALSE(ListBoxCanMoveUp(&to));
}

TEST(ListHelpersTest, CheckListsAndRadioGroups) {
  QListWidget box;
  box.addItems({"a", "b", "c"});
  for (int i = 0; i < 3; ++i) box.item(i)->setCheckState(i == 1 ? Qt::Unchecked : Qt::Checked);
  EXPECT_EQ(CheckListBoxCheckedCount(&box), 2);
  CheckListBoxUncheckAll(&box);
  EXPECT_EQ(CheckListBoxCheckedCount(&box), 0);

  QButtonGroup group;
  QRadioButton one, two;
  group.addButton(&one);
  group.addButton(&two);
  EnableRadioGroupItem(&group, 1, false);
  EXPECT_TRUE(one.isEnabled());
  EXPECT_FALSE(two.isEnabled());
  EnableRadioGroupItem(&group, 5, false);  // outside: nothing
}

TEST(FontHelpersTest, EditFontAttributesTakesFontAndColourOnlyOnOk) {
  FakeDesktop desktop;
  QString name = "DejaVu Sans";
  int32_t size = 8, color = 255;
  bool bold = false, italic = true, underline = false, strikeOut = false;
  desktop.onFont = [](QFont& font, QColor& colour) {
    EXPECT_TRUE(font.italic());
    EXPECT_EQ(colour, QColor(255, 0, 0));
    font.setBold(true);
    font.setPointSize(12);
    colour = QColor(0, 0, 255);
    return true;
  };
  ASSERT_TRUE(EditFontAttributes(name, size, bold, italic, underline, strikeOut, color));
  EXPECT_TRUE(bold);
  EXPECT_EQ(size, 12);
  EXPECT_EQ(color, 0xFF0000) << "blue as the settings keep it";

  desktop.onFont = [](QFont& font, QColor&) {
    font.setUnderline(true);
    return false;
  };
  EXPECT_FALSE(EditFontAttributes(name, size, bold, italic, underline, strikeOut, color));
  EXPECT_FALSE(underline);

  desktop.onColor = [](QColor& c) {
    c = QColor(0, 255, 0);
    return true;
  };
  ASSERT_TRUE(ExecuteColorDialog(color));
  EXPECT_EQ(color, 0x00FF00);
}

TEST(AboutBoxTest, ShowsTheProgramAndItsLinks) {
  TAboutInfo info = ProgramAboutInfo();
  info.SiteName = "Example";
  info.WebAddress = "https://example.org/";
  info.MailAddress = "me@example.org";
  TAboutBox box(info, QIcon());
  EXPECT_EQ(box.ProductName()->text(), info.ProductName);
  EXPECT_TRUE(box.Version()->text().endsWith(info.FileVersion));
  EXPECT_EQ(box.WebLabel()->text(), "Visit Example on the Internet:");
  EXPECT_EQ(box.MailLabel()->text(), "Send a mail to Example:");
  EXPECT_EQ(box.MailLink()->URL(), "mailto:me@example.org");
  EXPECT_EQ(box.CloseButton()->text(), "Close");
}

}  // namespace
