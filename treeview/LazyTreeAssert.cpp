#include "treeview/LazyTreeAssert.h"

#include <QtGlobal>

namespace {
TLazyTreeAssertHandler& Handler() {
  static TLazyTreeAssertHandler handler;
  return handler;
}
}  // namespace

TLazyTreeAssertHandler SetLazyTreeAssertHandler(TLazyTreeAssertHandler handler) {
  TLazyTreeAssertHandler previous = std::move(Handler());
  Handler() = std::move(handler);
  return previous;
}

bool LazyTreeCheck(bool condition, const char* message) {
  if (condition) return true;
  if (Handler())
    Handler()(QString::fromUtf8(message));
  else
    qWarning("Lazy tree: %s", message);
  return false;
}
