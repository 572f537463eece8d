#include "support/ContextPins.h"
#include "core/TodoTestSupport.h"

#include "ui/TdRemDlg.h"
#include "core/TdReminders.h"
#include "platform/HelpRequest.h"
#include "support/FakeDesktop.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QSignalSpy>
#include <QStyleOptionSpinBox>
#include <QTest>
#include <QTimer>

using DateTime::EncodeDateTime;

namespace {

class ReminderDialogTest : public ::testing::Test {
protected:
  const TDateTime now = EncodeDateTime(2024, 3, 10, 12, 0);
  ClockPin clock{now};
  FakeDesktop desktop;
  FakeVoicePin voice;
  TTdTodoHandler store{"/x/todo.tbl"};
  TTdTodo& task = *store.Todos().Add();

  void SetUp() override {
    task.ID = 7;
    task.Title = QStringLiteral("Call the dentist");
    task.Status = tsOpen;
    task.ReminderType = 7;
    task.ReminderPath = QStringLiteral("/s/ding.wav");
    task.SetReminderActivated(true);
    task.ReminderDateTime = now - 1.0 / 1440;
    task.SetReminderGiven(true);
  }

  static QSpinBox* Field(const QDialog& d, const char* name) { return d.findChild<QSpinBox*>(name); }
  static QPushButton* Button(const QDialog& d, const char* name) { return d.findChild<QPushButton*>(name); }
  static QList<int> Fields(const QDialog& d) {
    return {Field(d, "DaysEdit")->value(), Field(d, "HoursEdit")->value(), Field(d, "MinutesEdit")->value()};
  }
  // Shows the window and runs the event loop until its alert has started.
  static void ShowAndAlert(TReminderDialog& dialog) {
    QSignalSpy started(&dialog, &TReminderDialog::alertStarted);
    dialog.show();
    if (dialog.Alert() == nullptr) {
      ASSERT_TRUE(started.wait(30000)) << "the alert never started";
    }
  }
};

// Writes the window's paintings into the desktop's log, between its sounds.
class PaintNotes : public QObject {
public:
  PaintNotes(QWidget& window, FakeDesktop& desktop) : desktop_(desktop) { window.installEventFilter(this); }
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) desktop_.Note(QStringLiteral("paint"));
    return false;
  }

private:
  FakeDesktop& desktop_;
};

}  // namespace

TEST_F(ReminderDialogTest, LayoutAndCaptions) {
  TReminderDialog dialog(store, task, 60);
  EXPECT_EQ(dialog.windowTitle(), "Reminder");
  EXPECT_GE(dialog.width(), 602);
  EXPECT_GE(dialog.height(), 149);
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize()) << "a dialog border: no resizing";
  EXPECT_EQ(dialog.pos(), QPoint((1024 - dialog.width()) / 2, (768 - dialog.height()) / 2))
      << "centred on the screen";
  EXPECT_EQ(Button(dialog, "OkButton")->text(), "OK, I've got it");
  EXPECT_EQ(Button(dialog, "SnoozeButton")->text(), "Snooze");
  EXPECT_EQ(Button(dialog, "HelpButton")->text(), "&Help");
  QStringList labels;
  for (const QLabel* l : dialog.findChildren<QLabel*>()) labels << l->text();
  for (const char* text : {"Next reminder in:", "days", "hours", "minutes"}) EXPECT_TRUE(labels.contains(text)) << text;
  const struct {
    const char* name;
    int maximum;
  } ranges[] = {{"DaysEdit", 100}, {"HoursEdit", 23}, {"MinutesEdit", 59}};
  for (const auto& r : ranges) {
    EXPECT_EQ(Field(dialog, r.name)->minimum(), 0) << r.name;
    EXPECT_EQ(Field(dialog, r.name)->maximum(), r.maximum) << r.name;
  }
}

TEST_F(ReminderDialogTest, ShowingFillsTheFieldsAndPlaysTheReminderOnce) {
  struct Case {
    int snooze;
    QList<int> fields;
  };
  for (const Case& c : {Case{60, {0, 1, 0}}, Case{1500, {1, 1, 0}}, Case{0, {0, 0, 0}}, Case{59, {0, 0, 59}},
                        Case{2 * 1440 + 23 * 60 + 59, {2, 23, 59}}, Case{200 * 1440 + 5, {100, 0, 5}}}) {
    desktop.Clear();
    TReminderDialog dialog(store, task, c.snooze);
    EXPECT_TRUE(desktop.Log().isEmpty()) << "nothing plays before the window shows";
    ShowAndAlert(dialog);
    EXPECT_TRUE(dialog.Shown());
    EXPECT_EQ(Fields(dialog), c.fields) << c.snooze;
    EXPECT_TRUE(Button(dialog, "SnoozeButton")->isEnabled()) << "enabled at first, even for 0";
    EXPECT_EQ(dialog.findChild<QLabel*>("TitleLabel")->text(), "Call the dentist");
    EXPECT_EQ(desktop.Log(), QStringList({"beep", "sound:/s/ding.wav"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.Alert()->Finished(); }, 30000));
    dialog.hide();
    dialog.show();
    QTest::qWait(0);
    EXPECT_EQ(desktop.Log().size(), 2) << "played only when first shown";
  }
  EXPECT_EQ(voice.Spoken().size(), 6);
  EXPECT_EQ(voice.Spoken().front(), "Call the dentist");
  EXPECT_FALSE(store.Modified()) << "showing changes nothing";
}

