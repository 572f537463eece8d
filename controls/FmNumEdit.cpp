#include "controls/FmNumEdit.h"

#include "platform/Desktop.h"

#include <QDialog>
#include <QLocale>
#include <QKeyEvent>
#include <cmath>

TFmNumericEdit::TFmNumericEdit(QWidget* parent) : TFmCustomEdit(parent) {
  resize(65, 21);
  SetAlignment(Qt::AlignRight);
  setText(FormatValue(0));
}

TNumSeparators TFmNumericEdit::Separators() const {
  const QLocale l = locale();
  const QString group = l.groupSeparator();
  return {l.decimalPoint().at(0), group.isEmpty() ? QLatin1Char(',') : group.at(0)};
}

QString TFmNumericEdit::FormatValue(double value) const { return FormatNumber(value, displayFormat_, Separators()); }

std::optional<double> TFmNumericEdit::ParseText() const {
  const std::optional<double> value = ParseNumericText(text(), Separators().decimal);
  if (!value) Desktop().Beep();
  return value;
}

double TFmNumericEdit::ClampValue(double value) const {
  if (min_ == max_ && !checkRange_) return value;
  if (value < min_) return min_;
  if (value > max_) return max_;
  return value;
}

double TFmNumericEdit::Value() {
  if (text().isEmpty()) setText(FormatValue(min_));
  return ClampValue(ParseText().value_or(min_));
}

void TFmNumericEdit::SetValue(double value) {
  value_ = value;
  if (ParseNumericText(text(), Separators().decimal) != value) setText(FormatValue(value));
}

void TFmNumericEdit::SetMin(double min) {
  min_ = min;
  if (max_ < min_) max_ = min_;
}

void TFmNumericEdit::SetMax(double max) {
  max_ = max;
  if (min_ > max_) min_ = max_;
}

void TFmNumericEdit::SetIntegersOnly(bool on) {
  integersOnly_ = on;
  if (on) SetValue(std::nearbyint(Value()));
}

void TFmNumericEdit::SetDisplayFormat(const QString& format) {
  const double value = Value();
  displayFormat_ = format;
  setText(FormatValue(value));
}

bool TFmNumericEdit::IsValidChar(QChar key) const {
  return AcceptsNumericKey(key, {text(), cursorPosition(), selectionStart() < 0 ? 0 : selectionStart(),
                                 static_cast<int>(selectedText().size()), integersOnly_, Separators().decimal});
}

void TFmNumericEdit::keyPressEvent(QKeyEvent* event) {
  if (HandleTabOnEnter(event)) return;
  const QString typed = event->text();
  if (typed.size() != 1 || IsValidChar(typed.at(0))) {
    TFmCustomEdit::keyPressEvent(event);
    return;
  }
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && qobject_cast<QDialog*>(window()) != nullptr) {
    // In a dialog Enter belongs to the default button; the edit passes it on quietly.
    event->ignore();
    return;
  }
  Desktop().Beep();
  event->accept();
}

void TFmNumericEdit::focusInEvent(QFocusEvent* event) {
  changedOnExit_ = false;
  value_ = ParseText().value_or(0);
  setText(FormatValue(value_));
  TFmCustomEdit::focusInEvent(event);
}

void TFmNumericEdit::focusOutEvent(QFocusEvent* event) {
  const double clamped = ClampValue(ParseText().value_or(min_));
  changedOnExit_ = clamped != value_;
  value_ = clamped;
  setText(FormatValue(value_));
  TFmCustomEdit::focusOutEvent(event);
}
