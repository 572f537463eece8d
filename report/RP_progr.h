#pragma once
// The progress window of a build: two text lines and Cancel. It runs the build inside its
// own modal loop: showing it posts it a private event, and the build starts when that
// event arrives, so the window is up and serves Cancel while the build processes events.
#include "report/engine/RP_Host.h"

#include <QDialog>
#include <exception>

class QLabel;
class QPushButton;

class TrpProgressForm : public QDialog, public TrpProgressView {
  Q_OBJECT

public:
  explicit TrpProgressForm(QWidget* parent = nullptr);

  void SetCaption(const QString& caption) override;
  void SetFirstLine(const QString& text) override;
  void SetSecondLine(const QString& text) override;
  QString FirstLine() const;
  QString SecondLine() const override;
  // Clears the second line, shows the window modally and runs work once it is up. An
  // error of work closes the window and is raised again here. True when closed with OK.
  bool Run(std::function<void()> work) override;
  void Close(bool ok) override;
  bool IsVisible() const override { return isVisible(); }
  void SetVisible(bool visible) override { setVisible(visible); }
  void ProcessEvents() override;

  QPushButton* CancelButton() const { return cancel_; }

protected:
  void customEvent(QEvent* event) override;

private:
  void CancelClicked();

  QLabel* first_;
  QLabel* second_;
  QPushButton* cancel_;
  std::function<void()> work_;
  std::exception_ptr error_;
};
