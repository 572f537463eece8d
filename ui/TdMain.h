#pragma once
// The main window. For now the frame the application handler needs: the caption, the
// status bar's first panel and the window bounds. It is given the handler for the run,
// saves in its close query and, when destroyed, leaves its bounds in the options for the
// handler's last save.
#include "core/TdApp.h"
#include "core/TdMainLink.h"

#include <QMainWindow>

#include <memory>

class QLabel;

class TTodoMainForm : public QMainWindow, public TTdMainLink {
  Q_OBJECT

public:
  // Reports to `handler` from now on and applies the stored window bounds. The handler
  // must outlive the window.
  explicit TTodoMainForm(TTodoAppHandler& handler, QWidget* parent = nullptr);
  ~TTodoMainForm() override;

  TTodoAppHandler& AppHandler() { return handler_; }

  // Saves everything first. A failed save is shown in the error box and the window
  // stays open, so nothing the user entered is lost; so it does while a reminder window
  // is up (the save follows when the reminder is answered). With ConfirmExit only Yes
  // to "Quit Velmora?" closes.
  void FormCloseQuery(bool& canClose);
  // Leaves the window's bounds in the options and stops reporting to the handler.
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
  TTodoAppHandler& handler_;
  bool destroyed_ = false;
};

// Whether windows on the named display platform can learn where they are. Wayland keeps
// window positions to itself; there the stored position is kept as it was.
bool PlatformReportsWindowPositions(const QString& platformName);

// The application handler of a start (settings and table files loaded); when the start
// fails its error is shown in the error box and null returned, since the program cannot
// go on.
std::unique_ptr<TTodoAppHandler> CreateAppHandler(const TTodoAppTimings& timings = {});
