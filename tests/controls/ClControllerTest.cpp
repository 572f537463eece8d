#include "controls/clctrl.h"
#include "controls/clmisc.h"
#include "controls/clnbk.h"

#include <QCoreApplication>
#include <QFocusEvent>
#include <QLineEdit>
#include "QtPrinters.h"

#include <gtest/gtest.h>

namespace {

TEST(ClController, EpochTakesOnlyYearsFrom1600To3999) {
  TClController controller;
  EXPECT_EQ(controller.Epoch(), DefaultEpoch());
  for (const int ignored : {1599, 4000, -1}) {
    controller.SetEpoch(ignored);
    EXPECT_EQ(controller.Epoch(), DefaultEpoch()) << ignored;
  }
  controller.SetEpoch(1600);
  EXPECT_EQ(controller.Epoch(), 1600);
  controller.OnGetEpoch = [](TClController&, int& epoch) { epoch = 1950; };
  EXPECT_EQ(controller.Epoch(), 1950);
}

TEST(ClController, SpecialControlsAndTimerTriggersGoThroughItsEvents) {
  TClController controller;
  QLineEdit edit;
  EXPECT_FALSE(controller.IsSpecialControl(&edit));
  controller.OnIsSpecialControl = [&](TClController&, QWidget* control, bool& special) { special = control == &edit; };
  EXPECT_TRUE(controller.IsSpecialControl(&edit));

  uint32_t now = 0;
  controller.TimerPool().SetClock([&] { return now; });
  int triggered = 0;
  controller.OnTimerTrigger = [&](TClController&, int, int interval, int32_t) { triggered = interval; };
  controller.TimerPool().Add({}, 100);
  now = 100;
  controller.TimerPool().Tick();
  EXPECT_EQ(triggered, 100);
}

TEST(ClController, ControlsTakeTheFormsControllerElseTheDefault) {
  EXPECT_EQ(&DefaultController(), &DefaultController());
  EXPECT_EQ(DefaultController().parent(), QCoreApplication::instance()) << "freed with the application";

  QWidget plainForm;
  auto* plain = new TClNotebook(&plainForm);
  plainForm.show();
  EXPECT_EQ(&plain->Controller(), &DefaultController());

  QWidget form;
  auto* placed = new TClController(&form);
  auto* notebook = new TClNotebook(&form);
  form.show();
  EXPECT_EQ(notebook->OwnController(), placed);

  delete placed;
  EXPECT_EQ(notebook->OwnController(), nullptr) << "a freed controller is dropped";
  EXPECT_EQ(&notebook->Controller(), &DefaultController());

  QWidget later;
  auto* waiting = new TClNotebook(&later);
  auto* inserted = new TClController(&later);
  EXPECT_EQ(waiting->OwnController(), inserted) << "placed while the control had none";
  waiting->SetController(&later);
  EXPECT_EQ(waiting->OwnController(), nullptr) << "only a controller is taken";
}

class Gadget : public TClCollectibleControl {
public:
  explicit Gadget(QWidget* owner) : TClCollectibleControl(owner, staticMetaObject) { AnnounceJoined(); }
};

TEST(ClCollection, ItemsJoinTheirOwnersCollectionOrFail) {
  QWidget plain;
  try {
    Gadget gadget(&plain);
    FAIL();
  } catch (const EClException& error) {
    EXPECT_EQ(error.MessageId(), 30242);
  }
  TClCustomControl bare;
  EXPECT_THROW(Gadget{&bare}, EClException);
  TClNotebook notebook;
  try {
    Gadget gadget(&notebook);
    FAIL();
  } catch (const EClException& error) {
    EXPECT_EQ(error.Message(), "No collection found for this type");
  }
  EXPECT_EQ(notebook.CountPages(), 0);
}

TEST(ClCollection, OwnsItsItemsAndHearsOfEveryChange) {
  TClCustomControl owner;
  int changes = 0;
  QPointer<TClCollectibleControl> first, second;
  {
    TClCollection collection(owner, TClCollectibleControl::staticMetaObject, [&] { ++changes; });
    first = new Gadget(&owner);
    second = new Gadget(&owner);
    EXPECT_EQ(changes, 2);
    EXPECT_EQ(second->Index(), 1);
    delete first.data();
    EXPECT_EQ(collection.Count(), 1);
    EXPECT_EQ(second->Index(), 0);
    EXPECT_EQ(changes, 3);
  }
  EXPECT_TRUE(second.isNull()) << "freed with the collection";
  EXPECT_TRUE(owner.Collections().empty());
}

TEST(ClCustomControl, AttachedLabelFollowsItsControl) {
  QWidget form;
  auto* control = new TClCustomControl(&form);
  control->setObjectName("Amount");
  control->setGeometry(50, 40, 80, 20);
  form.show();
  control->LabelInfo().SetVisible(true);
  TClAttachedLabel* label = control->LabelInfo().Label();
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->objectName(), "AmountLabel1");
  EXPECT_EQ(label->pos(), QPoint(50, 24));
  control->move(60, 70);
  QCoreApplication::sendPostedEvents(control);
  EXPECT_EQ(label->pos(), QPoint(60, 54));
  EXPECT_EQ(&label->Control(), control);
  control->LabelInfo().SetVisible(false);
  EXPECT_EQ(control->LabelInfo().Label(), nullptr);
}

TEST(ClCustomControl, FocusNoticesArriveAfterTheFocusSettled) {
  QWidget form;
  auto* control = new TClCustomControl(&form);
  control->setFocusPolicy(Qt::StrongFocus);
  form.show();
  QStringList notices;
  control->AfterEnter = [&](TClCustomControl&) { notices << "enter"; };
  control->AfterExit = [&](TClCustomControl&) { notices << "exit"; };
  QFocusEvent in(QEvent::FocusIn);
  QCoreApplication::sendEvent(control, &in);
  EXPECT_TRUE(notices.isEmpty());
  QCoreApplication::sendPostedEvents(control);
  QFocusEvent out(QEvent::FocusOut);
  QCoreApplication::sendEvent(control, &out);
  QCoreApplication::sendPostedEvents(control);
  EXPECT_EQ(notices, (QStringList{"enter", "exit"}));
}

}  // namespace
