#include "platform/TerminationSignals.h"

#include "platform/ApplicationError.h"
#include "platform/Exception.h"

#include <QSocketNotifier>

#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

// The pair's write end is all the signal handler touches: writing one byte is safe there.
int pipeFds[2] = {-1, -1};
std::array<struct sigaction, kSignals.size()> previous{};

void OnSignal(int) {
  const int savedErrno = errno;
  const char byte = 1;
  // A full pipe already holds a wake-up; the byte may be dropped.
  [[maybe_unused]] const ssize_t written = ::write(pipeFds[1], &byte, 1);
  errno = savedErrno;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> onSignal, QObject* parent)
    : QObject(parent), onSignal_(std::move(onSignal)) {
  if (pipeFds[0] >= 0) throw Exception(QStringLiteral("The termination signals are already taken"));
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, pipeFds) != 0)
    throw Exception(QStringLiteral("Cannot watch the termination signals"));
  notifier_ = std::make_unique<QSocketNotifier>(pipeFds[0], QSocketNotifier::Read);
  connect(notifier_.get(), &QSocketNotifier::activated, this, &TerminationSignals::Drain);

  struct sigaction action {};
  action.sa_handler = OnSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (size_t i = 0; i < kSignals.size(); ++i) ::sigaction(kSignals[i], &action, &previous[i]);
}

TerminationSignals::~TerminationSignals() {
  for (size_t i = 0; i < kSignals.size(); ++i) ::sigaction(kSignals[i], &previous[i], nullptr);
  notifier_.reset();
  ::close(pipeFds[0]);
  ::close(pipeFds[1]);
  pipeFds[0] = pipeFds[1] = -1;
}

void TerminationSignals::Drain() {
  char bytes[64];
  while (::read(pipeFds[0], bytes, sizeof bytes) > 0) {
  }
  if (onSignal_) RunGuarded(onSignal_);
}
