#pragma once
// Event sounds of the desktop session (freedesktop sound themes), for the Desktop seam.
// Every failure is quiet: without a sound server nothing is heard and nothing is reported.
#include <QString>
#include <chrono>

namespace EventSound {

// Starts the theme's "bell" and returns at once.
void PlayBell();

// Plays a sound file and waits until it has ended, at most `limit` (then the sound is
// stopped). True when it was played to its end.
bool PlayFileAndWait(const QString& path, std::chrono::milliseconds limit);

}  // namespace EventSound
