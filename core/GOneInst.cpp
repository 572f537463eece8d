#include "core/GOneInst.h"

#include "platform/Desktop.h"
#include "platform/InstanceChannel.h"

#include <QCoreApplication>
#include <QPointer>
#include <memory>

namespace {

// The listening channel of the first copy; owned by the application object.
QPointer<InstanceChannel> listening;

std::function<void()>& ComeForward() {
  static std::function<void()> comeForward;
  return comeForward;
}

QString ApplicationTitle() {
  const QString title = QCoreApplication::applicationName();
  return title.isEmpty() ? QStringLiteral("Velmora") : title;
}

}  // namespace

bool CheckSingleInstance() {
  if (listening != nullptr) return false;

  // The application object's class and title stand for the application window that
  // identifies the program.
  QCoreApplication* app = QCoreApplication::instance();
  const QString name = InstanceChannel::ServerName(QString::fromLatin1(app->metaObject()->className()),
                                                   ApplicationTitle(), InstanceChannel::CurrentUserName());
  auto channel = std::make_unique<InstanceChannel>(name);
  if (channel->Start() == InstanceChannel::Role::Second) {
    Desktop().MessageBox(ApplicationTitle(), QStringLiteral("Application is already running"), Msg::NoIcon, Msg::Ok);
    channel->AskToComeForward();
    return true;
  }
  channel->OnComeForward = [] {
    if (ComeForward()) ComeForward()();
  };
  channel->setParent(app);
  listening = channel.release();
  return false;
}

void SetComeForwardHandler(std::function<void()> comeForward) { ComeForward() = std::move(comeForward); }

void EndSingleInstance() {
  // Taken back from the application object, so the socket closes now.
  const std::unique_ptr<InstanceChannel> channel(listening.data());
}
