#include "core/GOneInst.h"
#include "support/ChildProcess.h"
#include "support/FakeDesktop.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

const char* const kChildTitle = "VELMORA_TEST_TITLE";

// Gives the application a title of its own for the test, so parallel runs stay apart.
class TitleGuard {
public:
  explicit TitleGuard(const QString& title) : saved_(QCoreApplication::applicationName()) {
    QCoreApplication::setApplicationName(title);
  }
  ~TitleGuard() {
    EndSingleInstance();
    SetComeForwardHandler({});
    QCoreApplication::setApplicationName(saved_);
  }

private:
  QString saved_;
};

}  // namespace

TEST(CheckSingleInstance, ASecondStartTellsTheUserAndCallsTheFirstForward) {
  const QString title = QString("Velmora test %1").arg(QCoreApplication::applicationPid());
  TitleGuard guard(title);
  FakeDesktop desktop;
  QWidget window;
  window.setWindowTitle("Main window");
  ASSERT_FALSE(CheckSingleInstance());
  SetComeForwardHandler([&] { Desktop().BringToFront(&window); });
  EXPECT_FALSE(CheckSingleInstance()) << "the first copy does not find itself";

  QProcessEnvironment env;
  env.insert(kChildTitle, title);
  EXPECT_EQ(RunTestsInChild("CheckSingleInstanceChild.*", env), 0);
  EXPECT_EQ(desktop.Log(), QStringList{"front:Main window"});
}

// Runs only as the child of the test above.
TEST(CheckSingleInstanceChild, EndsAfterTheMessage) {
  const QString title = qEnvironmentVariable(kChildTitle);
  if (title.isEmpty()) GTEST_SKIP() << "runs as a child process only";
  TitleGuard guard(title);
  FakeDesktop desktop;
  EXPECT_TRUE(CheckSingleInstance());
  EXPECT_EQ(desktop.Log(), QStringList{"message:" + title + "|Application is already running"});
  ASSERT_EQ(desktop.Messages().size(), 1u);
  EXPECT_EQ(desktop.Messages()[0].icon, Msg::NoIcon);
  EXPECT_EQ(desktop.Messages()[0].buttons, Msg::Ok);
}

TEST(CheckSingleInstance, AfterTheEndTheNextCheckIsFirstAgain) {
  TitleGuard guard(QString("Velmora test end %1").arg(QCoreApplication::applicationPid()));
  ASSERT_FALSE(CheckSingleInstance());
  EndSingleInstance();
  EXPECT_FALSE(CheckSingleInstance());
}
