#include "core/TdApp.h"

#include "core/BCat.h"
#include "core/BRes.h"
#include "core/BTodo.h"
#include "core/BType.h"
#include "core/TdDataFolder.h"
#include "core/UtFiles.h"
#include "platform/Desktop.h"


namespace {

// The first status-bar panel's text, put back on every way out.
class StatusTextKeeper {
public:
  explicit StatusTextKeeper(TTdMainLink* link) : link_(link) {
    if (link_ != nullptr) text_ = link_->StatusText();
  }
  ~StatusTextKeeper() {
    if (link_ == nullptr) return;
    try {
      link_->SetStatusText(text_);
    } catch (...) {
      // The save's own outcome matters more than the status text.
    }
  }
  StatusTextKeeper(const StatusTextKeeper&) = delete;
  StatusTextKeeper& operator=(const StatusTextKeeper&) = delete;

private:
  TTdMainLink* link_;
  QString text_;
};

}  // namespace

TTodoAppHandler::TTodoAppHandler(TTdMainLink* mainLink, const TTodoAppTimings& timings)
    : mainLink_(mainLink) {
  // The icon cache is the (empty) map member.
  timers_ = std::make_unique<TCallbackTimerDriver>([this](int id) { TimerFired(id); });
  timers_->Start(ReminderTimerId, timings.ReminderMs);

  options_ = std::make_unique<TTdAppOptionsHandler>(DefaultDataFolder() + QStringLiteral("pendra.ini"));
  options_->ReadOptions();

  // The interval is fixed here: a changed SaveMinutes counts from the next start.
  const int autoSaveMs = timings.AutoSaveMs < 0 ? AutoSaveIntervalMs(Options().SaveMinutes) : timings.AutoSaveMs;
  if (autoSaveMs > 0) timers_->Start(AutoSaveTimerId, autoSaveMs);

  EnsureDirectory(DefaultDataFolder());
  const QString folder = Options().DatabaseFolder;
  EnsureDirectory(folder);

  categories_ = std::make_unique<TTdCategoryHandler>(folder + QStringLiteral("cat.tbl"));
  categories_->Load();
  resources_ = std::make_unique<TTdResourceHandler>(folder + QStringLiteral("res.tbl"));
  resources_->Load();
  types_ = std::make_unique<TTdTypeHandler>(folder + QStringLiteral("type.tbl"));
  types_->Load();
  todos_ = std::make_unique<TTdTodoHandler>(folder + QStringLiteral("todo.tbl"));
  todos_->Load();

  BuildAssociationIcons();
}

TTodoAppHandler::~TTodoAppHandler() {
  if (!finalSaveDone_) FinalSave();
  todos_.reset();
  types_.reset();
  resources_.reset();
  categories_.reset();
  options_.reset();
  timers_.reset();
  iconCache_.clear();
}

void TTodoAppHandler::SetTimerDriver(std::unique_ptr<TTimerDriver> driver) {
  for (int id : {ReminderTimerId, AutoSaveTimerId}) {
    if (!timers_->IsRunning(id)) continue;
    driver->Start(id, timers_->Interval(id));
    timers_->Stop(id);
  }
  timers_ = std::move(driver);
}

void TTodoAppHandler::TimerFired(int id) {
  if (id == ReminderTimerId) reminderErrors_.Run([this] { ReminderTimerTimer(); });
  if (id == AutoSaveTimerId) autoSaveErrors_.Run([this] { AutoSaveTimerTimer(); });
}

bool TTodoAppHandler::FinalSave() {
  finalSaveDone_ = true;
  // No tick may start a pass or a save while an error box is up.
  timers_->Stop(ReminderTimerId);
  timers_->Stop(AutoSaveTimerId);
  stopRequested_ = true;
  return RunGuarded([this] { SaveNow(); });
}

void TTodoAppHandler::SetMainLink(TTdMainLink* mainLink) {
  mainLink_ = mainLink;
  if (mainLink_ == nullptr) return;
  // Icons cached without a window have no image behind them.
  iconCache_.clear();
  BuildAssociationIcons();
}

void TTodoAppHandler::RequestStop() {
  stopRequested_ = true;
  timers_->Stop(ReminderTimerId);
}

bool TTodoAppHandler::SaveAll() {
  // A reminder window is up and the pass is not done with the store.
  if (busy_) {
    savePending_ = true;
    return false;
  }
  SaveNow();
  return true;
}

void TTodoAppHandler::SaveNow() {
  savePending_ = false;
  const ScopedWaitCursor wait;
  const StatusTextKeeper status(mainLink_);
  todos_->Save();
  types_->Save();
  resources_->Save();
  categories_->Save();
  const TWindowBounds bounds = CurrentBounds();
  options_->WriteOptions(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
}

TWindowBounds TTodoAppHandler::CurrentBounds() const {
  if (mainLink_ != nullptr) return mainLink_->WindowBounds();
  const TTdAppOptions& o = Options();
  return {o.Left, o.Top, o.Width, o.Height};
}

TTdAppOptions TTodoAppHandler::GetOptions() const { return Options(); }

void TTodoAppHandler::PutOptions(const TTdAppOptions& options) { options_->Options() = options; }

const TTdAppOptions& TTodoAppHandler::Options() const { return options_->Options(); }

int TTodoAppHandler::ArchiveClosed() { return todos_->ArchiveClosed(); }

int TTodoAppHandler::ClosedCount() const { return todos_->ClosedCount(); }

int TTodoAppHandler::CheckReminders() {
  const TTdAppOptions& o = Options();
  return ::CheckReminders(*todos_, o.UseDTReminder, o.DefaultRepeatReminderInMins, showReminder_,
                          [this] { return stopRequested_; });
}

void TTodoAppHandler::ReminderTimerTimer() {
  if (busy_ || stopRequested_) return;
  busy_ = true;
  try {
    CheckReminders();
    if (stopRequested_) {
      busy_ = false;
      return;
    }
    const int added = todos_->GenerateRecurring();
    if (added > 0 && mainLink_ != nullptr) mainLink_->TasksAdded(added);
  } catch (...) {
    busy_ = false;
    throw;
  }
  busy_ = false;
  if (savePending_) SaveNow();
}

void TTodoAppHandler::AutoSaveTimerTimer() {
  if (!busy_) SaveAll();
}
