#include "ui/TdRemDlg.h"

#include "core/BTodo.h"
#include "core/GSapi.h"
#include "platform/ApplicationError.h"
#include "platform/DateTime.h"
#include "platform/Desktop.h"
#include "platform/HelpRequest.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>
#include <memory>

namespace {
// The window's designed measures; a larger font makes it grow, never shrink.
constexpr int kClientWidth = 602;
constexpr int kHeaderHeight = 49;
constexpr int kMargin = 12;
constexpr int kCaptionLeft = 16;
constexpr int kCaptionWidth = 110;
constexpr int kFieldGapBelowHeader = 17;
constexpr int kFieldWidth = 50;
constexpr int kFieldHeight = 23;
constexpr int kUnitGap = 6;
constexpr int kUnitWidth = 50;
constexpr int kGroupGap = 4;
constexpr int kButtonGapBelowFields = 23;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 6;
constexpr int kOkWidth = 120;
constexpr int kButtonWidth = 85;
constexpr int kSnoozeMinutesPerDay = 1440;

// A number field that takes no typing; its arrows (and the arrow keys) still step it.
class TArrowOnlySpinBox : public QSpinBox {
public:
  explicit TArrowOnlySpinBox(QWidget* parent) : QSpinBox(parent) { lineEdit()->setReadOnly(true); }
};

int TextWidth(const QLabel* label) { return label->fontMetrics().horizontalAdvance(label->text()) + 4; }
}  // namespace

TReminderDialog::TReminderDialog(TTdTodoHandler& store, TTdTodo& task, int snoozeMinutes, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      store_(store),
      task_(task),
      snoozeMinutes_(snoozeMinutes) {
  setObjectName(QStringLiteral("ReminderDialog"));
  setWindowTitle(QStringLiteral("Reminder"));

  auto* header = new QFrame(this);
  header->setObjectName(QStringLiteral("HeaderPanel"));
  header->setFrameShape(QFrame::StyledPanel);
  header->setBackgroundRole(QPalette::Base);
  header->setAutoFillBackground(true);
  header_ = header;
  title_ = new QLabel(header);
  title_->setObjectName(QStringLiteral("TitleLabel"));
  QFont titleFont = title_->font();
  titleFont.setBold(true);
  titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
  title_->setFont(titleFont);
  title_->setTextFormat(Qt::PlainText);

  caption_ = new QLabel(QStringLiteral("Next reminder in:"), this);
  days_ = AddField(QStringLiteral("DaysEdit"), 100, QStringLiteral("days"), &daysUnit_);
  hours_ = AddField(QStringLiteral("HoursEdit"), 23, QStringLiteral("hours"), &hoursUnit_);
  minutes_ = AddField(QStringLiteral("MinutesEdit"), 59, QStringLiteral("minutes"), &minutesUnit_);

  ok_ = new QPushButton(QStringLiteral("OK, I've got it"), this);
  ok_->setObjectName(QStringLiteral("OkButton"));
  snooze_ = new QPushButton(QStringLiteral("Snooze"), this);
  snooze_->setObjectName(QStringLiteral("SnoozeButton"));
  help_ = new QPushButton(QStringLiteral("&Help"), this);
  help_->setObjectName(QStringLiteral("HelpButton"));
  connect(ok_, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnOKClick(); }); });
  connect(snooze_, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnSnoozeClick(); }); });
  connect(help_, &QPushButton::clicked, this, [this] { RunGuarded([this] { btnHelpClick(); }); });

  LayOut();
  const QSize screen = Desktop().ScreenSize();
  move((screen.width() - width()) / 2, (screen.height() - height()) / 2);
}

TReminderDialog::~TReminderDialog() = default;

QSpinBox* TReminderDialog::AddField(const QString& name, int maximum, const QString& unit, QLabel** unitLabel) {
  auto* field = new TArrowOnlySpinBox(this);
  field->setObjectName(name);
  field->setRange(0, maximum);
  field->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
  connect(field, &QSpinBox::valueChanged, this, &TReminderDialog::SnoozeFieldChange);
  *unitLabel = new QLabel(unit, this);
  return field;
}

