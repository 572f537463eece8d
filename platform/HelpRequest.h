#pragma once
// Every help request of the program goes through here. The help window puts its handler
// in place; until then, and in tests that do not listen, a request does nothing.
#include <functional>

void ShowHelpContext(int context);

// Puts a handler in place (empty for none) and returns the one it replaces.
std::function<void(int)> SetHelpHandler(std::function<void(int)> handler);
