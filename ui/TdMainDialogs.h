#pragma once
// The dialogs the main window opens, one method each. The window never includes a dialog
// itself: the program hands it the real set, tests a fake that answers as scripted. Each
// method edits what it is given in place and returns what the dialog's entry function
// returns (OK pressed, changed, or a count).
#include "core/TdOption.h"

#include <QString>

#include <cstdint>

class QIcon;
class TLazyStringTree;
class TTdTodo;
class TTodoAppHandler;

class TMainDialogs {
public:
  virtual ~TMainDialogs() = default;

  // The task editor, new or existing, editable or view-only; true on OK.
  virtual bool EditTodo(TTodoAppHandler& app, TTdTodo& task, bool isNew, bool editable) = 0;
  // The options dialog on a copy of the options; true on OK.
  virtual bool EditOptions(TTodoAppHandler& app, TTdAppOptions& options) = 0;
  // The filter dialog on a copy of the options; true on OK.
  virtual bool EditFilter(TTodoAppHandler& app, TTdAppOptions& options) = 0;
  // The sort dialog on a copy of the options; true on OK.
  virtual bool EditSort(TTdAppOptions& options) = 0;
  // The lookup list editors: true when something changed; then the default id and both
  // lists hold what is to be written back.
  virtual bool EditCategories(TTodoAppHandler& app, int32_t& defaultId, TIdArray& include, bool stayOnTop,
                              TIdArray& exclude) = 0;
  virtual bool EditResources(TTodoAppHandler& app, int32_t& defaultId, TIdArray& include, bool stayOnTop,
                             TIdArray& exclude) = 0;
  virtual bool EditTypes(TTodoAppHandler& app, int32_t& defaultId, TIdArray& include, bool stayOnTop,
                         TIdArray& exclude) = 0;
  // The archive viewer on the archive file; the number of tasks restored.
  virtual int ViewArchive(const QString& archiveFile, TTodoAppHandler& app, bool stayOnTop) = 0;
  // The print wizard on a copy of the options over the task tree; true unless cancelled.
  // `ignoreTabFilter` is the task list's flag the wizard sets while it prints all tasks.
  virtual bool RunPrintWizard(TTdAppOptions& options, TTodoAppHandler& app, TLazyStringTree& taskTree,
                              bool& ignoreTabFilter) = 0;
  // The backup of the table files into a folder the user picks (the options hold the
  // folder last used).
  virtual void Backup(TTodoAppHandler& app) = 0;
  virtual void ShowAbout(bool stayOnTop, const QIcon& icon) = 0;
};

// Stands in for the dialogs that are not part of the program yet: each says so in a
// message box and changes nothing.
class TNotAvailableDialogs : public TMainDialogs {
public:
  bool EditTodo(TTodoAppHandler&, TTdTodo&, bool, bool) override;
  bool EditOptions(TTodoAppHandler&, TTdAppOptions&) override;
  bool EditFilter(TTodoAppHandler&, TTdAppOptions&) override;
  bool EditSort(TTdAppOptions&) override;
  bool EditCategories(TTodoAppHandler&, int32_t&, TIdArray&, bool, TIdArray&) override;
  bool EditResources(TTodoAppHandler&, int32_t&, TIdArray&, bool, TIdArray&) override;
  bool EditTypes(TTodoAppHandler&, int32_t&, TIdArray&, bool, TIdArray&) override;
  int ViewArchive(const QString&, TTodoAppHandler&, bool) override;
  bool RunPrintWizard(TTdAppOptions&, TTodoAppHandler&, TLazyStringTree&, bool&) override;
  void Backup(TTodoAppHandler&) override;
  void ShowAbout(bool, const QIcon&) override;

private:
  static void Tell(const QString& what);
};
