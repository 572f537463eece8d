#pragma once
// Every help request of the program goes through here, to the context's help handler;
// without one (tests that do not listen, programs without help) a request does nothing.

void ShowHelpContext(int context);
