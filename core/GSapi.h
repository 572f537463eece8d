#pragma once
// The program-wide speech voice. It is made once at start without contacting the
// speech engine; when making it fails there is none, and every reminder plays without
// its speech part.
#include <QString>
#include <memory>

class TSapiVoice {
public:
  virtual ~TSapiVoice() = default;
  // Starts speaking the text and returns at once.
  virtual void Speak(const QString& text) = 0;
};

// The voice, or null when there is none.
TSapiVoice* SapiVoice();
// Puts a voice in place (null for none) and returns the one it replaces; the program's
// start and tests use it.
std::unique_ptr<TSapiVoice> ReplaceSapiVoice(std::unique_ptr<TSapiVoice> voice);

// The reminder type without its speech part: speech alone becomes a beep.
int WithoutSpeech(int reminderType);
