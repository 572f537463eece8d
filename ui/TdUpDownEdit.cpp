#include "ui/TdUpDownEdit.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

TUpDownEdit::TUpDownEdit(int minimum, int maximum, QWidget* parent)
    : QWidget(parent), minimum_(minimum), maximum_(maximum), edit_(new QLineEdit(this)) {
  auto* row = new QHBoxLayout(this);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(1);
  edit_->setAlignment(Qt::AlignRight);
  FitWidth();
  row->addWidget(edit_, 1);
  auto* arrows = new QVBoxLayout;
  arrows->setSpacing(0);
  up_ = new QToolButton(this);
  up_->setArrowType(Qt::UpArrow);
  down_ = new QToolButton(this);
  down_->setArrowType(Qt::DownArrow);
  for (QToolButton* b : {up_, down_}) {
    b->setFocusPolicy(Qt::NoFocus);
    b->setAutoRepeat(true);
    b->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    b->setFixedWidth(16);
    arrows->addWidget(b);
  }
  row->addLayout(arrows);
  setFocusProxy(edit_);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
  edit_->installEventFilter(this);
  connect(up_, &QToolButton::clicked, this, [this] { Step(1); });
  connect(down_, &QToolButton::clicked, this, [this] { Step(-1); });
  connect(edit_, &QLineEdit::textChanged, this, [this] {
    SetMarked(false);
    emit changed();
  });
  SetValue(minimum);
}

void TUpDownEdit::FitWidth() {
  // As wide as the longest number it takes, and a little more, in the font it shows.
  const int digits = static_cast<int>(std::max(QString::number(minimum_).size(), QString::number(maximum_).size()));
  edit_->setFixedWidth(edit_->fontMetrics().horizontalAdvance(QString(digits + 1, QLatin1Char('0'))) + 14);
}

void TUpDownEdit::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange) FitWidth();
}

void TUpDownEdit::SetValue(int value) { edit_->setText(QString::number(std::clamp(value, minimum_, maximum_))); }

QString TUpDownEdit::Text() const { return edit_->text(); }

void TUpDownEdit::SetMarked(bool marked) {
  if (marked == marked_) return;
  marked_ = marked;
  // The field's own colours when it is fine; a light red ground while it holds no number.
  edit_->setStyleSheet(marked ? QStringLiteral("QLineEdit { background: #ffd0d0; }") : QString());
}

void TUpDownEdit::Step(int steps) {
  const std::optional<int> value = ParseFieldNumber(Text(), std::numeric_limits<int>::min() / 2,
                                                    std::numeric_limits<int>::max() / 2);
  SetValue(value ? *value + steps : minimum_);
}

bool TUpDownEdit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
      Step(key == Qt::Key_Up ? 1 : -1);
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}
