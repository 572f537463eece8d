#pragma once
// The main window's dialogs as a test scripts them: each call is logged ("edit-todo:new",
// "options", ...) and answered by the matching function, or cancelled when none is set.
#include "core/BTodo.h"
#include "ui/TdMainDialogs.h"

#include <QStringList>

#include <functional>

class FakeMainDialogs : public TMainDialogs {
public:
  std::function<bool(TTdTodo&, bool isNew)> onEditTodo;
  std::function<bool(TTdAppOptions&)> onOptions;
  std::function<bool(TTdAppOptions&)> onFilter;
  std::function<bool(TTdAppOptions&)> onSort;
  std::function<bool(int32_t&, TIdArray&, TIdArray&)> onLookup;
  std::function<int()> onArchive;
  QStringList log;

  bool EditTodo(TTodoAppHandler&, TTdTodo& task, bool isNew, bool editable) override {
    log << QStringLiteral("edit-todo:%1%2").arg(isNew ? "new" : "edit", editable ? "" : ":view");
    return onEditTodo ? onEditTodo(task, isNew) : false;
  }
  bool EditOptions(TTodoAppHandler&, TTdAppOptions& options) override {
    log << QStringLiteral("options");
    return onOptions ? onOptions(options) : false;
  }
  bool EditFilter(TTodoAppHandler&, TTdAppOptions& options) override {
    log << QStringLiteral("filter");
    return onFilter ? onFilter(options) : false;
  }
  bool EditSort(TTdAppOptions& options) override {
    log << QStringLiteral("sort");
    return onSort ? onSort(options) : false;
  }
  bool EditCategories(TTodoAppHandler&, int32_t& id, TIdArray& incl, bool, TIdArray& excl) override {
    log << QStringLiteral("categories");
    return onLookup ? onLookup(id, incl, excl) : false;
  }
  bool EditResources(TTodoAppHandler&, int32_t& id, TIdArray& incl, bool, TIdArray& excl) override {
    log << QStringLiteral("resources");
    return onLookup ? onLookup(id, incl, excl) : false;
  }
  bool EditTypes(TTodoAppHandler&, int32_t& id, TIdArray& incl, bool, TIdArray& excl) override {
    log << QStringLiteral("types");
    return onLookup ? onLookup(id, incl, excl) : false;
  }
  int ViewArchive(const QString& file, TTodoAppHandler&, bool) override {
    log << QStringLiteral("archive:") + file;
    return onArchive ? onArchive() : 0;
  }
  bool RunPrintWizard(TTdAppOptions&, TTodoAppHandler&, TLazyStringTree&, bool&) override {
    log << QStringLiteral("print");
    return false;
  }
  void Backup(TTodoAppHandler&) override { log << QStringLiteral("backup"); }
  void ShowAbout(bool, const QIcon&) override { log << QStringLiteral("about"); }
};
