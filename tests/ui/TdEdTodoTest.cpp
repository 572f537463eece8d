// The task editor on the screen, driven with keys and clicks as a user would.
#include "core/TodoTestSupport.h"

#include "TaskImagesForTests.h"
#include "controls/FmNumEdit.h"
#include "controls/clnbk.h"
#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BType.h"
#include "core/TdOption.h"
#include "support/FakeDesktop.h"
#include "ui/TdEdTodo.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>
#include <QTimer>

using DateTime::EncodeDateTime;

namespace {

class EditTodoDialogTest : public ::testing::Test {
protected:
  const TDateTime now = EncodeDateTime(2024, 3, 10, 12, 0);
  ClockPin clock{now};
  FormatPin formats;
  FakeDesktop desktop;
  FakeVoicePin voice;
  std::unique_ptr<TLTImageList> images = MakeTestTaskImages();
  TTdCategoryHandler categories{QStringLiteral("/nowhere/cat.tbl")};
  TTdResourceHandler resources{QStringLiteral("/nowhere/res.tbl")};
  TTdTypeHandler types{QStringLiteral("/nowhere/type.tbl")};
  TTdAppOptions options;
  TTdTodo task;

  void SetUp() override {
    categories.Load();
    resources.Load();
    types.Load();
    for (auto [name, image] : {std::pair{"Home", 6}, {"Work", 7}}) {
      TTdCategory* c = categories.AddCategory();
      c->Name = QLatin1String(name);
      c->ImageIndex = image;
    }
    resources.AddResource()->Name = QStringLiteral("Anna");
    TTdAppOptionsHandler defaults(QStringLiteral("/nowhere/pendra.ini"));
    defaults.SetDefaultOptions();
    options = defaults.Options();

    task.ID = 12;
    task.Title = QStringLiteral("Pay rent");
    task.Notes = QStringLiteral("before the 15th");
    task.Category = 2;
    task.Resource = 1;
    task.Priority = 3;
    task.Status = tsOpen;
    task.Type = 2;
    task.Percent = 20;
    task.Created = EncodeDateTime(2024, 3, 1, 9, 0);
    task.Due = EncodeDateTime(2024, 3, 15, 9, 30);
    task.ReminderType = 1;
    task.ReminderDateTime = EncodeDateTime(2024, 3, 14, 9, 30);
    task.SetReminderActivated(true);
    task.RecurFirstDate = EncodeDateTime(2024, 3, 1, 8, 0);
    task.RecurLastDate = EncodeDateTime(2024, 12, 31, 8, 0);
  }

  TEditTodoSources Sources() { return {categories, resources, types, options, *images}; }

  std::unique_ptr<TEditTodoDialog> Open(bool isNew = false, bool editable = true) {
    auto dialog = std::make_unique<TEditTodoDialog>(task, Sources(), isNew, editable);
    dialog->show();
    dialog->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    return dialog;
  }

  template <typename W = QWidget>
  static W* Child(const QDialog& d, const char* name) {
    W* w = d.findChild<W*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
  }
  static void Click(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, Qt::NoModifier, QPoint(8, w->height() / 2)); }
  static QStringList TabCaptions(const QDialog& d) {
    QStringList captions;
    auto* notebook = Child<TClNotebook>(d, "Notebook");
    for (int i = 0; i < notebook->CountPages(); ++i) captions << notebook->PageAt(i)->Caption();
    return captions;
  }
  static void ClickTab(const QDialog& d, const QString& caption) {
    auto* notebook = Child<TClNotebook>(d, "Notebook");
    for (int i = 0; i < notebook->CountPages(); ++i) {
      if (notebook->PageAt(i)->Caption() != caption) continue;
      QTest::mouseClick(notebook, Qt::LeftButton, Qt::NoModifier, notebook->PageAt(i)->TabRect().center());
      ASSERT_EQ(notebook->PageIndex(), i) << caption.toStdString();
      return;
    }
    ADD_FAILURE() << "no page " << caption.toStdString();
  }
  // Every control a user could change: what a read-only dialog must lock.
  static QList<QWidget*> Inputs(const QDialog& d) {
    QList<QWidget*> inputs;
    for (QWidget* w : d.findChildren<QWidget*>()) {
      if (w->objectName().isEmpty() || w->objectName().endsWith("Button")) continue;
      if (qobject_cast<QComboBox*>(w) || qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
          qobject_cast<QAbstractSpinBox*>(w))
        inputs << w;
    }
    return inputs;
  }
};

}  // namespace

