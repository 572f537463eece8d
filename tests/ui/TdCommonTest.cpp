#include "ui/TdCommon.h"

#include <gtest/gtest.h>

namespace {

bool IsBlank(const QImage& image) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (qAlpha(image.pixel(x, y)) != 0) return false;
  return true;
}

TEST(CommonModuleTest, ListsHaveTheirSizesAndCountsWithAnEmptyFirstImage) {
  TCommonModule module;
  struct Case {
    const char* name;
    TLTImageList* list;
    int size, count;
  };
  const Case cases[] = {
      {"large", module.LargeImages(), 24, kLargeImageCount},
      {"disabled large", module.DisabledLargeImages(), 24, kLargeImageCount},
      {"hot large", module.HotLargeImages(), 24, kLargeImageCount},
      {"small", module.SmallImages(), 16, kSmallImageCount},
      {"disabled small", module.DisabledSmallImages(), 16, kSmallImageCount},
      {"hot small", module.HotSmallImages(), 16, kSmallImageCount},
      {"task tree", module.TaskTreeImages(), 16, kTaskTreeImageCount},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_NE(c.list, nullptr);
    EXPECT_EQ(c.list->Width(), c.size);
    EXPECT_EQ(c.list->Height(), c.size);
    ASSERT_EQ(c.list->Count(), c.count);
    EXPECT_TRUE(IsBlank(c.list->Image(0)));
    for (int i = 1; i < c.count; ++i) EXPECT_FALSE(IsBlank(c.list->Image(i))) << "image " << i;
  }
}

TEST(CommonModuleTest, DisabledAndHotImagesDifferFromTheNormalOnes) {
  TCommonModule module;
  EXPECT_NE(module.LargeImages()->Image(aiAddTask), module.DisabledLargeImages()->Image(aiAddTask));
  EXPECT_NE(module.SmallImages()->Image(aiFilterOn), module.HotSmallImages()->Image(aiFilterOn));
  EXPECT_FALSE(module.SmallIcon(aiFind).isNull());
}

TEST(CommonModuleTest, IndexMaps) {
  struct Case {
    int got, want;
  };
  const Case cases[] = {
      {PriorityImage(0), 0}, {PriorityImage(4), 4},  {PriorityImage(5, -1), -1},
      {StatusImage(0), 26},  {StatusImage(1), 29},   {StatusImage(2), 28},
      {StatusImage(3), 27},  {StatusImage(4), 49},   {StatusImage(5), 30},
      {StatusImage(6), 0},   {ReminderImage(1), 10}, {ReminderImage(2), 11},
      {ReminderImage(6), 11}, {ReminderImage(3), 12}, {ReminderImage(4), 12},
      {ReminderImage(5), 12}, {ReminderImage(7), 12}, {ReminderImage(0, 0), 0},
      {FlagImage(true), 5},  {FlagImage(false), 0},  {RecurringImage(true), 54},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].got, cases[i].want) << "case " << i;
}

}  // namespace
