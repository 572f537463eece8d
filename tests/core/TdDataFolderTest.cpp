#include "core/TdDataFolder.h"
#include "support/ContextPins.h"
#include "support/XdgHome.h"

#include <gtest/gtest.h>

TEST(DataFolder, PerUserDataFolderWithMakerAndProductUnlessTheContextHasOne) {
  XdgHome home;
  EXPECT_EQ(LookUpDefaultDataFolder(), home.DataHome() + "/velmora-software/velmora/");
  EXPECT_EQ(DefaultDataFolder(), LookUpDefaultDataFolder());
  const DataFolderScope elsewhere(QStringLiteral("/elsewhere/"));
  EXPECT_EQ(DefaultDataFolder(), "/elsewhere/");
}
