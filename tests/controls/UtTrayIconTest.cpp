#include "FakeMenuTracker.h"
#include "FakeTrayHost.h"
#include "controls/ShConst.h"
#include "controls/UtTrIcon.h"
#include "support/FakeDesktop.h"

#include <QCoreApplication>
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

// Catches the application's quit request, so a test sees it without the loop ending.
class QuitCatcher : public QObject {
public:
  QuitCatcher() { QCoreApplication::instance()->installEventFilter(this); }
  ~QuitCatcher() override { QCoreApplication::instance()->removeEventFilter(this); }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != QCoreApplication::instance() || event->type() != QEvent::Quit) return false;
    ++quits;
    return true;
  }
  int quits = 0;
};

class TrayIconTest : public ::testing::Test {
protected:
  TrayIconTest() {
    owner.setWindowTitle("Owner");
    owner.resize(200, 100);
  }
  // The icon as the main window sets it up: built in code between loading calls.
  TUtTrayIcon* MakeIcon() {
    auto* icon = new TUtTrayIcon(&owner);
    icon->BeginLoading();
    icon->SetHint("Velmora - manage your tasks");
    icon->EndLoading();
    return icon;
  }
  // The window's close button.
  void UserCloses() { owner.close(); }

  QuitCatcher quit;  // installed before any icon, so an icon hears of a quit first
  FakeDesktop desktop;
  FakeTrayHost tray;
  QWidget owner;
};

TEST_F(TrayIconTest, CloseAndMinimiseGoToTheTrayAndRestoreComesBack) {
  TUtTrayIcon* icon = MakeIcon();
  icon->SetMinimizeToTray(true);
  int minimised = 0;
  int restored = 0;
  icon->OnMinimize = [&](TUtCustomTrayIcon&) { ++minimised; };
  icon->OnRestore = [&](TUtCustomTrayIcon&) { ++restored; };
  owner.show();
  EXPECT_TRUE(tray.shown);

  UserCloses();
  EXPECT_TRUE(owner.isHidden()) << "hidden, not closed";
  EXPECT_TRUE(tray.shown);
  tray.Mouse(TrayMouse::LeftDouble);
  EXPECT_TRUE(owner.isVisible());
  EXPECT_EQ(desktop.Calls("front:"), QStringList{"front:Owner"});

  owner.showMinimized();
  QCoreApplication::sendPostedEvents(icon, QEvent::MetaCall);
  EXPECT_EQ(minimised, 1);
  EXPECT_TRUE(owner.isHidden());
  icon->Restore();
  EXPECT_TRUE(owner.isVisible());
  EXPECT_FALSE(owner.isMinimized());
  EXPECT_EQ(restored, 2);

  icon->CloseOwner();
  EXPECT_TRUE(owner.isHidden()) << "the program's own close still closes";
  owner.show();
  QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
  QCoreApplication::sendPostedEvents(QCoreApplication::instance(), QEvent::Quit);
  UserCloses();
  EXPECT_TRUE(owner.isHidden()) << "windows closed on the way out close";
}

TEST_F(TrayIconTest, TheBuiltInMenuClosesAndRestores) {
  TUtTrayIcon* icon = MakeIcon();
  owner.show();
  UserCloses();
  FakeMenuTracker menus;
  menus.choose = [](QMenu& menu) { FakeMenuTracker::Find(menu, "&Restore")->trigger(); };
  tray.Mouse(TrayMouse::RightDown);
  EXPECT_EQ(menus.entries, (QStringList{"&Close", "&Restore"}));
  EXPECT_TRUE(owner.isVisible());
  EXPECT_EQ(icon->BuiltInMenu()->PopupComponent(), &owner);

  menus.choose = [](QMenu& menu) { FakeMenuTracker::Find(menu, "&Close")->trigger(); };
  tray.Mouse(TrayMouse::RightDown);
  QCoreApplication::sendPostedEvents(QCoreApplication::instance(), QEvent::Quit);
  EXPECT_EQ(quit.quits, 1);

  icon->SetPopupMenu(nullptr);
  tray.Mouse(TrayMouse::RightDown);
  EXPECT_EQ(menus.shown, 2) << "no menu, nothing shown";
}

TEST_F(TrayIconTest, ClicksAndDoubleClicks) {
  TUtTrayIcon* icon = MakeIcon();
  QStringList clicks;
  icon->OnClick = [&](TUtCustomTrayIcon&, Qt::MouseButton button, Qt::KeyboardModifiers shift) {
    clicks << QStringLiteral("%1/%2").arg(button).arg(shift);
  };
  bool restore = false;
  icon->OnDblClick = [&](TUtCustomTrayIcon&, Qt::MouseButton, Qt::KeyboardModifiers, bool& restoreApp) {
    restoreApp = restore;
  };
  tray.Mouse(TrayMouse::LeftDown, Qt::ShiftModifier);
  tray.Mouse(TrayMouse::MiddleDown);
  tray.Mouse(TrayMouse::LeftUp);
  EXPECT_EQ(clicks, (QStringList{QStringLiteral("%1/%2").arg(Qt::LeftButton).arg(Qt::ShiftModifier),
                                 QStringLiteral("%1/0").arg(Qt::MiddleButton)}));
  tray.Mouse(TrayMouse::RightDouble);
  EXPECT_TRUE(owner.isHidden()) << "the handler kept the window where it is";
  restore = true;
  tray.Mouse(TrayMouse::MiddleDouble);
  EXPECT_TRUE(owner.isVisible());
}

