#include "platform/InstanceChannel.h"

#include <QCryptographicHash>
#include <QLocalSocket>
#include <pwd.h>
#include <unistd.h>

namespace {

constexpr int kConnectMs = 1000;
constexpr int kReplyMs = 3000;
const QByteArray kComeForward = "forward\n";
const QByteArray kDone = "ok\n";

}  // namespace

InstanceChannel::InstanceChannel(QString serverName, QObject* parent)
    : QObject(parent), name_(std::move(serverName)) {
  server_.setSocketOptions(QLocalServer::UserAccessOption);
  connect(&server_, &QLocalServer::newConnection, this, &InstanceChannel::Accept);
}

InstanceChannel::~InstanceChannel() = default;

QString InstanceChannel::ServerName(const QString& windowClass, const QString& caption, const QString& userName) {
  const QString joined = windowClass + QLatin1Char('-') + caption + QLatin1Char('-') + userName;
  QString readable;
  for (const QChar c : joined) {
    const bool safe = (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
                      (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('-') || c == QLatin1Char('_');
    readable += safe ? c : QLatin1Char('_');
  }
  // The readable part may lose characters; the hash keeps different triples apart.
  QByteArray raw = windowClass.toUtf8();
  raw += '\0' + caption.toUtf8() + '\0' + userName.toUtf8();
  const QByteArray hash = QCryptographicHash::hash(raw, QCryptographicHash::Sha1).toHex().left(16);
  return QStringLiteral("velmora-") + readable.left(32) + QLatin1Char('-') + QString::fromLatin1(hash);
}

QString InstanceChannel::CurrentUserName() {
  passwd entry{};
  passwd* found = nullptr;
  char buffer[4096];
  if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found != nullptr) {
    return QString::fromLocal8Bit(found->pw_name);
  }
  const QString user = qEnvironmentVariable("USER");
  return user.isEmpty() ? QString::number(getuid()) : user;
}

InstanceChannel::Role InstanceChannel::Start() {
  if (IsAnswered()) return Role::Second;
  if (server_.listen(name_)) return Role::First;
  if (server_.serverError() == QAbstractSocket::AddressInUseError) {
    // Either a copy started in the same moment, or one that crashed left its socket.
    if (IsAnswered()) return Role::Second;
    QLocalServer::removeServer(name_);
    server_.listen(name_);
  }
  return Role::First;
}

bool InstanceChannel::IsAnswered() const {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kConnectMs)) return false;
  socket.disconnectFromServer();
  return true;
}

bool InstanceChannel::AskToComeForward() {
  QLocalSocket socket;
  socket.connectToServer(name_);
  if (!socket.waitForConnected(kConnectMs)) return false;
  socket.write(kComeForward);
  if (!socket.waitForBytesWritten(kReplyMs)) return false;
  while (!socket.canReadLine()) {
    if (!socket.waitForReadyRead(kReplyMs)) return false;
  }
  const bool done = socket.readLine() == kDone;
  socket.disconnectFromServer();
  return done;
}

void InstanceChannel::Accept() {
  while (QLocalSocket* socket = server_.nextPendingConnection()) {
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
      if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > 64) socket->abort();
        return;
      }
      const bool comeForward = socket->readLine() == kComeForward;
      if (comeForward) socket->write(kDone);
      socket->flush();
      socket->disconnectFromServer();
      if (comeForward && OnComeForward) OnComeForward();
    });
  }
}