TEST_F(EditTodoDialogTest, CaptionsAndGroupTextByMode) {
  const struct {
    bool isNew, editable;
    int id;
    const char* caption;
    const char* ok;
    bool cancel;
    const char* group;
  } modes[] = {{true, true, 0, "New Task", "OK", true, " Information "},
               {false, true, 12, "Edit Task", "OK", true, " Information #12 "},
               {false, false, 12, "View Task", "&Close", false, " Information #12 "}};
  for (const auto& m : modes) {
    task.ID = m.id;
    auto dialog = Open(m.isNew, m.editable);
    EXPECT_EQ(dialog->windowTitle(), m.caption);
    EXPECT_EQ(Child<QPushButton>(*dialog, "OkButton")->text(), m.ok);
    EXPECT_EQ(Child<QPushButton>(*dialog, "CancelButton")->isVisible(), m.cancel) << m.caption;
    EXPECT_TRUE(Child<QPushButton>(*dialog, "HelpButton")->isVisible());
    EXPECT_EQ(Child<QGroupBox>(*dialog, "pnlInfo")->title(), m.group);
    EXPECT_EQ(Child<QLabel>(*dialog, "lblCreated")->text(), "01.03.2024 09:00");
    EXPECT_EQ(Child<QLabel>(*dialog, "lblCompleted")->text(), "-");
    EXPECT_EQ(Child<QLabel>(*dialog, "lblRecurring")->text(), "-");
    EXPECT_EQ(TabCaptions(*dialog), QStringList({"General", "Reminder", "Link", "Recurring"}));
  }
}

TEST_F(EditTodoDialogTest, FillsTheFieldsFromTheTask) {
  auto dialog = Open();
  EXPECT_EQ(Child<QLineEdit>(*dialog, "txtHeader")->text(), "Pay rent");
  EXPECT_TRUE(Child<QLineEdit>(*dialog, "txtHeader")->hasFocus());
  EXPECT_EQ(Child<QPlainTextEdit>(*dialog, "meNotes")->toPlainText(), "before the 15th");
  auto* category = Child<QComboBox>(*dialog, "cmbCategory");
  EXPECT_EQ(category->currentText(), "Work");
  EXPECT_EQ(CentreColor(category->itemIcon(2)), TestImageColor(7));
  EXPECT_EQ(Child<QComboBox>(*dialog, "cmbResource")->currentText(), "Anna");
  EXPECT_EQ(Child<QComboBox>(*dialog, "cmbType")->currentText(), "Mail");
  EXPECT_EQ(CentreColor(Child<QComboBox>(*dialog, "cmbType")->itemIcon(2)), TestImageColor(36));
  EXPECT_EQ(Child<QComboBox>(*dialog, "cmbPriority")->currentText(), "High");
  auto* status = Child<QComboBox>(*dialog, "cmbStatus");
  EXPECT_EQ(status->currentText(), "Open");
  EXPECT_EQ(CentreColor(status->itemIcon(1)), TestImageColor(29));
  EXPECT_EQ(Child<QComboBox>(*dialog, "cmbPercent")->count(), 21);
  EXPECT_EQ(Child<QComboBox>(*dialog, "cmbPercent")->currentText(), "20");
  EXPECT_EQ(Child<QDateEdit>(*dialog, "dtpDueDate")->date(), QDate(2024, 3, 15));
  EXPECT_EQ(Child<QTimeEdit>(*dialog, "dtpDueTime")->time(), QTime(9, 30));
  EXPECT_TRUE(Child<QCheckBox>(*dialog, "chkUseReminder")->isChecked());
  EXPECT_TRUE(Child<QCheckBox>(*dialog, "chkBeep")->isChecked());
  EXPECT_FALSE(Child<QCheckBox>(*dialog, "chkSound")->isChecked());
  EXPECT_FALSE(Child<QRadioButton>(*dialog, "rbWeekly")->isChecked());
  EXPECT_TRUE(Child<QRadioButton>(*dialog, "rbDaily")->isChecked());
  EXPECT_FALSE(Child<QGroupBox>(*dialog, "grpSettings")->isEnabled()) << "no template";
}

