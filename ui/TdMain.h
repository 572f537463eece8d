#pragma once
// The main window. For now the frame the application handler needs: the caption, the
// status bar's first panel and the window bounds; it owns the handler for the run,
// saves in its close query and frees the handler (which saves again) when destroyed.
#include "core/TdMainLink.h"

#include <QMainWindow>

#include <memory>

class QLabel;
class TTodoAppHandler;

class TTodoMainForm : public QMainWindow, public TTdMainLink {
  Q_OBJECT

public:
  // Creates the application handler (settings and table files loaded) and applies the
  // stored window bounds. A failed start raises the handler's error.
  explicit TTodoMainForm(QWidget* parent = nullptr);
  ~TTodoMainForm() override;

  TTodoAppHandler& AppHandler() { return *handler_; }

  // Saves everything first. A failed save is shown in the error box and the window
  // stays open, so nothing the user entered is lost; so it does while a reminder window
  // is up (the save follows when the reminder is answered). With ConfirmExit only Yes
  // to "Quit Velmora?" closes.
  void FormCloseQuery(bool& canClose);
  // Frees the application handler, which saves once more.
  void FormDestroy();

  // TTdMainLink
  void TasksAdded(int count) override;
  QString StatusText() const override;
  void SetStatusText(const QString& text) override;
  TWindowBounds WindowBounds() const override;
  int AddTaskImage(const QIcon& icon) override;

protected:
  void closeEvent(QCloseEvent* event) override;

private:
  void ApplyBounds();

  QLabel* statusPanel_ = nullptr;  // first status-bar panel, owned by the status bar
  std::unique_ptr<TTodoAppHandler> handler_;
};

// The main window of a start; when the start fails its error is shown in the error box
// and null returned, since the program cannot go on.
std::unique_ptr<TTodoMainForm> CreateMainForm();
