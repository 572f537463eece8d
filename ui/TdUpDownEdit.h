#pragma once
// A whole-number field with an up-down pair beside it. Unlike a spin box it keeps what
// the user typed, number or not, so the dialog can name a field that holds no number
// instead of quietly putting a value back.
#include "ui/TdOptModel.h"

#include <QWidget>

#include <optional>

class QLineEdit;
class QToolButton;

class TUpDownEdit : public QWidget {
  Q_OBJECT

public:
  explicit TUpDownEdit(int minimum, int maximum, QWidget* parent = nullptr);

  int Minimum() const { return minimum_; }
  int Maximum() const { return maximum_; }
  // The number typed, when it is one within Minimum..Maximum.
  std::optional<int> Value() const { return ParseFieldNumber(Text(), minimum_, maximum_); }
  void SetValue(int value);
  QString Text() const;
  QLineEdit* Edit() const { return edit_; }
  // Marks the field as holding no valid number (until it is changed).
  void SetMarked(bool marked);
  bool Marked() const { return marked_; }
  // One up or down from the number shown, kept in range; a field without a number starts
  // from Minimum.
  void Step(int steps);

signals:
  void changed();

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  void FitWidth();

  int minimum_;
  int maximum_;
  bool marked_ = false;
  QLineEdit* edit_;
  QToolButton* up_;
  QToolButton* down_;
};
