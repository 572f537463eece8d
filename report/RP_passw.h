#pragma once
// Asks for the password of a protected report; the report compares the text.
#include <QDialog>

class QLineEdit;

class TrpPasswForm : public QDialog {
  Q_OBJECT

public:
  explicit TrpPasswForm(QWidget* parent = nullptr);

  QLineEdit* Edit() const { return edit_; }
  QString Password() const;

protected:
  void showEvent(QShowEvent* event) override;

private:
  QLineEdit* edit_;
};