// The designed positions, each width and height taken larger where the font needs it,
// and everything to its right or below moved on by as much.
void TReminderDialog::LayOut() {
  const int headerHeight = std::max(kHeaderHeight, title_->sizeHint().height() + 8);
  const int fieldTop = headerHeight + kFieldGapBelowHeader;
  const int fieldHeight = std::max(kFieldHeight, days_->sizeHint().height());
  const int fieldWidth = std::max(kFieldWidth, days_->sizeHint().width());
  const int labelHeight = std::max(21, caption_->sizeHint().height());
  const int labelTop = fieldTop + (fieldHeight - labelHeight) / 2;

  int x = kCaptionLeft;
  const int captionWidth = std::max(kCaptionWidth, TextWidth(caption_));
  caption_->setGeometry(x, labelTop, captionWidth, labelHeight);
  x += captionWidth + kGroupGap;
  for (const auto& [field, unit] : {std::pair{days_, daysUnit_}, {hours_, hoursUnit_}, {minutes_, minutesUnit_}}) {
    field->setGeometry(x, fieldTop, fieldWidth, fieldHeight);
    x += fieldWidth + kUnitGap;
    const int unitWidth = std::max(kUnitWidth, TextWidth(unit));
    unit->setGeometry(x, labelTop, unitWidth, labelHeight);
    x += unitWidth + kGroupGap;
  }
  const int fieldsRight = x;

  const int buttonTop = fieldTop + fieldHeight + kButtonGapBelowFields;
  const int buttonHeight = std::max(kButtonHeight, ok_->sizeHint().height());
  const int okWidth = std::max(kOkWidth, ok_->sizeHint().width());
  const int snoozeWidth = std::max(kButtonWidth, snooze_->sizeHint().width());
  const int helpWidth = std::max(kButtonWidth, help_->sizeHint().width());
  const int buttonsWidth = okWidth + snoozeWidth + helpWidth + 2 * kButtonGap;

  const int clientWidth = std::max({kClientWidth, fieldsRight + kMargin, buttonsWidth + 2 * kMargin});
  int right = clientWidth - kMargin;
  help_->setGeometry(right - helpWidth, buttonTop, helpWidth, buttonHeight);
  right -= helpWidth + kButtonGap;
  snooze_->setGeometry(right - snoozeWidth, buttonTop, snoozeWidth, buttonHeight);
  right -= snoozeWidth + kButtonGap;
  ok_->setGeometry(right - okWidth, buttonTop, okWidth, buttonHeight);

  header_->setGeometry(0, 0, clientWidth, headerHeight);
  title_->setGeometry(kMargin, 4, clientWidth - 2 * kMargin, headerHeight - 8);
  setFixedSize(clientWidth, buttonTop + buttonHeight + kMargin);
}

void TReminderDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (!shown_) FormShow();
}

void TReminderDialog::paintEvent(QPaintEvent* event) {
  QDialog::paintEvent(event);
  // Started from the event loop, once this painting has reached the screen.
  if (shown_ && !alertScheduled_) {
    alertScheduled_ = true;
    QTimer::singleShot(0, this, &TReminderDialog::StartAlert);
  }
}

void TReminderDialog::FormShow() {
  title_->setText(task_.Title);
  const int m = snoozeMinutes_;
  days_->setValue(m / kSnoozeMinutesPerDay);
  hours_->setValue(m % kSnoozeMinutesPerDay / 60);
  minutes_->setValue(m % 60);
  snooze_->setEnabled(true);
  shown_ = true;
}

void TReminderDialog::StartAlert() {
  alert_ = new TReminderAlert(this);
  alert_->Start(task_.ReminderType, task_.Title, task_.ReminderPath);
  emit alertStarted();
}

void TReminderDialog::SnoozeFieldChange() {
  if (!shown_) return;
  snooze_->setEnabled(SnoozeTotalMinutes() != 0);
}

int TReminderDialog::SnoozeTotalMinutes() const {
  return days_->value() * kSnoozeMinutesPerDay + hours_->value() * 60 + minutes_->value();
}

void TReminderDialog::btnOKClick() {
  task_.SetReminderActivated(false);
  task_.SetReminderAccepted(true);
  store_.SetModified(true);
  accept();
}

void TReminderDialog::btnSnoozeClick() {
  task_.ReminderDateTime = DateTime::Now() + SnoozeTotalMinutes() / static_cast<double>(kSnoozeMinutesPerDay);
  store_.SetModified(true);
  accept();
}

void TReminderDialog::btnHelpClick() { ShowHelpContext(kReminderHelpContext); }

void ShowReminder(TTdTodoHandler& store, TTdTodo& task, int snoozeMinutes) {
  auto dialog = std::make_unique<TReminderDialog>(store, task, snoozeMinutes);
  dialog->setWindowFlag(Qt::WindowStaysOnTopHint, true);
  dialog->exec();
}
