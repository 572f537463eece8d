#include "platform/Log.h"

#include "platform/ApplicationError.h"

Q_LOGGING_CATEGORY(lcVelmora, "velmora")

void LogCurrentException(const char* what) noexcept {
  try {
    qCWarning(lcVelmora).noquote() << what << "failed:" << CurrentExceptionMessage();
  } catch (...) {
    // A failure to log is not worth a second failure.
  }
}
