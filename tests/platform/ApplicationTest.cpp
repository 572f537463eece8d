#include "platform/Application.h"
#include "platform/Exception.h"
#include "support/FakeDesktop.h"

#include <QCoreApplication>
#include <QEvent>
#include <QEventLoop>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// Runs `handler` from the event loop, then one more event; true when that later event ran.
bool LoopGoesOnAfter(const std::function<void()>& handler) {
  QEventLoop loop;
  bool later = false;
  QTimer::singleShot(0, &loop, handler);
  QTimer::singleShot(20, &loop, [&] {
    later = true;
    loop.quit();
  });
  QTimer::singleShot(10000, &loop, &QEventLoop::quit);
  loop.exec();
  return later;
}

class Throwing : public QObject {
public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw EReadError("Wrong version in Todo-file todo.tbl");
    return QObject::event(e);
  }
};

}  // namespace

TEST(Application, TestsRunUnderTheProgramsApplicationObject) {
  EXPECT_NE(qobject_cast<Application*>(QCoreApplication::instance()), nullptr);
}

TEST(Application, AnErrorEscapingAHandlerIsShownAndTheLoopGoesOn) {
  const struct {
    std::function<void()> raise;
    QString message;
  } cases[] = {
      {[] { throw Exception("Disk full"); }, "Disk full"},
      {[] { throw std::runtime_error("bad value"); }, "bad value"},
      {[] { throw 42; }, "An unknown error occurred."},
  };
  for (const auto& c : cases) {
    FakeDesktop desktop;
    EXPECT_TRUE(LoopGoesOnAfter(c.raise)) << c.message.toStdString();
    EXPECT_EQ(desktop.Log(), QStringList{"message:Application Error|" + c.message});
    ASSERT_EQ(desktop.Messages().size(), 1u);
    EXPECT_EQ(desktop.Messages()[0].icon, Msg::Critical);
    EXPECT_EQ(desktop.Messages()[0].buttons, Msg::Ok);
  }
}

TEST(Application, AnErrorFromAPostedEventIsShownToo) {
  FakeDesktop desktop;
  Throwing target;
  EXPECT_TRUE(LoopGoesOnAfter([&] { QCoreApplication::postEvent(&target, new QEvent(QEvent::User)); }));
  EXPECT_EQ(desktop.Log(), QStringList{"message:Application Error|Wrong version in Todo-file todo.tbl"});
}

TEST(Application, AFailingErrorBoxDoesNotEscapeEither) {
  FakeDesktop desktop;
  desktop.onMessage = [](const FakeDesktop::Message&) -> Msg::Button {
    throw std::runtime_error("no display");
  };
  EXPECT_TRUE(LoopGoesOnAfter([] { throw Exception("first"); }));
  EXPECT_EQ(desktop.Calls("message:").size(), 1);
}
