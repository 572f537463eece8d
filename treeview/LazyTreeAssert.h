#pragma once
// Wrong calls into the tree (a nil node where one is needed, the hidden root where a real
// node is needed) are programming errors: they are reported through one handler and the
// call does nothing, so a mistake in an owner shows up without taking the program down.
// Tests put a handler in place for a scope to see the message.
#include <QString>

#include <functional>

using TLazyTreeAssertHandler = std::function<void(const QString& Message)>;

// Puts a handler in place for its lifetime and then the one before it again; without
// one, the default writes a warning to the program's log. Scopes nest and end in the
// reverse order.
class TLazyTreeAssertScope {
public:
  explicit TLazyTreeAssertScope(TLazyTreeAssertHandler Handler);
  ~TLazyTreeAssertScope();
  TLazyTreeAssertScope(const TLazyTreeAssertScope&) = delete;
  TLazyTreeAssertScope& operator=(const TLazyTreeAssertScope&) = delete;

private:
  TLazyTreeAssertHandler previous_;
};
// Reports Message through the handler in place; returns false.
bool LazyTreeReport(const char* Message);
// Reports Message when Condition is false; returns Condition. Inline, since owners call
// node accessors that check their arguments inside comparisons run millions of times.
inline bool LazyTreeCheck(bool Condition, const char* Message) { return Condition || LazyTreeReport(Message); }