TEST_F(EditTodoDialogTest, TypeATitleAndConfirmWithTheMouse) {
  task = TTdTodo();
  auto dialog = Open(true);
  auto* title = Child<QLineEdit>(*dialog, "txtHeader");
  auto* ok = Child<QPushButton>(*dialog, "OkButton");
  EXPECT_FALSE(ok->isEnabled()) << "no title, no OK";
  QTest::keyClicks(title, "water the plants");
  EXPECT_TRUE(ok->isEnabled());
  QTest::keyClick(title, Qt::Key_Tab);
  EXPECT_EQ(title->text(), "Water the plants") << "capitalised on leaving";
  QTest::keyClicks(Child<QPlainTextEdit>(*dialog, "meNotes"), "on the balcony");
  EXPECT_EQ(task.Title, "") << "nothing written before OK";
  QTest::mouseClick(ok, Qt::LeftButton);
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_EQ(task.Title, "Water the plants");
  EXPECT_EQ(task.Notes, "On the balcony");
}

TEST_F(EditTodoDialogTest, PickADateSwitchPagesAndMakeATemplate) {
  auto dialog = Open();
  auto* due = Child<QDateEdit>(*dialog, "dtpDueDate");
  due->setFocus();
  QTest::keyClick(due, Qt::Key_Up);  // the day section steps
  EXPECT_EQ(due->date(), QDate(2024, 3, 16));

  ClickTab(*dialog, "Reminder");
  Click(Child<QCheckBox>(*dialog, "chkSpeech"));
  ClickTab(*dialog, "Recurring");
  Click(Child<QCheckBox>(*dialog, "chkTemplate"));
  EXPECT_TRUE(Child<QGroupBox>(*dialog, "grpSettings")->isEnabled());
  EXPECT_FALSE(Child<QCheckBox>(*dialog, "chkWeekday1")->isEnabled()) << "daily has no weekdays";
  Click(Child<QRadioButton>(*dialog, "rbWeekly"));
  EXPECT_TRUE(Child<QCheckBox>(*dialog, "chkWeekday1")->isEnabled());
  EXPECT_FALSE(Child<QCheckBox>(*dialog, "chkDay1")->isEnabled());
  Click(Child<QCheckBox>(*dialog, "chkWeekday1"));
  Click(Child<QCheckBox>(*dialog, "chkWeekday7"));
  auto* interval = Child<TFmNumericEdit>(*dialog, "edWeeklyInterval");
  interval->setFocus();
  interval->selectAll();
  QTest::keyClicks(interval, "2");
  QTest::keyClick(Child<QPushButton>(*dialog, "OkButton"), Qt::Key_Space);

  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_EQ(task.Due, EncodeDateTime(2024, 3, 16, 9, 30));
  EXPECT_EQ(task.ReminderType, 4) << "beep and speech";
  EXPECT_TRUE(task.IsTemplate());
  EXPECT_EQ(task.RecurKind, 1);
  EXPECT_EQ(task.RecurDayMask, 65);
  EXPECT_EQ(task.RecurInterval, 2);
}

