#include "treeview/LazyTrees.h"
#include <gtest/gtest.h>
TEST(Smoke, Builds) { TBaseLazyTree t; t.SetRootNodeCount(10); EXPECT_TRUE(t.CheckTotals().isEmpty()); }
