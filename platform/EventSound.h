#pragma once
// Event sounds of the desktop session (freedesktop sound themes), for the Desktop seam.
// Every failure is quiet: without a sound server nothing is heard and nothing is reported.
#include <QString>

#include <cstdint>
#include <functional>

namespace EventSound {

// Starts the theme's "bell" and returns at once.
void PlayBell();

// Starts playing a sound file and returns at once: its id, or 0 when it could not be
// started (then `finished` is never called). Otherwise `finished` is called exactly
// once, on a thread of the sound library, with true when the sound played to its end.
uint32_t StartFile(const QString& path, std::function<void(bool played)> finished);

// Stops a sound, or every sound that is playing; their `finished` calls report false.
void Stop(uint32_t id);
void StopAll();

}  // namespace EventSound
