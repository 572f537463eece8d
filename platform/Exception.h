#pragma once
// The one base of every error the program raises: it carries the message text that
// the error box shows. Classes named for a subsystem derive from it.
#include <QByteArray>
#include <QString>
#include <exception>

class Exception : public std::exception {
public:
  explicit Exception(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}
  const QString& Message() const noexcept { return message_; }
  const char* what() const noexcept override { return utf8_.constData(); }

private:
  QString message_;
  QByteArray utf8_;
};

// A stream ended early or held a value that cannot be read.
class EReadError : public Exception {
public:
  using Exception::Exception;
};

// A file could not be created or written.
class EWriteError : public Exception {
public:
  using Exception::Exception;
};
