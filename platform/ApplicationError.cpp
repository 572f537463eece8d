#include "platform/ApplicationError.h"

#include "platform/Desktop.h"
#include "platform/Exception.h"

#include <atomic>
#include <cstdio>
#include <exception>

namespace {
std::atomic<bool> toStandardError{false};
}  // namespace

void ShowApplicationError(const QString& message) {
  try {
    if (toStandardError.load()) {
      const QByteArray text = (QStringLiteral("Velmora: ") + message + QLatin1Char('\n')).toLocal8Bit();
      std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stderr);
      std::fflush(stderr);
      return;
    }
    Desktop().MessageBox(QStringLiteral("Application Error"), message, Msg::Critical, Msg::Ok);
  } catch (...) {
    // Nothing may leave the event loop, not even a failure to show the failure.
  }
}

void SendErrorsToStandardError() { toStandardError.store(true); }

QString CurrentExceptionMessage() {
  try {
    throw;
  } catch (const Exception& error) {
    return error.Message();
  } catch (const std::exception& error) {
    return QString::fromLocal8Bit(error.what());
  } catch (...) {
    return QStringLiteral("An unknown error occurred.");
  }
}

bool TErrorGate::Run(const std::function<void()>& handler) noexcept {
  QString message;
  try {
    handler();
    lastShown_.clear();
    return true;
  } catch (...) {
    message = CurrentExceptionMessage();
  }
  // While the box is up the event loop runs, and the same source may fail again.
  if (showing_ || message == lastShown_) return false;
  lastShown_ = message;
  showing_ = true;
  ShowApplicationError(message);
  showing_ = false;
  return false;
}

bool RunGuarded(const std::function<void()>& handler) noexcept {
  try {
    handler();
    return true;
  } catch (...) {
    ShowApplicationError(CurrentExceptionMessage());
    return false;
  }
}
