// The main window and the notification area: with the tray in use a close hides the
// window beside its icon and Restore brings it back; without a notification area the
// window behaves as with the tray options off.
#include "core/TdAppTestSupport.h"

#include "../controls/FakeTrayHost.h"
#include "FakeMainDialogs.h"
#include "controls/ActnPopupCtrl.h"
#include "controls/UtTrIcon.h"
#include "core/TdApp.h"
#include "support/FakeDesktop.h"
#include "ui/TdMain.h"

#include <QAction>

namespace {

class MainTrayTest : public ::testing::Test {
protected:
  TTodoMainForm& Start(bool useTray) {
    handler = std::make_unique<TTodoAppHandler>();
    TTdAppOptions o = handler->GetOptions();
    o.UseSystemTray = useTray;
    o.ConfirmExit = false;
    handler->PutOptions(o);
    form = std::make_unique<TTodoMainForm>(*handler, &dialogs);
    form->show();
    return *form;
  }

  FakeDesktop desktop;
  DataFolderPin data;
  FakeTrayHost tray;
  FakeMainDialogs dialogs;
  std::unique_ptr<TTodoAppHandler> handler;
  std::unique_ptr<TTodoMainForm> form;
};

}  // namespace

TEST_F(MainTrayTest, ClosingGoesToTheTrayAndRestoreComesBack) {
  TTodoMainForm& f = Start(true);
  ASSERT_NE(f.TrayIcon(), nullptr);
  EXPECT_EQ(f.TrayIcon()->Hint(), QStringLiteral("Velmora - manage your tasks"));
  EXPECT_EQ(f.TrayIcon()->PopupMenu(), static_cast<TPopupMenu*>(f.TrayPopupMenu()));

  EXPECT_FALSE(f.close());
  EXPECT_FALSE(f.isVisible());
  EXPECT_TRUE(tray.shown);
  f.acRestoreFromTray->trigger();
  EXPECT_TRUE(f.isVisible());
}

TEST_F(MainTrayTest, WithoutANotificationAreaTheWindowClosesAsUsual) {
  tray.available = false;
  TTodoMainForm& f = Start(true);
  EXPECT_EQ(f.TrayIcon(), nullptr);
  EXPECT_TRUE(f.close());
}

TEST_F(MainTrayTest, TheTrayOptionOffMeansNoIcon) {
  TTodoMainForm& f = Start(false);
  EXPECT_EQ(f.TrayIcon(), nullptr);
  EXPECT_FALSE(tray.shown);
  EXPECT_TRUE(f.close());
}
