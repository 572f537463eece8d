#pragma once
// Wrong calls into the tree (a nil node where one is needed, the hidden root where a real
// node is needed) are programming errors: they are reported through one handler and the
// call does nothing, so a mistake in an owner shows up without taking the program down.
// Tests install a handler to see the message.
#include <QString>

#include <functional>

using TLazyTreeAssertHandler = std::function<void(const QString& Message)>;

// Installs a handler and returns the previous one; an empty handler restores the default,
// which writes a warning.
TLazyTreeAssertHandler SetLazyTreeAssertHandler(TLazyTreeAssertHandler Handler);
// Reports Message when Condition is false; returns Condition.
bool LazyTreeCheck(bool Condition, const char* Message);
