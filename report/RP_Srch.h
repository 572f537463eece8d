#pragma once
// The preview's find-text window: the text, case sensitivity and where to start.
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

class TrpPreviewSearchForm : public QDialog {
  Q_OBJECT

public:
  explicit TrpPreviewSearchForm(QWidget* parent = nullptr);

  QLineEdit* Edit() const { return edit_; }
  QCheckBox* CaseSensitive() const { return caseSensitive_; }
  QRadioButton* FirstPage() const { return firstPage_; }
  QRadioButton* CurrentPage() const { return currentPage_; }

protected:
  void showEvent(QShowEvent* event) override;

private:
  QLineEdit* edit_;
  QCheckBox* caseSensitive_;
  QRadioButton* firstPage_;
  QRadioButton* currentPage_;
};
