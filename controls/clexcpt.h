#pragma once
// The control library's error base: each error names a message number and takes its
// text from the library's message table, so the text follows a translation.
#include "platform/Exception.h"

class EClException : public Exception {
public:
  explicit EClException(int messageId);
  int MessageId() const noexcept { return messageId_; }

private:
  int messageId_;
};
