#pragma once
// One running copy per user. A later start tells the user, asks the running copy to come
// forward and ends. What "coming forward" does to windows is the caller's: this unit
// knows no windows.
#include <functional>

// True when another copy is running: then "Application is already running" has been
// shown and the running copy asked to come forward, and the caller ends without loading
// or saving anything. False when this is the first copy: it now answers later starts
// through the handler set with SetComeForwardHandler.
bool CheckSingleInstance();

// What the first copy does when a later start asks it to come forward (bring its main
// window to the front); empty for nothing.
void SetComeForwardHandler(std::function<void()> comeForward);

// Stops answering later starts (the next CheckSingleInstance looks again).
void EndSingleInstance();
