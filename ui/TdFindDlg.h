#pragma once
// The find dialog of the main window: a text and a Find Next button, searching down
// only (no match-case, whole-word or direction choices). It stays open beside the
// window; each Find Next calls OnFind.
#include <QDialog>

#include <functional>

class QLineEdit;
class QPushButton;

class TTdFindDialog : public QDialog {
  Q_OBJECT

public:
  explicit TTdFindDialog(QWidget* parent = nullptr);

  QString FindText() const;
  QLineEdit* FindEdit() const { return edit_; }
  QPushButton* FindButton() const { return findButton_; }

  std::function<void()> OnFind;

private:
  QLineEdit* edit_;
  QPushButton* findButton_;
};
