#include "core/GOneInst.h"

#include "platform/Desktop.h"
#include "platform/InstanceChannel.h"

#include <QApplication>
#include <QPointer>
#include <QWidget>
#include <memory>

namespace {

// The listening channel of the first copy; owned by the application object.
QPointer<InstanceChannel> listening;
QPointer<QWidget> window;

QString ApplicationTitle() {
  const QString title = QGuiApplication::applicationDisplayName();
  return title.isEmpty() ? QStringLiteral("Velmora") : title;
}

}  // namespace

bool CheckSingleInstance(QWidget* mainWindow) {
  window = mainWindow;
  if (listening != nullptr) return false;

  // The application object's class and title stand for the application window that
  // identifies the program.
  QCoreApplication* app = QCoreApplication::instance();
  const QString name = InstanceChannel::ServerName(QString::fromLatin1(app->metaObject()->className()),
                                                   ApplicationTitle(), InstanceChannel::CurrentUserName());
  auto channel = std::make_unique<InstanceChannel>(name);
  if (channel->Start() == InstanceChannel::Role::Second) {
    Desktop().MessageBox(ApplicationTitle(), QStringLiteral("Application is already running"), QMessageBox::NoIcon,
                         QMessageBox::Ok);
    channel->AskToComeForward();
    return true;
  }
  channel->OnComeForward = [] {
    if (window != nullptr) Desktop().BringToFront(window);
  };
  channel->setParent(app);
  listening = channel.release();
  return false;
}

void EndSingleInstance() {
  // Taken back from the application object, so the socket closes now.
  const std::unique_ptr<InstanceChannel> channel(listening.data());
}
