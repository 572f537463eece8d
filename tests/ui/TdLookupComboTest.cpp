#include "ui/TdLookupCombo.h"

#include "core/BCat.h"
#include "core/BType.h"

#include <QComboBox>
#include <QPixmap>
#include <gtest/gtest.h>

namespace {

QIcon Picture(int index) {
  QPixmap pixmap(4, 4);
  pixmap.fill(QColor(index & 0xFF, 0, 0));
  return QIcon(pixmap);
}

}  // namespace

TEST(TdLookupCombo, EveryEntryWithItsPictureOrTheDefault) {
  TTdCategoryHandler cats("/x/cat.tbl");
  cats.Load();  // "-- unknown --" without a picture
  TTdCategory* home = cats.AddCategory();
  home->Name = "Home";
  home->ImageIndex = 7;

  QComboBox box;
  box.addItem("stale");
  QList<int> asked;
  FillComboBox(&box, cats, 50, [&asked](int index) {
    asked << index;
    return Picture(index);
  });
  ASSERT_EQ(box.count(), 2);
  EXPECT_EQ(box.itemText(0), "-- unknown --");
  EXPECT_EQ(box.itemText(1), "Home");
  EXPECT_EQ(asked, QList<int>({50, 7}));
  EXPECT_FALSE(box.itemIcon(1).isNull());

  TTdTypeHandler types("/x/type.tbl");
  types.Load();  // the fifteen default types
  asked.clear();
  FillComboBox(&box, types, 50, [&asked](int index) {
    asked << index;
    return Picture(index);
  });
  EXPECT_EQ(box.count(), 15);
  EXPECT_EQ(box.itemText(14), "Idea");
  EXPECT_EQ(asked.first(), 0) << "entry 0 of the types has picture 0";
  EXPECT_EQ(asked.last(), 48);
}
