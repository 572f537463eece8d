#include "treeview/LazyTreeAssert.h"

#include "platform/Log.h"

#include <QtGlobal>

namespace {
TLazyTreeAssertHandler& Handler() {
  static TLazyTreeAssertHandler handler;
  return handler;
}
}  // namespace

TLazyTreeAssertScope::TLazyTreeAssertScope(TLazyTreeAssertHandler handler) : previous_(std::move(Handler())) {
  Handler() = std::move(handler);
}

TLazyTreeAssertScope::~TLazyTreeAssertScope() { Handler() = std::move(previous_); }

bool LazyTreeReport(const char* message) {
  if (Handler())
    Handler()(QString::fromUtf8(message));
  else
    qCWarning(lcVelmora, "Lazy tree: %s", message);
  return false;
}
