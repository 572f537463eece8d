#pragma once
// Starting the program with the user's session.

// On: the value "Velmora" of the Run key holds the program's path (raises EUtException
// when it cannot be written). Off: the value is deleted; a failure is ignored.
void SetAutoStart(bool on);