TEST_F(ReminderDialogTest, FieldsTakeNoTypingButTheArrowsStepThem) {
  TReminderDialog dialog(store, task, 60);
  dialog.show();
  QSpinBox* hours = Field(dialog, "HoursEdit");
  hours->setFocus();
  hours->selectAll();
  QTest::keyClicks(hours, "5");
  EXPECT_EQ(hours->value(), 1) << "typing is refused";
  QTest::keyClick(hours, Qt::Key_Up);
  EXPECT_EQ(hours->value(), 2);

  QStyleOptionSpinBox option;
  option.initFrom(hours);
  option.subControls = QStyle::SC_SpinBoxUp | QStyle::SC_SpinBoxDown | QStyle::SC_SpinBoxFrame;
  option.stepEnabled = QAbstractSpinBox::StepUpEnabled | QAbstractSpinBox::StepDownEnabled;
  option.buttonSymbols = QAbstractSpinBox::UpDownArrows;
  const QRect down = hours->style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxDown, hours);
  QTest::mouseClick(hours, Qt::LeftButton, Qt::NoModifier, down.center());
  EXPECT_EQ(hours->value(), 1) << "the down arrow";
}

TEST_F(ReminderDialogTest, SnoozeIsOfferedOnlyForATimeAboveZero) {
  TReminderDialog dialog(store, task, 0);
  dialog.show();
  QPushButton* snooze = Button(dialog, "SnoozeButton");
  Field(dialog, "MinutesEdit")->stepUp();
  EXPECT_TRUE(snooze->isEnabled());
  Field(dialog, "MinutesEdit")->stepDown();
  EXPECT_FALSE(snooze->isEnabled());
  Field(dialog, "DaysEdit")->setValue(3);
  EXPECT_TRUE(snooze->isEnabled());
  Field(dialog, "HoursEdit")->setValue(4);
  Field(dialog, "DaysEdit")->setValue(0);
  EXPECT_TRUE(snooze->isEnabled()) << "hours alone are enough";
  Field(dialog, "HoursEdit")->setValue(0);
  EXPECT_FALSE(snooze->isEnabled());
}

TEST_F(ReminderDialogTest, OkAcknowledgesTheReminder) {
  TReminderDialog dialog(store, task, 60);
  dialog.show();
  Button(dialog, "OkButton")->click();
  EXPECT_FALSE(dialog.isVisible());
  EXPECT_FALSE(task.ReminderActivated());
  EXPECT_TRUE(task.ReminderAccepted());
  EXPECT_TRUE(task.ReminderGiven());
  EXPECT_EQ(task.ReminderDateTime, now - 1.0 / 1440) << "the time stays";
  EXPECT_TRUE(store.Modified());
}

TEST_F(ReminderDialogTest, SnoozeMovesTheReminderOn) {
  struct Case {
    int days, hours, minutes;
  };
  for (const Case& c : {Case{1, 2, 3}, Case{0, 0, 0}, Case{100, 23, 59}}) {
    TReminderDialog dialog(store, task, 0);
    dialog.show();
    Field(dialog, "DaysEdit")->setValue(c.days);
    Field(dialog, "HoursEdit")->setValue(c.hours);
    Field(dialog, "MinutesEdit")->setValue(c.minutes);
    store.SetModified(false);
    Button(dialog, "SnoozeButton")->click();
    EXPECT_FALSE(dialog.isVisible());
    const int total = (c.days * 24 + c.hours) * 60 + c.minutes;
    EXPECT_NEAR((task.ReminderDateTime - now) * 1440, total, 1e-6) << total;
    EXPECT_TRUE(task.ReminderActivated());
    EXPECT_FALSE(task.ReminderAccepted());
    EXPECT_TRUE(store.Modified());
  }
}

TEST_F(ReminderDialogTest, ClosingWithoutAChoiceChangesNothing) {
  const TTdTodo before = task;
  for (int way = 0; way < 2; ++way) {
    TReminderDialog dialog(store, task, 60);
    dialog.show();
    Field(dialog, "HoursEdit")->setValue(5);
    if (way == 0) {
      dialog.close();
    } else {
      QTest::keyClick(&dialog, Qt::Key_Escape);
    }
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
  }
  ExpectSameTask(task, before);
  EXPECT_FALSE(store.Modified());
}

TEST_F(ReminderDialogTest, TheWindowIsPaintedBeforeItsAlertSounds) {
  TReminderDialog dialog(store, task, 60);
  PaintNotes paints(dialog, desktop);
  ShowAndAlert(dialog);
  const QStringList log = desktop.Log();
  ASSERT_TRUE(log.contains("beep"));
  EXPECT_EQ(log.indexOf("paint"), 0) << log.join(", ").toStdString();
  EXPECT_LT(log.indexOf("paint"), log.indexOf("beep"));
}

