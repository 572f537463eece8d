#pragma once
// The controller that the library's windowed controls share: it translates their keys
// into commands and owns their timer pool. A control takes the controller placed on its
// form, else the program's default one, made on first use.
#include "controls/clbase.h"
#include "controls/clcmd.h"
#include "controls/cltimer.h"

#include <QFlags>

#include <functional>
#include <memory>

enum TClBaseEFOption : unsigned {
  efoAutoSelect = 0x01,
  efoBeepOnError = 0x02,
  efoInsertPushes = 0x04,
};
Q_DECLARE_FLAGS(TClBaseEFOptions, TClBaseEFOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TClBaseEFOptions)

class TClController : public TClComponent {
  Q_OBJECT

public:
  // Placed on a form (owner), it becomes the controller of the form's library controls
  // that have none.
  explicit TClController(QObject* owner = nullptr);
  ~TClController() override;

  TClCommandProcessor& EntryCommands() { return *entryCommands_; }
  TClTimerPool& TimerPool() { return *timerPool_; }
  TClBaseEFOptions EntryOptions() const { return entryOptions_; }
  void SetEntryOptions(TClBaseEFOptions options) { entryOptions_ = options; }
  // First year of the century that two-digit years fall in; OnGetEpoch may change what
  // is read. Values outside 1600..3999 are ignored.
  int Epoch();
  void SetEpoch(int epoch);
  // Whether a control is special, as OnIsSpecialControl says (No without a handler).
  bool IsSpecialControl(QWidget* control);

  std::function<void(TClController& sender, QWidget* control, int errorCode, const QString& errorMessage)> OnError;
  std::function<void(TClController& sender, int& epoch)> OnGetEpoch;
  std::function<void(TClController& sender, int notifyCode)> OnDelayNotify;
  std::function<void(TClController& sender, QWidget* control, bool& special)> OnIsSpecialControl;
  std::function<void(TClController& sender, QWidget* gainingControl)> OnPostEdit;
  std::function<void(TClController& sender, QWidget* losingControl)> OnPreEdit;
  std::function<void(TClController& sender, int handle, int interval, int32_t elapsed)> OnTimerTrigger;

private:
  std::unique_ptr<TClCommandProcessor> entryCommands_;
  std::unique_ptr<TClTimerPool> timerPool_;
  TClBaseEFOptions entryOptions_ = efoAutoSelect | efoBeepOnError | efoInsertPushes;
  int epoch_;
};

// The program's default controller, made on the first request and freed with the
// application object.
TClController& DefaultController();
