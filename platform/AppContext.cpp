#include "platform/AppContext.h"

#include <atomic>

namespace {

std::atomic<const TAppContextScope*> current{nullptr};

const TAppContext& EmptyContext() {
  static const TAppContext empty;
  return empty;
}

}  // namespace

const TAppContext& AppContext() {
  const TAppContextScope* scope = current.load(std::memory_order_acquire);
  return scope != nullptr ? scope->Context() : EmptyContext();
}

TAppContextScope::TAppContextScope(TAppContext context)
    : context_(std::move(context)), previous_(current.load(std::memory_order_acquire)) {
  current.store(this, std::memory_order_release);
}

TAppContextScope::~TAppContextScope() { current.store(previous_, std::memory_order_release); }

TAppContext ContextWith(std::function<void(TAppContext&)> change) {
  TAppContext context = AppContext();
  change(context);
  return context;
}
