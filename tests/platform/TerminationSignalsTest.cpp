#include "platform/TerminationSignals.h"

#include <QEventLoop>
#include <QTimer>
#include <gtest/gtest.h>

#include <csignal>

namespace {

void (*CurrentHandler(int signal))(int) {
  struct sigaction action {};
  ::sigaction(signal, nullptr, &action);
  return action.sa_handler;
}

}  // namespace

// The signal arrives as a call on the event loop, not inside the signal handler; when the
// object goes, the signals' earlier handling is back.
TEST(TerminationSignals, EachSignalBecomesACallOnTheEventLoop) {
  for (int signal : {SIGTERM, SIGINT, SIGHUP}) {
    const auto before = CurrentHandler(signal);
    {
      int calls = 0;
      QEventLoop loop;
      const TerminationSignals termination([&] {
        ++calls;
        loop.quit();
      });
      ASSERT_EQ(::raise(signal), 0);
      EXPECT_EQ(calls, 0) << "nothing runs inside the handler";
      QTimer::singleShot(5000, &loop, &QEventLoop::quit);
      loop.exec();
      EXPECT_EQ(calls, 1) << signal;
    }
    EXPECT_EQ(CurrentHandler(signal), before) << signal;
  }
}

TEST(TerminationSignals, OneAtATime) {
  const TerminationSignals first([] {});
  EXPECT_ANY_THROW(TerminationSignals second([] {}));
}
