#include "core/TdDataFolder.h"
#include "support/XdgHome.h"

#include <gtest/gtest.h>

TEST(DataFolder, PerUserDataFolderWithMakerAndProduct) {
  XdgHome home;
  SetDefaultDataFolder({});
  EXPECT_EQ(DefaultDataFolder(), home.DataHome() + "/velmora-software/velmora/");
  SetDefaultDataFolder("/elsewhere/");
  EXPECT_EQ(DefaultDataFolder(), "/elsewhere/");
  SetDefaultDataFolder({});
}