TEST_F(EditTodoDialogTest, StatusAndPercentFollowEachOther) {
  auto dialog = Open();
  auto* status = Child<QComboBox>(*dialog, "cmbStatus");
  auto* percent = Child<QComboBox>(*dialog, "cmbPercent");
  auto* completed = Child<QLabel>(*dialog, "lblCompleted");
  status->setFocus();
  QTest::keyClick(status, Qt::Key_End);
  EXPECT_EQ(status->currentText(), "OK");
  EXPECT_EQ(percent->currentText(), "100");
  EXPECT_EQ(completed->text(), "10.03.2024 12:00");
  EXPECT_FALSE(percent->isEnabled());
  QTest::keyClick(status, Qt::Key_Home);
  EXPECT_EQ(status->currentText(), "Created");
  EXPECT_EQ(percent->currentText(), "0");
  EXPECT_EQ(completed->text(), "-");
  EXPECT_TRUE(percent->isEnabled());

  percent->setFocus();
  QTest::keyClick(percent, Qt::Key_Down);
  EXPECT_EQ(percent->currentText(), "5");
  EXPECT_EQ(status->currentText(), "Open");
  clock.Set(now + 1.0 / 24);
  QTest::keyClick(percent, Qt::Key_End);
  EXPECT_EQ(status->currentText(), "OK");
  EXPECT_EQ(completed->text(), "10.03.2024 13:00");
  Click(Child<QPushButton>(*dialog, "OkButton"));
  EXPECT_EQ(task.Status, tsOK);
  EXPECT_EQ(task.Percent, 100);
  EXPECT_EQ(task.Completed, now + 1.0 / 24) << "closing through 100 completes the task";
}

TEST_F(EditTodoDialogTest, AReminderWithoutAUsableTypeGoesOff) {
  auto dialog = Open();
  ClickTab(*dialog, "Reminder");
  auto* use = Child<QCheckBox>(*dialog, "chkUseReminder");
  auto* test = Child<QPushButton>(*dialog, "btnTest");
  EXPECT_TRUE(test->isEnabled());
  Click(Child<QCheckBox>(*dialog, "chkBeep"));
  EXPECT_FALSE(use->isChecked()) << "no type left";
  EXPECT_FALSE(test->isEnabled());
  EXPECT_FALSE(Child<QDateEdit>(*dialog, "dtpReminderDate")->isEnabled());
  Click(Child<QCheckBox>(*dialog, "chkSound"));
  Click(use);
  EXPECT_FALSE(use->isChecked()) << "a sound needs its file";
  auto* file = Child<QLineEdit>(*dialog, "txtSoundFile");
  ASSERT_TRUE(file->isEnabled()) << "the file can still be given";
  QTest::keyClicks(file, "/s/gong.wav");
  Click(use);
  EXPECT_TRUE(use->isChecked());
  EXPECT_TRUE(Child<QPushButton>(*dialog, "btnPlaySound")->isEnabled());

  Click(test);
  Click(Child<QPushButton>(*dialog, "btnPlaySound"));
  EXPECT_EQ(desktop.Calls("sound:"), QStringList({"sound:/s/gong.wav"})) << "the test plays the chosen type";
  EXPECT_EQ(desktop.Calls("open:"), QStringList({"open:/s/gong.wav"}));
  Click(Child<QPushButton>(*dialog, "OkButton"));
  EXPECT_EQ(task.ReminderType, 2);
  EXPECT_EQ(task.ReminderPath, "/s/gong.wav");
  EXPECT_TRUE(task.ReminderActivated());
}

TEST_F(EditTodoDialogTest, TheLinkIsBrowsedAndOpened) {
  auto dialog = Open();
  ClickTab(*dialog, "Link");
  auto* run = Child<QPushButton>(*dialog, "btnRunLink");
  EXPECT_FALSE(run->isEnabled());
  desktop.fileAnswers.push_back(QStringLiteral("/docs/plan.odt"));
  Click(Child<QPushButton>(*dialog, "btnBrowseLink"));
  ASSERT_EQ(desktop.fileRequests.size(), 1u);
  EXPECT_EQ(desktop.fileRequests[0].filter, "All files (*)");
  EXPECT_EQ(Child<QLineEdit>(*dialog, "txtLink")->text(), "/docs/plan.odt");
  desktop.openResult = false;
  Click(run);
  EXPECT_EQ(desktop.Calls("open:").size(), 1);
  EXPECT_EQ(desktop.Log().back(), "beep") << "nothing opened";
  Click(Child<QPushButton>(*dialog, "btnBrowseLink"));
  EXPECT_EQ(desktop.fileRequests[1].fileName, "/docs/plan.odt") << "opens at the current text";
  EXPECT_EQ(Child<QLineEdit>(*dialog, "txtLink")->text(), "/docs/plan.odt") << "a cancel keeps it";
}

