#include "platform/InstanceChannel.h"
#include "support/ChildProcess.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
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
  const QByteArray path = QFile::encodeName(QDir::tempPath() + "/" + name);
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

}  // namespace

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
