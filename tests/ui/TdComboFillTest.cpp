#include "ui/TdComboFill.h"

#include <QComboBox>
#include <QPixmap>
#include <gtest/gtest.h>

namespace {

// Hands out a distinct picture per index and remembers what was asked.
struct FakeImages {
  QList<int> asked;
  TImageSource Source() {
    return [this](int index) {
      asked << index;
      QPixmap pixmap(4, 4);
      pixmap.fill(QColor(index, 0, 0));
      return QIcon(pixmap);
    };
  }
};

QStringList Texts(const QComboBox& box) {
  QStringList texts;
  for (int i = 0; i < box.count(); ++i) texts << box.itemText(i);
  return texts;
}

}  // namespace

TEST(TdComboFill, StatusAndPriorityWithTheirImages) {
  QComboBox box;
  box.addItem("stale");
  FakeImages images;
  FillStatusComboBox(&box, images.Source());
  EXPECT_EQ(Texts(box), QStringList({"Created", "Open", "Waiting", "Put on hold", "Cancelled", "OK"}));
  EXPECT_EQ(images.asked, QList<int>({26, 29, 28, 27, 49, 30}));
  EXPECT_FALSE(box.itemIcon(5).isNull());

  images.asked.clear();
  FillPriorityComboBox(&box, images.Source());
  EXPECT_EQ(Texts(box), QStringList({"-- unknown --", "Low", "Medium", "High", "Urgent"}));
  EXPECT_EQ(images.asked, QList<int>({0, 1, 2, 3, 4}));
}
