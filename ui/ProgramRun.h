#pragma once
// One run of the program inside a context that is already in place: the single-instance
// check, the application handler, the main window, the loop, and the way out. The
// program's main() builds the real context around it; tests run it with their own.
#include "core/TdApp.h"

class TMainDialogs;

// Returns the exit code: 0 for an ordinary end (also one asked for by a termination
// signal), 1 when the start failed or the last save could not be made.
// `dialogs` opens the main window's dialogs (null: the program's own, TProgramDialogs).
int RunProgram(const TTodoAppTimings& timings = {}, TMainDialogs* dialogs = nullptr);
