#pragma once
// The program's own dialogs behind the main window's dialogs interface: each method opens
// the real dialog with the shared images it draws and the stores it edits.
#include "ui/TdMainDialogs.h"

class TCommonModule;

class TProgramDialogs : public TMainDialogs {
public:
  // The images come from `common`, which must outlive this object.
  explicit TProgramDialogs(TCommonModule& common);

  bool EditTodo(TTodoAppHandler& app, TTdTodo& task, bool isNew, bool editable) override;
  bool EditOptions(TTodoAppHandler& app, TTdAppOptions& options) override;
  bool EditFilter(TTodoAppHandler& app, TTdAppOptions& options) override;
  bool EditSort(TTdAppOptions& options) override;
  bool EditCategories(TTodoAppHandler& app, int32_t& defaultId, TIdArray& include, bool stayOnTop,
                      TIdArray& exclude) override;
  bool EditResources(TTodoAppHandler& app, int32_t& defaultId, TIdArray& include, bool stayOnTop,
                     TIdArray& exclude) override;
  bool EditTypes(TTodoAppHandler& app, int32_t& defaultId, TIdArray& include, bool stayOnTop,
                 TIdArray& exclude) override;
  int ViewArchive(const QString& archiveFile, TTodoAppHandler& app, bool stayOnTop) override;
  bool RunPrintWizard(TTdAppOptions& options, TTodoAppHandler& app, TLazyStringTree& taskTree,
                      bool& ignoreTabFilter) override;
  void Backup(TTodoAppHandler& app) override;
  void ShowAbout(bool stayOnTop, const QIcon& icon) override;

private:
  TCommonModule& common_;
};
