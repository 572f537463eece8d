#include "controls/clexcpt.h"

#include "controls/clsr.h"

EClException::EClException(int messageId) : Exception(GetClString(messageId)), messageId_(messageId) {}
