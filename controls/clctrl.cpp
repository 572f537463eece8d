#include "controls/clctrl.h"

#include "controls/clmisc.h"

#include <QCoreApplication>
#include <QWidget>

TClController::TClController(QObject* owner)
    : TClComponent(owner),
      entryCommands_(std::make_unique<TClCommandProcessor>()),
      timerPool_(std::make_unique<TClTimerPool>()),
      epoch_(DefaultEpoch()) {
  timerPool_->OnAllTriggers = [this](TClTimerPool&, int handle, int interval, int32_t elapsed) {
    if (OnTimerTrigger) OnTimerTrigger(*this, handle, interval, elapsed);
  };
  if (auto* form = qobject_cast<QWidget*>(owner)) {
    for (TClCustomControlEx* control : form->findChildren<TClCustomControlEx*>()) control->ControllerInserted(*this);
  }
}

TClController::~TClController() = default;

int TClController::Epoch() {
  if (OnGetEpoch) OnGetEpoch(*this, epoch_);
  return epoch_;
}

void TClController::SetEpoch(int epoch) {
  if (epoch >= 1600 && epoch <= 3999) epoch_ = epoch;
}

bool TClController::IsSpecialControl(QWidget* control) {
  bool special = false;
  if (OnIsSpecialControl) OnIsSpecialControl(*this, control, special);
  return special;
}

TClController& DefaultController() {
  static QPointer<TClController> controller;
  static std::unique_ptr<TClController> withoutApplication;
  if (controller == nullptr) {
    if (QCoreApplication::instance() != nullptr) {
      controller = new TClController(QCoreApplication::instance());
    } else {
      withoutApplication = std::make_unique<TClController>();
      controller = withoutApplication.get();
    }
  }
  return *controller;
}
