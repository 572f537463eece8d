#pragma once
// The engine's windows on Qt Widgets: the progress window, the hidden parent of
// dialog-page controls, the input box and message boxes of the scripts' INPUT and
// MESSAGEBOX (through the desktop, so tests answer them).
#include "report/engine/RP_Context.h"
#include "report/engine/RP_Host.h"

class TrpQtWindows : public TrpWindows {
public:
  std::unique_ptr<TrpProgressView> CreateProgressWindow() override;
  std::unique_ptr<QObject> CreateDialogForm() override;
  std::unique_ptr<TrpDialogPageForm> CreateDialogPageForm() override;
  // Renders the widget into a bitmap of its size filled with the window face, drawn at
  // rect's top left.
  void PaintControl(QObject& control, QPainter& canvas, const QRect& rect) override;
  QString InputBox(const QString& caption, const QString& prompt, const QString& defaultText) override;
  int MessageBox(const QString& text, const QString& caption, int flags) override;
};

// Puts the Qt windows (and the standalone preview window) in the engine's context for
// its lifetime: globals made before are made afresh on their next use, and those made
// with the windows are freed when the scope ends (so its owner ends it while the
// application object still stands).
class TrpQtWindowsScope {
public:
  TrpQtWindowsScope();
  ~TrpQtWindowsScope();
  TrpQtWindowsScope(const TrpQtWindowsScope&) = delete;
  TrpQtWindowsScope& operator=(const TrpQtWindowsScope&) = delete;

private:
  TrpQtWindows windows_;
  TrpContextScope scope_;
};