TEST_F(EditTodoDialogTest, AFailedTemplateCheckKeepsTheDialogOpenAndTheTaskAsItWas) {
  struct Case {
    const char* kind;
    bool lastBeforeFirst;
    const char* message;
  };
  for (const Case& c : {Case{"rbWeekly", false, "You must select one or more weekdays"},
                        Case{"rbMonthly", false, "You must select one or more days"},
                        Case{"rbDaily", true, "Last valid date cannot be earlier than the first date"}}) {
    const TTdTodo before = task;
    desktop.Clear();
    auto dialog = Open();
    QTest::keyClicks(Child<QLineEdit>(*dialog, "txtHeader"), " soon");
    ClickTab(*dialog, "Recurring");
    Click(Child<QCheckBox>(*dialog, "chkTemplate"));
    Click(Child<QRadioButton>(*dialog, c.kind));
    if (c.lastBeforeFirst) Child<QDateEdit>(*dialog, "dtpLastDate")->setDate(QDate(2024, 2, 29));
    Click(Child<QPushButton>(*dialog, "OkButton"));
    EXPECT_EQ(desktop.Calls("message:"), QStringList({"message:" + QCoreApplication::applicationName() + "|" + c.message})) << c.kind;
    EXPECT_TRUE(dialog->isVisible());
    ExpectSameTask(task, before);
    Click(Child<QPushButton>(*dialog, "CancelButton"));
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    ExpectSameTask(task, before);
  }
}

TEST_F(EditTodoDialogTest, ViewOnlyLocksEverythingAndWritesNothing) {
  task.SetIsTemplate(true);
  task.Association = QStringLiteral("/docs/plan.odt");
  const TTdTodo before = task;
  auto dialog = Open(false, false);
  for (QWidget* input : Inputs(*dialog)) EXPECT_FALSE(input->isEnabled()) << input->objectName().toStdString();
  auto* notes = Child<QPlainTextEdit>(*dialog, "meNotes");
  EXPECT_TRUE(notes->isReadOnly());
  QTest::keyClicks(notes, "more");
  EXPECT_EQ(notes->toPlainText(), "before the 15th");
  ClickTab(*dialog, "Recurring");
  EXPECT_FALSE(Child<QCheckBox>(*dialog, "chkTemplate")->isEnabled());
  Click(Child<QPushButton>(*dialog, "OkButton"));
  EXPECT_EQ(dialog->result(), QDialog::Accepted) << "Close ends it like OK";
  ExpectSameTask(task, before);
}

TEST_F(EditTodoDialogTest, ATaskFromATemplateCannotBecomeOne) {
  task.SetFromTemplate(true);
  auto dialog = Open();
  EXPECT_EQ(Child<QLabel>(*dialog, "lblRecurring")->text(), "Created from template");
  EXPECT_FALSE(Child<QCheckBox>(*dialog, "chkTemplate")->isEnabled());
}

TEST_F(EditTodoDialogTest, TheOptionsRemovePagesAndHideFields) {
  struct Case {
    bool reminder, association, due;
    QStringList pages;
  };
  for (const Case& c : {Case{false, true, true, {"General", "Link", "Recurring"}},
                        Case{false, false, true, {"General", "Recurring"}},
                        Case{true, false, false, {"General", "Reminder"}},
                        Case{false, false, false, {"General"}}}) {
    options.UseDTReminder = c.reminder;
    options.UseAssociation = c.association;
    options.UseDTDue = c.due;
    auto dialog = Open();
    EXPECT_EQ(TabCaptions(*dialog), c.pages);
  }
  options.UseNotes = options.UseCategory = options.UsePercent = options.UseDTDueTime = false;
  options.UseDTDue = true;
  auto dialog = Open();
  EXPECT_FALSE(Child(*dialog, "meNotes")->isVisible());
  EXPECT_FALSE(Child(*dialog, "cmbCategory")->isVisible());
  EXPECT_FALSE(Child(*dialog, "cmbPercent")->isVisible());
  EXPECT_FALSE(Child(*dialog, "dtpDueTime")->isVisible());
  EXPECT_TRUE(Child(*dialog, "dtpDueDate")->isVisible());
  EXPECT_LT(Child(*dialog, "cmbPriority")->mapTo(dialog.get(), QPoint()).x(), 40) << "moved into the gap";
}

