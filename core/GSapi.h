#pragma once
// The program-wide speech voice and the playback of a reminder. The voice is made once at
// start without contacting the speech engine; when making it fails there is none, and
// every reminder plays without its speech part.
#include "platform/SpeechEngine.h"

#include <QString>
#include <memory>

class TSapiVoice {
public:
  // Speaks through the given voice, by default the synthesiser on the sound device.
  // Contacts nothing: the engine starts at the first Speak.
  explicit TSapiVoice(std::unique_ptr<SpeechVoice> voice = nullptr);
  TSapiVoice(const TSapiVoice&) = delete;
  TSapiVoice& operator=(const TSapiVoice&) = delete;

  // Starts speaking the text and returns at once.
  void Speak(const QString& text);

private:
  std::unique_ptr<SpeechVoice> voice_;
};

// The voice for the program's start, or null when it cannot be made.
std::unique_ptr<TSapiVoice> CreateSapiVoice() noexcept;

// The voice, or null when there is none.
TSapiVoice* SapiVoice();
// Puts a voice in place (null for none) and returns the one it replaces; the program's
// start and tests use it.
std::unique_ptr<TSapiVoice> ReplaceSapiVoice(std::unique_ptr<TSapiVoice> voice);

// The reminder type without its speech part: speech alone becomes a beep.
int WithoutSpeech(int reminderType);

// Beep, then the sound file played to its end, then the title spoken, as far as the type
// includes them; without a voice the speech part is left out (WithoutSpeech). Nothing
// that fails here reaches the caller.
void PlayReminder(int reminderType, const QString& title, const QString& soundPath);