TEST_F(TrayIconTest, TheTipIsCutTo63Characters) {
  TUtTrayIcon* icon = MakeIcon();
  const QString hint = QString(80, QChar('x'));
  icon->SetHint(hint);
  EXPECT_EQ(tray.current.tip, hint.left(63));
  EXPECT_EQ(icon->Hint(), hint);
  icon->SetHint(QString(62, QChar('y')) + QString::fromUtf8("\xF0\x9F\x98\x80"));
  EXPECT_EQ(tray.current.tip, QString(62, QChar('y'))) << "a character is not cut in half";
  icon->SetShowHint(false);
  EXPECT_FALSE(tray.current.showTip);
}

TEST_F(TrayIconTest, WithoutANotificationAreaTheOwnerIsUnaffected) {
  tray.available = false;
  TUtTrayIcon* icon = MakeIcon();
  icon->SetMinimizeToTray(true);
  EXPECT_FALSE(icon->Active());
  owner.show();
  owner.showMinimized();
  QCoreApplication::sendPostedEvents(icon, QEvent::MetaCall);
  EXPECT_TRUE(owner.isVisible());
  UserCloses();
  EXPECT_TRUE(owner.isHidden());
  EXPECT_TRUE(tray.log.isEmpty());
}

TEST_F(TrayIconTest, AWindowThatStartsMinimisedLeavesOnlyTheIcon) {
  TUtTrayIcon* icon = MakeIcon();
  icon->SetMinimizeToTray(true);
  owner.showMinimized();
  QCoreApplication::sendPostedEvents(icon, QEvent::MetaCall);
  EXPECT_TRUE(owner.isHidden());
  icon->Restore();
  EXPECT_TRUE(owner.isVisible());
  EXPECT_FALSE(owner.isMinimized()) << "the first restore brings the window back normal";
}

TEST_F(TrayIconTest, Errors) {
  TUtTrayIcon* icon = MakeIcon();
  try {
    TUtTrayIcon second(&owner);
    FAIL();
  } catch (const EShTrayIconError& error) {
    EXPECT_EQ(error.Id(), ShMsg::OneTrayIconOnly);
    EXPECT_EQ(error.Message(), "Cannot have more than one UtTrayIcon per application");
  }
  EXPECT_THROW(icon->SetImageIndex(1), EShTrayIconError) << "no images";
  tray.modifyResult = false;
  EXPECT_THROW(icon->SetIcon(QIcon()), EShTrayIconError);
  icon->SetActive(false);
  EXPECT_FALSE(tray.shown);
  tray.addResult = false;
  try {
    icon->SetActive(true);
    FAIL();
  } catch (const EShTrayIconError& error) {
    EXPECT_EQ(error.Message(), "Error adding tray icon");
  }
  EXPECT_FALSE(icon->Shown());

  // Refused while going to the tray: reported, and the window stays.
  owner.show();
  UserCloses();
  EXPECT_TRUE(owner.isVisible());
  EXPECT_EQ(desktop.Calls("message:"), QStringList{"message:Application Error|Error adding tray icon"});
}

QIcon Frame(Qt::GlobalColor color) {
  QPixmap pixmap(16, 16);
  pixmap.fill(color);
  return QIcon(pixmap);
}

TEST_F(TrayIconTest, AnimationCyclesThroughTheImages) {
  TUtTrayIcon* icon = MakeIcon();
  const QList<QIcon> frames{Frame(Qt::red), Frame(Qt::green), Frame(Qt::blue)};
  icon->SetImages(frames);
  EXPECT_EQ(tray.current.icon.cacheKey(), frames[0].cacheKey()) << "the icon comes from the images";
  icon->SetInterval(0);
  EXPECT_EQ(icon->Interval(), 200);
  icon->SetAnimate(true);
  EXPECT_TRUE(icon->Animating());
  std::vector<qint64> shown;
  for (int tick = 0; tick < 4; ++tick) {
    icon->AnimationTick();
    shown.push_back(tray.current.icon.cacheKey());
  }
  EXPECT_EQ(shown, (std::vector<qint64>{frames[0].cacheKey(), frames[1].cacheKey(), frames[2].cacheKey(),
                                        frames[0].cacheKey()}));
  icon->SetActive(false);
  EXPECT_FALSE(icon->Animating());
  icon->SetActive(true);
  EXPECT_TRUE(icon->Animating()) << "resumed";
  icon->SetImageIndex(2);
  icon->SetAnimate(false);
  EXPECT_EQ(tray.current.icon.cacheKey(), frames[2].cacheKey()) << "back at rest";
}

}  // namespace
