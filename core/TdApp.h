#pragma once
// The application handler: the one object that holds the program's data for a run (the
// options, the category, resource, type and task stores), runs the reminder and
// auto-save timers, saves everything, exports the task list and keeps the file-type
// icons of task associations.
#include "core/TdMainLink.h"
#include "core/TdOption.h"
#include "core/TdReminders.h"
#include "platform/ApplicationError.h"
#include "platform/TimerDriver.h"

#include <QObject>
#include <QString>

#include <map>
#include <memory>

class TTdCategoryHandler;
class TTdResourceHandler;
class TTdTypeHandler;
class TTdTodo;
class TTdTodoHandler;

constexpr int kReminderIntervalMs = 25000;

// The handler's timers by their ids in its timer driver.
enum TTodoAppTimer : int { ReminderTimerId = 1, AutoSaveTimerId = 2 };

// The timers' intervals. The program keeps the defaults.
struct TTodoAppTimings {
  int ReminderMs = kReminderIntervalMs;
  // Below 0: from SaveMinutes in the settings file. 0: no automatic saving.
  int AutoSaveMs = -1;
};

class TTodoAppHandler : public QObject {
  Q_OBJECT

public:
  // Makes the icon cache, the reminder timer, reads the settings file "pendra.ini" of the
  // default data folder, makes the auto-save timer, creates the data and the database
  // folder, loads cat.tbl, res.tbl, type.tbl and todo.tbl in that order and adds the
  // association icons of all tasks. A failure raises the error of the step that failed
  // (a damaged table file: that store's); nothing made so far is saved.
  // `mainLink` may be null (the window comes later, see SetMainLink) and must outlive the
  // handler.
  explicit TTodoAppHandler(TTdMainLink* mainLink = nullptr, const TTodoAppTimings& timings = {});
  // Unless FinalSave ran, saves everything as FinalSave does. Then frees the stores, the
  // timers and the options.
  ~TTodoAppHandler() override;
  TTodoAppHandler(const TTodoAppHandler&) = delete;
  TTodoAppHandler& operator=(const TTodoAppHandler&) = delete;

  // With the wait cursor and the status text kept: saves the task, type, resource and
  // category stores (each only when modified), in that order, then the settings file with
  // the window's bounds. A failure raises after restoring cursor and status text; the
  // stores after the failing one are not saved, nor is the settings file.
  // During a reminder pass nothing is saved at once: the save is owed and made as soon as
  // the pass ends. Returns true when it saved, false when it left the save owed.
  bool SaveAll();

  // The save on the way out: the timers stop, no reminder pass starts any more, and
  // everything is saved. A failure is reported through the error path (the error box,
  // or standard error once the program ends on a signal), never raised; false then, so
  // the program can end with a failure code.
  bool FinalSave();

  // The main window the handler reports to (null: none). The association icons are
  // built afresh into the new window's image list.
  void SetMainLink(TTdMainLink* mainLink);

  // The program is ending: the reminder pass in progress shows no further reminder, and
  // no pass starts any more.
  void RequestStop();
  bool StopRequested() const { return stopRequested_; }

  TTdAppOptions GetOptions() const;
  void PutOptions(const TTdAppOptions& options);
  const TTdAppOptions& Options() const;

  // Moves the closed tasks into archive.tbl; returns how many moved.
  int ArchiveClosed();
  // Tasks with status Cancelled or OK.
  int ClosedCount() const;

  // Writes the task list as text: a header line, then a line per task, every field in
  // double quotes followed by ";", CRLF line ends, UTF-8. The columns follow the
  // task-field switches of the options. Raises EWriteError naming the file; a failed
  // export leaves any earlier file of that name as it was.
  void ExportTasks(const QString& fileName) const;
  QByteArray ExportBytes() const;

  // The image index cached for the extension of the task's association; -1 when there
  // is no association, it has no extension or the extension is not cached.
  int AssociationIconIndex(const TTdTodo& task) const;
  // Caches the icon of the association's extension unless it is cached already.
  void AddAssociationIcon(const TTdTodo& task);
  // AddAssociationIcon for every task, in list order.
  void BuildAssociationIcons();
  // Appends the small icon the desktop shows for the file to the task tree's images; its
  // index, or -1 when there is none (or no window to show it).
  int AddIconForFile(const QString& path);

  // The reminder pass: each due reminder is marked as given and shown. Returns how many.
  int CheckReminders();
  // How a due reminder is shown; the program puts its reminder window here. Without one a
  // due reminder is marked as given and nothing is shown.
  void SetShowReminder(TShowReminderFunc showReminder) { showReminder_ = std::move(showReminder); }

  // The timers' handlers. Reminder: unless a pass runs, the reminder pass, then the
  // recurring templates' due instances (the window is told how many); the busy flag
  // holds from start to end, also when something raised. Auto-save: SaveAll unless a
  // reminder pass runs. Both raise what failed; the timers call them through an error
  // gate each, so a failure shows one error box however often it repeats.
  void ReminderTimerTimer();
  void AutoSaveTimerTimer();
  // True while a reminder pass runs.
  bool Busy() const { return busy_; }

  // The four stores afresh on the table files of `folder` (ending with "/"), loaded in
  // the start's order. A failed load raises and leaves the stores in use as they were.
  // The database-folder move calls it once the files are in the new folder.
  void ReopenStores(const QString& folder);

  TTdAppOptionsHandler& OptionsHandler() { return *options_; }
  TTdCategoryHandler& CategoryHandler() { return *categories_; }
  TTdResourceHandler& ResourceHandler() { return *resources_; }
  TTdTypeHandler& TypeHandler() { return *types_; }
  TTdTodoHandler& TodoHandler() { return *todos_; }
  const TTdTodoHandler& TodoHandler() const { return *todos_; }
  // The reminder and auto-save timers (TTodoAppTimer ids). They run on Qt timers;
  // tests put a driver of their own in place (the timers running keep running on it,
  // with their intervals) and fire the timers through TimerFired.
  const TTimerDriver& Timers() const { return *timers_; }
  void SetTimerDriver(std::unique_ptr<TTimerDriver> driver);
  // A tick of timer `id`: its handler runs behind the timer's error gate.
  void TimerFired(int id);

private:
  void SaveNow();
  TWindowBounds CurrentBounds() const;

  TTdMainLink* mainLink_;
  std::unique_ptr<TTdAppOptionsHandler> options_;
  std::unique_ptr<TTdCategoryHandler> categories_;
  std::unique_ptr<TTdResourceHandler> resources_;
  std::unique_ptr<TTdTypeHandler> types_;
  std::unique_ptr<TTdTodoHandler> todos_;
  std::unique_ptr<TTimerDriver> timers_;
  bool busy_ = false;
  bool savePending_ = false;
  bool stopRequested_ = false;
  bool finalSaveDone_ = false;
  TErrorGate reminderErrors_;
  TErrorGate autoSaveErrors_;
  // Upper-cased extension with its dot (".DOC") -> image index, -1 for no icon.
  std::map<QString, int> iconCache_;
  TShowReminderFunc showReminder_;
};