TEST_F(EditTodoDialogTest, TheHeightFollowsTheOptionsAndGrowsWithTheFont) {
  struct Case {
    bool due, percent, notes, flagged;
    int height;
  };
  // Without due dates every field switched off makes the dialog shorter; with them the
  // Recurring page needs the room.
  const int full = TEditTodoDialog::kDesignedHeight;
  for (const Case& c : {Case{false, true, true, true, full}, Case{false, false, true, true, full - 60},
                        Case{false, true, false, true, full - 60}, Case{false, true, true, false, full - 40},
                        Case{false, false, false, false, full - 160}}) {
    options.UseDTDue = c.due;
    options.UsePercent = c.percent;
    options.UseNotes = c.notes;
    options.UseFlagged = c.flagged;
    auto dialog = Open();
    EXPECT_EQ(dialog->height(), c.height) << c.percent << c.notes << c.flagged;
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << "a dialog border: no resizing";
  }
  options.UseDTDue = true;
  options.UsePercent = options.UseNotes = options.UseFlagged = false;
  EXPECT_GE(Open()->height(), full);

  const QFont saved = QApplication::font();
  QFont big = saved;
  big.setPointSizeF(saved.pointSizeF() * 2);
  QApplication::setFont(big);
  options.UseDTDue = options.UsePercent = options.UseNotes = options.UseFlagged = true;
  auto dialog = Open();
  QApplication::setFont(saved);
  EXPECT_GT(dialog->width(), TEditTodoDialog::kDesignedWidth);
  EXPECT_GT(dialog->height(), TEditTodoDialog::kDesignedHeight);
  for (const char* name : {"txtHeader", "cmbStatus", "cmbPercent", "OkButton", "HelpButton"}) {
    QWidget* w = Child(*dialog, name);
    EXPECT_TRUE(dialog->rect().contains(QRect(w->mapTo(dialog.get(), QPoint()), w->size()))) << name;
    EXPECT_GE(w->width(), w->minimumSizeHint().width()) << name;
  }
}

TEST_F(EditTodoDialogTest, HelpAsksForTheTopicOfThePageShown) {
  QList<int> asked;
  const HelpPin help([&](int context) { asked << context; });
  auto dialog = Open();
  Click(Child<QPushButton>(*dialog, "HelpButton"));
  ClickTab(*dialog, "Link");
  Click(Child<QPushButton>(*dialog, "HelpButton"));
  ClickTab(*dialog, "Recurring");
  Click(Child<QPushButton>(*dialog, "HelpButton"));
  EXPECT_EQ(asked, QList<int>({46, 62, 63}));
  EXPECT_TRUE(dialog->isVisible());
}

TEST_F(EditTodoDialogTest, ShowEditTodoDialogRunsModallyAndTellsHowItEnded) {
  options.AlwaysOnTop = true;
  struct Case {
    const char* button;
    bool result;
  };
  for (const Case& c : {Case{"OkButton", true}, Case{"CancelButton", false}}) {
    bool topmost = false;
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<TEditTodoDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      topmost = dialog->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
      dialog->findChild<QPushButton*>(QLatin1String(c.button))->click();
    });
    EXPECT_EQ(ShowEditTodoDialog(task, Sources(), false, true), c.result) << c.button;
    EXPECT_TRUE(topmost);
  }
  EXPECT_EQ(desktop.WaitDepth(), 0);
  EXPECT_EQ(desktop.Calls("wait:on").size(), 2);
}
