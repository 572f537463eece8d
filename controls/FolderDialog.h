#pragma once
// The folder dialog, as the folder picker sees it. The real one is a QFileDialog in
// folder mode; tests put a fake in its place that plays a user's choice.
#include "controls/ReplaceableService.h"

#include <QPoint>
#include <QSize>
#include <QString>

#include <optional>

class QWidget;

struct FolderDialogRequest {
  QWidget* owner = nullptr;
  QString title;       // text above the folder tree
  QString root;        // folder the tree starts at; empty for the whole file system
  bool statusLine = false;
  bool showFiles = false;
  bool editBox = false;
};

// The dialog while it is open.
class FolderDialogWindow {
public:
  virtual ~FolderDialogWindow() = default;
  virtual void SetCaption(const QString& caption) = 0;
  virtual void SetSelection(const QString& path) = 0;
  virtual void SetStatusText(const QString& text) = 0;
  virtual QSize Size() const = 0;
  virtual void Move(const QPoint& topLeft) = 0;
};

// What the dialog tells while it runs.
class FolderDialogEvents {
public:
  virtual ~FolderDialogEvents() = default;
  virtual void Initialized(FolderDialogWindow& window) = 0;
  // `path` is empty when the selected item is not a folder of the file system.
  virtual void SelectionChanged(const QString& path) = 0;
  virtual void Closed() = 0;
};

// The item the user chose.
struct FolderChoice {
  QString path;  // empty when the item has no place in the file system
  QString displayName;
  int imageIndex = 0;
};

class FolderDialogHost {
public:
  virtual ~FolderDialogHost() = default;
  // Runs the dialog modally; nothing when the user cancelled.
  virtual std::optional<FolderChoice> Run(const FolderDialogRequest& request, FolderDialogEvents& events) = 0;
};

FolderDialogHost& FolderDialogs();
// Puts a host in place of the real folder dialogs for its lifetime (tests).
using FolderDialogsScope = ReplaceableService<FolderDialogHost>::Scope;