TEST_F(ReminderDialogTest, ALargeFontMakesTheWindowGrowInsteadOfClipping) {
  const QFont saved = QApplication::font();
  QFont big = saved;
  big.setPointSizeF(saved.pointSizeF() * 2.5);
  QApplication::setFont(big);
  TReminderDialog dialog(store, task, 60);
  QApplication::setFont(saved);

  EXPECT_GT(dialog.width(), 602);
  EXPECT_GT(dialog.height(), 149);
  const QRect client = dialog.rect();
  QList<QRect> row;
  for (const QLabel* label : dialog.findChildren<QLabel*>()) {
    if (label->objectName() == "TitleLabel") continue;
    EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text())) << label->text().toStdString();
    EXPECT_TRUE(client.contains(label->geometry())) << label->text().toStdString();
    row << label->geometry();
  }
  for (const QPushButton* button : dialog.findChildren<QPushButton*>()) {
    EXPECT_GE(button->width(), button->sizeHint().width()) << button->text().toStdString();
    EXPECT_TRUE(client.contains(button->geometry())) << button->text().toStdString();
  }
  for (const QSpinBox* field : dialog.findChildren<QSpinBox*>()) row << field->geometry();
  for (int i = 0; i < row.size(); ++i)
    for (int j = i + 1; j < row.size(); ++j) EXPECT_FALSE(row[i].intersects(row[j])) << i << " and " << j;
}

TEST_F(ReminderDialogTest, HelpAsksForItsTopic) {
  QList<int> asked;
  const HelpPin help([&](int context) { asked << context; });
  TReminderDialog dialog(store, task, 60);
  dialog.show();
  Button(dialog, "HelpButton")->click();
  EXPECT_EQ(asked, QList<int>({22}));
  EXPECT_TRUE(dialog.isVisible());
}

// ---------------------------------------------------------------------------------------
// The modal window, alone and from the reminder pass

namespace {

// Answers every reminder window that comes up with the given button, and closes any
// window still up after a while so a broken test fails instead of hanging.
class WindowAnswerer {
public:
  explicit WindowAnswerer(const char* button) : button_(button) {
    QObject::connect(&poll_, &QTimer::timeout, [this] { Answer(); });
    poll_.start(20);
    guard_.setSingleShot(true);
    QObject::connect(&guard_, &QTimer::timeout, [] {
      ADD_FAILURE() << "a reminder window was not answered";
      if (QWidget* w = QApplication::activeModalWidget()) w->close();
    });
    guard_.start(10000);
  }

  struct Seen {
    QString title;
    bool topmost;
    bool modal;
  };
  std::vector<Seen> seen;

private:
  void Answer() {
    auto* dialog = qobject_cast<TReminderDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible() || dialog->Alert() == nullptr) return;
    seen.push_back({dialog->findChild<QLabel*>("TitleLabel")->text(),
                    dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint), dialog->isModal()});
    dialog->findChild<QPushButton*>(button_)->click();
  }

  const char* button_;
  QTimer poll_;
  QTimer guard_;
};

int OpenReminderWindows() {
  int count = 0;
  for (QWidget* w : QApplication::topLevelWidgets()) count += qobject_cast<TReminderDialog*>(w) != nullptr;
  return count;
}

}  // namespace

TEST_F(ReminderDialogTest, ShowReminderRunsATopmostModalWindowAndFreesIt) {
  WindowAnswerer answerer("OkButton");
  ShowReminder(store, task, 60);
  ASSERT_EQ(answerer.seen.size(), 1u);
  EXPECT_EQ(answerer.seen[0].title, "Call the dentist");
  EXPECT_TRUE(answerer.seen[0].topmost);
  EXPECT_TRUE(answerer.seen[0].modal);
  EXPECT_TRUE(task.ReminderAccepted());
  EXPECT_EQ(OpenReminderWindows(), 0);
}

TEST_F(ReminderDialogTest, TwoDueTasksGiveTwoWindowsInOnePass) {
  TTdTodo& second = *store.Todos().Add();
  second.Title = QStringLiteral("Feed the cat");
  second.ReminderType = 1;
  second.SetReminderActivated(true);
  second.ReminderDateTime = now - 0.5;
  desktop.Clear();

  WindowAnswerer answerer("SnoozeButton");
  EXPECT_EQ(CheckReminders(store, true, 30, ShowReminder), 2);
  ASSERT_EQ(answerer.seen.size(), 2u);
  EXPECT_EQ(answerer.seen[0].title, "Call the dentist");
  EXPECT_EQ(answerer.seen[1].title, "Feed the cat");
  EXPECT_EQ(desktop.Log(), QStringList({"beep", "sound:/s/ding.wav", "beep"}));
  for (const TTdTodo* t : {&task, &second}) {
    EXPECT_TRUE(t->ReminderGiven());
    EXPECT_NEAR((t->ReminderDateTime - now) * 1440, 30, 1e-6) << "snoozed";
  }
  EXPECT_EQ(CheckReminders(store, true, 30, ShowReminder), 0) << "not due again before the snooze ends";
}
