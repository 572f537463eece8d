#include "platform/InstanceChannel.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLocalSocket>
#include <cerrno>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kConnectMs = 1000;
constexpr int kReplyMs = 3000;
const QByteArray kComeForward = "forward\n";
const QByteArray kDone = "ok\n";

// A folder that is ours alone: a real directory (no link), owned by us, closed to others.
bool IsPrivateFolder(const QByteArray& path) {
  struct stat info {};
  if (::lstat(path.constData(), &info) != 0) return false;
  return S_ISDIR(info.st_mode) && info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

QString MakePrivateFolder(const QString& path) {
  const QByteArray encoded = QFile::encodeName(path);
  if (::mkdir(encoded.constData(), 0700) != 0 && errno != EEXIST) return {};
  return IsPrivateFolder(encoded) ? path : QString();
}

QString JoinPath(const QString& folder, const QString& name) {
  if (name.startsWith(QLatin1Char('/')) || folder.isEmpty()) return name;
  return folder + QLatin1Char('/') + name;
}

}  // namespace

InstanceChannel::InstanceChannel(const QString& serverName, QObject* parent)
    : QObject(parent), name_(JoinPath(PrivateRuntimeFolder(), serverName)) {
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

QString InstanceChannel::PrivateRuntimeFolder() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (runtime.startsWith(QLatin1Char('/')) && IsPrivateFolder(QFile::encodeName(runtime))) return runtime;
  // Fixed paths, not the temporary folder: TMPDIR may differ between two starts.
  const QString shared = MakePrivateFolder(QStringLiteral("/tmp/velmora-%1").arg(::getuid()));
  if (!shared.isEmpty()) return shared;
  const QString home = QDir::homePath();
  return home.isEmpty() ? QString() : MakePrivateFolder(home + QStringLiteral("/.velmora-run"));
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
