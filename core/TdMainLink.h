#pragma once
// What the application handler needs of the main window. The main window implements it;
// the handler works without one (tests, benchmarks), then as if there were no window.
#include <QString>

#include <cstdint>

class QIcon;

// A window's left, top, width and height, as kept in the settings file.
struct TWindowBounds {
  int32_t Left = 0;
  int32_t Top = 0;
  int32_t Width = 0;
  int32_t Height = 0;
};

class TTdMainLink {
public:
  virtual ~TTdMainLink() = default;

  // A reminder pass (or another path) appended `count` tasks to the store: the task tree
  // grows by as many nodes and is refreshed.
  virtual void TasksAdded(int count) = 0;
  // The text of the status bar's first panel.
  virtual QString StatusText() const = 0;
  virtual void SetStatusText(const QString& text) = 0;
  virtual TWindowBounds WindowBounds() const = 0;
  // Appends the icon to the task tree's image list; its index there, or -1 when it
  // could not be added.
  virtual int AddTaskImage(const QIcon& icon) = 0;
};
