#pragma once
// A notification area that records what it shows and lets a test play mouse actions on
// the icon. It takes the real one's place for its lifetime.
#include "controls/TrayHost.h"

#include <QStringList>

class FakeTrayHost : public TrayHost {
public:
  FakeTrayHost() = default;
  FakeTrayHost(const FakeTrayHost&) = delete;
  FakeTrayHost& operator=(const FakeTrayHost&) = delete;

  bool available = true;
  bool addResult = true;
  bool modifyResult = true;

  bool Available() override { return available; }
  bool Add(const TrayIconData& data, TrayListener& listener) override {
    log << "add";
    if (!addResult) return false;
    shown = true;
    current = data;
    listener_ = &listener;
    return true;
  }
  bool Modify(const TrayIconData& data) override {
    log << "modify";
    current = data;
    return modifyResult;
  }
  void Delete() override {
    log << "delete";
    shown = false;
    listener_ = nullptr;
  }

  // A mouse action on the shown icon.
  void Mouse(TrayMouse action, Qt::KeyboardModifiers shift = Qt::NoModifier) {
    if (listener_ != nullptr) listener_->TrayNotify(action, shift);
  }

  bool shown = false;
  TrayIconData current;
  QStringList log;

private:
  NotificationAreaScope scope_{*this};
  TrayListener* listener_ = nullptr;
};
