#include "platform/InstanceChannel.h"
#include "support/ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

const char* const kChildName = "VELMORA_TEST_CHANNEL";

QString UniqueName(const char* test) {
  return InstanceChannel::ServerName("InstanceChannelTest", QString::number(QCoreApplication::applicationPid()) + test,
                                     InstanceChannel::CurrentUserName());
}

// Leaves a socket file that nobody listens on, as a copy that crashed would.
void LeaveStaleSocket(const QString& name) {
  const QByteArray path = QFile::encodeName(InstanceChannel::PrivateRuntimeFolder() + "/" + name);
  const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
  ASSERT_GE(fd, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  ASSERT_LT(static_cast<size_t>(path.size()), sizeof address.sun_path);
  memcpy(address.sun_path, path.constData(), static_cast<size_t>(path.size()));
  ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  close(fd);
  ASSERT_TRUE(QFile::exists(QString::fromLocal8Bit(path)));
}

// Sets an environment variable for the lifetime of the object (unset for a null value).
class EnvironmentPin {
public:
  EnvironmentPin(const char* name, const QByteArray& value)
      : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {
    if (value.isNull()) qunsetenv(name);
    else qputenv(name, value);
  }
  ~EnvironmentPin() {
    if (had_) qputenv(name_, old_);
    else qunsetenv(name_);
  }

private:
  const char* name_;
  bool had_;
  QByteArray old_;
};

bool OnlyTheOwnerMayEnter(const QString& folder) {
  const QFileInfo info(folder);
  return info.isDir() && !info.isSymLink() && info.ownerId() == getuid() &&
         info.permissions() == (QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
}

}  // namespace

// Another user must not be able to take the name first, and two starts of one user must
// meet whatever their temporary folder says.
TEST(InstanceChannel, TheSocketLivesInAFolderOfTheUsersOwn) {
  QTemporaryDir runtime;
  const QString privateRuntime = runtime.path() + "/run";
  ASSERT_TRUE(QDir().mkpath(privateRuntime));
  QFile::setPermissions(privateRuntime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  const QString sharedRuntime = runtime.path() + "/shared";
  ASSERT_TRUE(QDir().mkpath(sharedRuntime));
  QFile::setPermissions(sharedRuntime, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                           QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
  {
    EnvironmentPin xdg("XDG_RUNTIME_DIR", QFile::encodeName(privateRuntime));
    EnvironmentPin tmp("TMPDIR", QFile::encodeName(runtime.path()));
    EXPECT_EQ(InstanceChannel("velmora-x").Name(), privateRuntime + "/velmora-x");
  }
  for (const QByteArray& unusable : {QByteArray(), QFile::encodeName(sharedRuntime), QByteArray("relative/run")}) {
    EnvironmentPin xdg("XDG_RUNTIME_DIR", unusable);
    const QString folder = InstanceChannel::PrivateRuntimeFolder();
    EXPECT_NE(folder, sharedRuntime);
    EXPECT_TRUE(OnlyTheOwnerMayEnter(folder)) << folder.toStdString();
    EnvironmentPin tmp("TMPDIR", QFile::encodeName(runtime.path()));
    EXPECT_EQ(InstanceChannel::PrivateRuntimeFolder(), folder) << "the temporary folder plays no part";
  }
}

TEST(InstanceChannel, ServerNamesAreSafeShortAndDistinct) {
  const QString plain = InstanceChannel::ServerName("Application", "Velmora", "anna");
  const QString slashed = InstanceChannel::ServerName("Application", "Vel/mora", "anna");
  const QString underscored = InstanceChannel::ServerName("Application", "Vel_mora", "anna");
  const QString longOne = InstanceChannel::ServerName(QString(300, 'x'), "Velmora \u00e9t\u00e9", "anna");
  for (const QString& name : {plain, slashed, underscored, longOne}) {
    EXPECT_TRUE(QRegularExpression("^[A-Za-z0-9_-]+$").match(name).hasMatch()) << name.toStdString();
    EXPECT_LE(name.size(), 64);
  }
  EXPECT_EQ(plain, InstanceChannel::ServerName("Application", "Velmora", "anna"));
  EXPECT_NE(plain, InstanceChannel::ServerName("Application", "Velmora", "bert"));
  EXPECT_NE(slashed, underscored);
  EXPECT_FALSE(InstanceChannel::CurrentUserName().isEmpty());
}

TEST(InstanceChannel, ALaterCopyFindsTheFirstAndCallsItForward) {
  const QString name = UniqueName("forward");
  InstanceChannel first(name);
  int calls = 0;
  first.OnComeForward = [&] { ++calls; };
  ASSERT_EQ(first.Start(), InstanceChannel::Role::First);
  ASSERT_TRUE(first.IsListening());

  QProcessEnvironment env;
  env.insert(kChildName, name);
  EXPECT_EQ(RunTestsInChild("InstanceChannelChild.*", env), 0);
  // The first copy is called before it confirms, so the child's success implies the call.
  EXPECT_EQ(calls, 1);
}

// Runs only as the child of the test above.
TEST(InstanceChannelChild, FindsTheRunningCopy) {
  const QString name = qEnvironmentVariable(kChildName);
  if (name.isEmpty()) GTEST_SKIP() << "runs as a child process only";
  InstanceChannel second(name);
  EXPECT_EQ(second.Start(), InstanceChannel::Role::Second);
  EXPECT_FALSE(second.IsListening());
  EXPECT_TRUE(second.AskToComeForward());
}

TEST(InstanceChannel, ASocketLeftByACrashedCopyIsTakenOver) {
  const QString name = UniqueName("stale");
  LeaveStaleSocket(name);
  InstanceChannel first(name);
  EXPECT_EQ(first.Start(), InstanceChannel::Role::First);
  EXPECT_TRUE(first.IsListening());
  InstanceChannel second(name);
  EXPECT_EQ(second.Start(), InstanceChannel::Role::Second);
}

TEST(InstanceChannel, ClosingTheFirstLetsTheNextBeFirst) {
  const QString name = UniqueName("closed");
  {
    InstanceChannel first(name);
    ASSERT_EQ(first.Start(), InstanceChannel::Role::First);
  }
  InstanceChannel next(name);
  EXPECT_EQ(next.Start(), InstanceChannel::Role::First);
}
