#pragma once
// The program's help: its own pages, compiled in, shown in a small window with back,
// forward and contents. One window serves every request.
#include <QWidget>

class QTextBrowser;
class QToolButton;

class TTdHelpWindow : public QWidget {
  Q_OBJECT

public:
  explicit TTdHelpWindow(QWidget* parent = nullptr);

  // Opens the page of the help context (0: the contents).
  void ShowContext(int context);
  QTextBrowser* Browser() const { return browser_; }
  QToolButton* BackButton() const { return back_; }
  QToolButton* ForwardButton() const { return forward_; }
  QToolButton* ContentsButton() const { return contents_; }

private:
  QTextBrowser* browser_;
  QToolButton* back_;
  QToolButton* forward_;
  QToolButton* contents_;
};

// The help window of the program, made at the first request and brought forward with
// the context's page; the program's context hands its help requests here.
void ShowHelpWindow(int context);
// Closes the help window, if one was made (the program's end).
void CloseHelpWindow();
