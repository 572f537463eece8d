#pragma once
// The program's one logging category. Failures that are handled without telling the
// user (a worker that gives up, an owner's error turned into a failure code for a
// caller that only understands codes) are written here with their message, so they can
// be found later; QT_LOGGING_RULES="velmora.debug=true" and the like select them.
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcVelmora)

// Logs the exception being handled (for use inside a catch block) as a warning that
// names what failed.
void LogCurrentException(const char* what) noexcept;
