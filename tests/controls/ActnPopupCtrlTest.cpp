#include "FakeMenuTracker.h"
#include "controls/ActnPopupCtrl.h"
#include "platform/Exception.h"

#include "QtPrinters.h"
#include "support/FakeDesktop.h"

#include <gtest/gtest.h>

namespace {

class PopupActionBarTest : public ::testing::Test {
protected:
  PopupActionBarTest() {
    addAction.setShortcut(QKeySequence(Qt::Key_F4));
    editAction.setEnabled(false);
    QObject::connect(&addAction, &QAction::triggered, [this] { log << "add"; });
    popup.setObjectName("TaskTreePopupMenu");
    popup.SetActionManager(&manager);
  }

  FakeMenuTracker menus;
  TActionManager manager;
  QAction addAction{"Add Task"};
  QAction editAction{"Edit Task"};
  TPopupActionBarEx popup;
  QStringList log;
};

TEST_F(PopupActionBarTest, ShowsTheItemsAsTheirActionsStand) {
  popup.Items().AddAction(&addAction);
  popup.Items().Add("-");
  popup.Items().AddAction(&editAction);
  TMenuItem* about = popup.Items().Add("About");
  about->SetShortCut(QKeySequence(Qt::Key_F1));
  about->OnClick = [this](TMenuItem& sender) { log << "click:" + sender.Caption(); };
  popup.Items().Add("Hidden")->SetVisible(false);
  popup.Items().Add("Off")->SetEnabled(false);
  popup.OnPopup = [this](TPopupMenu&) { log << "popup"; };
  menus.choose = [](QMenu& menu) {
    FakeMenuTracker::Find(menu, "Add Task")->trigger();
    FakeMenuTracker::Find(menu, "About")->trigger();
  };

  popup.Popup(30, 40);
  EXPECT_EQ(menus.entries, (QStringList{"Add Task F4", "-", "Edit Task (off)", "About F1", "Hidden (off) (hidden)", "Off (off)"}));
  EXPECT_EQ(menus.position, QPoint(30, 40));
  EXPECT_EQ(log, (QStringList{"popup", "add", "click:About"}));
  EXPECT_EQ(popup.ShowingPopup(), nullptr) << "the menu lives for one showing";
}

TEST_F(PopupActionBarTest, ASecondPopupWhileShowingIsIgnored) {
  popup.Items().Add("One");
  menus.choose = [this](QMenu&) { popup.Popup(0, 0); };
  popup.Popup(0, 0);
  EXPECT_EQ(menus.shown, 1);
  popup.Popup(0, 0);
  EXPECT_EQ(menus.shown, 2) << "shown again once closed";
}

TEST_F(PopupActionBarTest, SubMenusAreFilledWhenTheyOpen) {
  TMenuItem* recent = popup.Items().Add("Recent");
  recent->Add("placeholder");
  int opened = 0;
  recent->OnClick = [&](TMenuItem& sender) {
    ++opened;
    sender.Clear();
    sender.Add("first.tbl");
    sender.Add("second.tbl")->OnClick = [this](TMenuItem& item) { log << "open:" + item.Caption(); };
  };
  QStringList subEntries;
  menus.choose = [&](QMenu& menu) {
    QMenu* sub = FakeMenuTracker::Find(menu, "Recent")->menu();
    EXPECT_TRUE(sub->actions().isEmpty()) << "filled only when it opens";
    emit sub->aboutToShow();
    emit sub->aboutToShow();
    subEntries = FakeMenuTracker::Entries(*sub);
    FakeMenuTracker::Find(*sub, "second.tbl")->trigger();
  };
  popup.Popup(0, 0);
  EXPECT_EQ(menus.entries, QStringList{"Recent >"});
  EXPECT_EQ(opened, 1);
  EXPECT_EQ(subEntries, (QStringList{"first.tbl", "second.tbl"}));
  EXPECT_EQ(log, QStringList{"open:second.tbl"});
}

TEST_F(PopupActionBarTest, AFailingClickIsShownAndReportedAsNotRun) {
  FakeDesktop desktop;
  TMenuItem& failing = *popup.Items().Add("Fails");
  failing.OnClick = [](TMenuItem&) { throw Exception(QStringLiteral("cannot do that")); };
  TMenuItem& gone = *popup.Items().Add("Gone");
  gone.OnClick = [this](TMenuItem&) { log << "gone ran"; };
  menus.choose = [&](QMenu& menu) {
    auto* fails = static_cast<TMenuAction*>(FakeMenuTracker::Find(menu, "Fails"));
    EXPECT_FALSE(fails->Execute());
    fails->trigger();  // through the signal: nothing escapes
    auto* stale = static_cast<TMenuAction*>(FakeMenuTracker::Find(menu, "Gone"));
    popup.Items().Clear();
    EXPECT_FALSE(stale->Execute()) << "its item is gone";
  };
  popup.Popup(0, 0);
  EXPECT_EQ(desktop.Log(), (QStringList{"message:Application Error|cannot do that",
                                        "message:Application Error|cannot do that"}));
  EXPECT_TRUE(log.isEmpty());
}

TEST_F(PopupActionBarTest, LooksFollowTheStyleColourMapAndShadows) {
  popup.Items().Add("One");
  QColor selected;
  bool shadow = true;
  menus.choose = [&](QMenu& menu) {
    selected = menu.palette().color(QPalette::Highlight);
    shadow = static_cast<TActionPopupMenu&>(menu).Shadow();
  };
  manager.SetStyle(FindActionBarStyle("XP Style"));
  popup.Popup(0, 0);
  EXPECT_EQ(selected, TXPColorMap().SelectedColor);
  EXPECT_TRUE(shadow);

  auto colors = std::make_unique<TXPColorMap>();
  colors->SelectedColor = Qt::red;
  popup.SetColorMap(colors.get());
  popup.SetShadows(false);
  popup.Popup(0, 0);
  EXPECT_EQ(selected, QColor(Qt::red));
  EXPECT_FALSE(shadow);

  colors.reset();
  EXPECT_EQ(popup.ColorMap(), nullptr) << "a freed colour map is let go";
}

class StyleWithoutMenus : public TActionBarStyle {
public:
  QString Name() const override { return "Bare"; }
  std::unique_ptr<TActionPopupMenu> CreatePopupMenu() const override { return nullptr; }
  std::unique_ptr<TCustomActionBarColorMap> CreateColorMap() const override {
    return std::make_unique<TStandardColorMap>();
  }
};

TEST_F(PopupActionBarTest, AStyleWithoutMenusRaisesTheManagerError) {
  StyleWithoutMenus bare;
  manager.SetStyle(&bare);
  popup.Items().Add("One");
  try {
    popup.Popup(0, 0);
    FAIL();
  } catch (const Exception& error) {
    EXPECT_EQ(error.Message(), "TaskTreePopupMenu ActionManager property has not been assigned");
  }
  EXPECT_EQ(popup.ShowingPopup(), nullptr);
  EXPECT_EQ(menus.shown, 0);
}

}  // namespace
