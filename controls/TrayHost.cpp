#include "controls/TrayHost.h"

#include "controls/ReplaceableService.h"

#include <QGuiApplication>
#include <QSystemTrayIcon>

#include <memory>

namespace {

class SystemTray final : public TrayHost {
public:
  bool Available() override { return QSystemTrayIcon::isSystemTrayAvailable(); }

  bool Add(const TrayIconData& data, TrayListener& listener) override {
    if (!Available()) return false;
    icon_ = std::make_unique<QSystemTrayIcon>();
    QObject::connect(icon_.get(), &QSystemTrayIcon::activated, icon_.get(),
                     [&listener](QSystemTrayIcon::ActivationReason reason) {
                       const Qt::KeyboardModifiers shift = QGuiApplication::queryKeyboardModifiers();
                       switch (reason) {
                         case QSystemTrayIcon::Trigger: listener.TrayNotify(TrayMouse::LeftDown, shift); break;
                         case QSystemTrayIcon::DoubleClick: listener.TrayNotify(TrayMouse::LeftDouble, shift); break;
                         case QSystemTrayIcon::Context: listener.TrayNotify(TrayMouse::RightDown, shift); break;
                         case QSystemTrayIcon::MiddleClick: listener.TrayNotify(TrayMouse::MiddleDown, shift); break;
                         case QSystemTrayIcon::Unknown: break;
                       }
                     });
    Modify(data);
    icon_->show();
    return true;
  }

  bool Modify(const TrayIconData& data) override {
    if (icon_ == nullptr) return false;
    icon_->setIcon(data.icon);
    icon_->setToolTip(data.showTip ? data.tip : QString());
    return true;
  }

  void Delete() override { icon_.reset(); }

private:
  std::unique_ptr<QSystemTrayIcon> icon_;
};

}  // namespace

TrayHost& NotificationArea() {
  static SystemTray system;
  return ReplaceableService<TrayHost>::Current(system);
}
