#pragma once
// Records what the program writes to its logging category for the capture's lifetime
// (other categories pass on to the handler that was in place). Main thread only; a
// message logged on another thread is recorded under a lock.
//
//   LogCapture log;
//   ... something fails quietly ...
//   EXPECT_TRUE(log.Contains("renderer failed"));
#include "platform/Log.h"

#include <QMutex>
#include <QStringList>

#include <algorithm>

class LogCapture {
public:
  LogCapture() : previous_(qInstallMessageHandler(&LogCapture::Handle)) { current_ = this; }
  ~LogCapture() {
    qInstallMessageHandler(previous_);
    current_ = nullptr;
  }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  QStringList Lines() const {
    QMutexLocker lock(&mutex_);
    return lines_;
  }
  bool Contains(const QString& text) const {
    const QStringList lines = Lines();
    return std::any_of(lines.begin(), lines.end(), [&](const QString& line) { return line.contains(text); });
  }

private:
  static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    LogCapture* self = current_;
    if (self != nullptr && context.category != nullptr &&
        QLatin1String(context.category) == QLatin1String(lcVelmora().categoryName())) {
      QMutexLocker lock(&self->mutex_);
      self->lines_ << message;
      return;
    }
    if (self != nullptr && self->previous_ != nullptr) self->previous_(type, context, message);
  }

  static inline LogCapture* current_ = nullptr;
  QtMessageHandler previous_;
  mutable QMutex mutex_;
  QStringList lines_;
};
