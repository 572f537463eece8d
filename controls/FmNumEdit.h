#pragma once
// An edit that holds a number: typing is limited to what a number may contain, the text
// shows the value through a display format, and the value is kept within Min..Max when
// the edit is left and whenever it is read.
#include "controls/FmEdit.h"
#include "controls/FmNumFormat.h"

#include <cmath>
#include <optional>

class TFmNumericEdit : public TFmCustomEdit {
  Q_OBJECT

public:
  explicit TFmNumericEdit(QWidget* parent = nullptr);

  // The value in range: an empty text first shows Min; text that is no number reads as
  // Min (with a beep).
  double Value();
  // Rewrites the text only when it does not already read as `value`.
  void SetValue(double value);
  int AsInteger() { return static_cast<int>(std::nearbyint(Value())); }
  void SetAsInteger(int value) { SetValue(value); }
  double Min() const { return min_; }
  void SetMin(double min);
  double Max() const { return max_; }
  void SetMax(double max);
  bool CheckRange() const { return checkRange_; }
  void SetCheckRange(bool on) { checkRange_ = on; }
  bool IntegersOnly() const { return integersOnly_; }
  void SetIntegersOnly(bool on);
  QString DisplayFormat() const { return displayFormat_; }
  void SetDisplayFormat(const QString& format);
  // Whether leaving the edit last time changed its value.
  bool ValueChangedOnExit() const { return changedOnExit_; }

  QSize sizeHint() const override { return {65, 21}; }

protected:
  virtual bool IsValidChar(QChar key) const;
  virtual QString FormatValue(double value) const;
  // The text's value; none (after a beep) when it is no number.
  virtual std::optional<double> ParseText() const;
  // The value brought into Min..Max when a range is set (Min differs from Max, or
  // CheckRange is on).
  virtual double ClampValue(double value) const;

  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

private:
  TNumSeparators Separators() const;

  double min_ = 0;
  double max_ = 0;
  bool checkRange_ = false;
  bool integersOnly_ = true;
  QString displayFormat_ = QStringLiteral(",0;(,0)");
  double value_ = 0;
  bool changedOnExit_ = false;
};
