#pragma once
// One running copy per user. A later start tells the user, asks the running copy to come
// forward and ends.
class QWidget;

// True when another copy is running: then "Application is already running" has been
// shown and the running copy asked to come forward, and the caller ends without loading
// or saving anything. False when this is the first copy: it now answers later starts by
// bringing `mainWindow` forward.
bool CheckSingleInstance(QWidget* mainWindow);

// Stops answering later starts (the next CheckSingleInstance looks again).
void EndSingleInstance();
