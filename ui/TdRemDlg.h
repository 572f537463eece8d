#pragma once
// The reminder window: shows a due task, plays its alert once it is on the screen and
// lets the user acknowledge the reminder or snooze it for a chosen time.
#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;
class TReminderAlert;
class TTdTodo;
class TTdTodoHandler;

constexpr int kReminderHelpContext = 22;

class TReminderDialog : public QDialog {
  Q_OBJECT

public:
  TReminderDialog(TTdTodoHandler& store, TTdTodo& task, int snoozeMinutes, QWidget* parent = nullptr);
  ~TReminderDialog() override;

  // Set once the window has been filled at its first showing.
  bool Shown() const { return shown_; }
  // The alert, once the window has been painted for the first time; null before.
  TReminderAlert* Alert() const { return alert_; }

  // Fills the title and the snooze fields; runs at the first showing. The alert follows
  // the first painting, so the user sees what the sound is about.
  void FormShow();
  // "OK, I've got it": the reminder is switched off as acknowledged.
  void btnOKClick();
  // The reminder fires again after the time in the fields.
  void btnSnoozeClick();
  void btnHelpClick();
  // Snooze is offered only for a time that is not zero.
  void SnoozeFieldChange();

signals:
  void alertStarted();

protected:
  void showEvent(QShowEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

private:
  QSpinBox* AddField(const QString& name, int maximum, const QString& unit, QLabel** unitLabel);
  void LayOut();
  void StartAlert();
  int SnoozeTotalMinutes() const;

  TTdTodoHandler& store_;
  TTdTodo& task_;
  int snoozeMinutes_;
  bool shown_ = false;
  bool alertScheduled_ = false;
  TReminderAlert* alert_ = nullptr;  // child of the window

  QWidget* header_ = nullptr;
  QLabel* title_ = nullptr;
  QLabel* caption_ = nullptr;
  QSpinBox* days_ = nullptr;
  QSpinBox* hours_ = nullptr;
  QSpinBox* minutes_ = nullptr;
  QLabel* daysUnit_ = nullptr;
  QLabel* hoursUnit_ = nullptr;
  QLabel* minutesUnit_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* snooze_ = nullptr;
  QPushButton* help_ = nullptr;
};

// Shows the reminder window for the task, topmost and modal, and frees it afterwards.
void ShowReminder(TTdTodoHandler& store, TTdTodo& task, int snoozeMinutes);
