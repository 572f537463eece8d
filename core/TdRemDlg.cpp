#include "core/TdRemDlg.h"

#include "core/BTodo.h"
#include "core/GSapi.h"
#include "platform/DateTime.h"
#include "platform/Desktop.h"
#include "platform/HelpRequest.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include <memory>

namespace {
constexpr int kClientWidth = 602;
constexpr int kClientHeight = 149;
constexpr int kFieldTop = 66;
constexpr int kMinutesPerDay = 1440;

// A number field that takes no typing; its arrows (and the arrow keys) still step it.
class TArrowOnlySpinBox : public QSpinBox {
public:
  explicit TArrowOnlySpinBox(QWidget* parent) : QSpinBox(parent) { lineEdit()->setReadOnly(true); }
};
}  // namespace

TReminderDialog::TReminderDialog(TTdTodoHandler& store, TTdTodo& task, int snoozeMinutes, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      store_(store),
      task_(task),
      snoozeMinutes_(snoozeMinutes) {
  setObjectName(QStringLiteral("ReminderDialog"));
  setWindowTitle(QStringLiteral("Reminder"));
  setFixedSize(kClientWidth, kClientHeight);

  auto* header = new QFrame(this);
  header->setObjectName(QStringLiteral("HeaderPanel"));
  header->setGeometry(0, 0, kClientWidth, 49);
  header->setFrameShape(QFrame::StyledPanel);
  header->setBackgroundRole(QPalette::Base);
  header->setAutoFillBackground(true);
  title_ = new QLabel(header);
  title_->setObjectName(QStringLiteral("TitleLabel"));
  title_->setGeometry(12, 4, kClientWidth - 24, 41);
  QFont titleFont = title_->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
  title_->setFont(titleFont);
  title_->setTextFormat(Qt::PlainText);

  auto* caption = new QLabel(QStringLiteral("Next reminder in:"), this);
  caption->setGeometry(16, kFieldTop + 2, 110, 21);
  days_ = AddField(QStringLiteral("DaysEdit"), 100, QStringLiteral("days"), 130);
  hours_ = AddField(QStringLiteral("HoursEdit"), 23, QStringLiteral("hours"), 240);
  minutes_ = AddField(QStringLiteral("MinutesEdit"), 59, QStringLiteral("minutes"), 350);

  ok_ = new QPushButton(QStringLiteral("OK, I've got it"), this);
  ok_->setObjectName(QStringLiteral("OkButton"));
  ok_->setGeometry(288, 112, 120, 25);
  snooze_ = new QPushButton(QStringLiteral("Snooze"), this);
  snooze_->setObjectName(QStringLiteral("SnoozeButton"));
  snooze_->setGeometry(414, 112, 85, 25);
  help_ = new QPushButton(QStringLiteral("&Help"), this);
  help_->setObjectName(QStringLiteral("HelpButton"));
  help_->setGeometry(505, 112, 85, 25);
  connect(ok_, &QPushButton::clicked, this, &TReminderDialog::btnOKClick);
  connect(snooze_, &QPushButton::clicked, this, &TReminderDialog::btnSnoozeClick);
  connect(help_, &QPushButton::clicked, this, &TReminderDialog::btnHelpClick);

  const QSize screen = Desktop().ScreenSize();
  move((screen.width() - kClientWidth) / 2, (screen.height() - kClientHeight) / 2);
}

QSpinBox* TReminderDialog::AddField(const QString& name, int maximum, const QString& unit, int left) {
  auto* field = new TArrowOnlySpinBox(this);
  field->setObjectName(name);
  field->setRange(0, maximum);
  field->setGeometry(left, kFieldTop, 50, 23);
  field->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  connect(field, &QSpinBox::valueChanged, this, &TReminderDialog::SnoozeFieldChange);
  auto* label = new QLabel(unit, this);
  label->setGeometry(left + 56, kFieldTop + 2, 50, 21);
  return field;
}

void TReminderDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!shown_) FormShow();
}

void TReminderDialog::FormShow() {
  title_->setText(task_.Title);
  const int m = snoozeMinutes_;
  days_->setValue(m / kMinutesPerDay);
  hours_->setValue(m % kMinutesPerDay / 60);
  minutes_->setValue(m % 60);
  snooze_->setEnabled(true);
  PlayReminder(task_.ReminderType, task_.Title, task_.ReminderPath);
  shown_ = true;
}

void TReminderDialog::SnoozeFieldChange() {
  if (!shown_) return;
  snooze_->setEnabled(SnoozeTotalMinutes() != 0);
}

int TReminderDialog::SnoozeTotalMinutes() const {
  return days_->value() * kMinutesPerDay + hours_->value() * 60 + minutes_->value();
}

void TReminderDialog::btnOKClick() {
  task_.SetReminderActivated(false);
  task_.SetReminderAccepted(true);
  store_.SetModified(true);
  accept();
}

void TReminderDialog::btnSnoozeClick() {
  task_.ReminderDateTime = DateTime::Now() + SnoozeTotalMinutes() / static_cast<double>(kMinutesPerDay);
  store_.SetModified(true);
  accept();
}

void TReminderDialog::btnHelpClick() { ShowHelpContext(kReminderHelpContext); }

void ShowReminder(TTdTodoHandler& store, TTdTodo& task, int snoozeMinutes) {
  auto dialog = std::make_unique<TReminderDialog>(store, task, snoozeMinutes);
  dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  dialog->exec();
}
