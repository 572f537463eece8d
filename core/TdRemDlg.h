#pragma once
// The reminder window: shows a due task, plays its alert and lets the user acknowledge
// the reminder or snooze it for a chosen time.
#include <QDialog>

class QLabel;
class QPushButton;
class QSpinBox;
class TTdTodo;
class TTdTodoHandler;

constexpr int kReminderHelpContext = 22;

class TReminderDialog : public QDialog {
  Q_OBJECT

public:
  TReminderDialog(TTdTodoHandler& store, TTdTodo& task, int snoozeMinutes, QWidget* parent = nullptr);

  // Set once the window has been filled and its alert played.
  bool Shown() const { return shown_; }

  // Fills the title and the snooze fields and plays the alert; runs at the first showing.
  void FormShow();
  // "OK, I've got it": the reminder is switched off as acknowledged.
  void btnOKClick();
  // The reminder fires again after the time in the fields.
  void btnSnoozeClick();
  void btnHelpClick();
  // Snooze is offered only for a time that is not zero.
  void SnoozeFieldChange();

protected:
  void showEvent(QShowEvent* event) override;

private:
  QSpinBox* AddField(const QString& name, int maximum, const QString& unit, int left);
  int SnoozeTotalMinutes() const;

  TTdTodoHandler& store_;
  TTdTodo& task_;
  int snoozeMinutes_;
  bool shown_ = false;

  QLabel* title_ = nullptr;
  QSpinBox* days_ = nullptr;
  QSpinBox* hours_ = nullptr;
  QSpinBox* minutes_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* snooze_ = nullptr;
  QPushButton* help_ = nullptr;
};

// Shows the reminder window for the task, topmost and modal, and frees it afterwards.
void ShowReminder(TTdTodoHandler& store, TTdTodo& task, int snoozeMinutes);
