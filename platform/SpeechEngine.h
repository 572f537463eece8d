#pragma once
// Spoken text through the espeak-ng synthesiser. The synthesiser is one per process, so
// every entry here shares one engine behind one lock; it starts at the first use.
#include <QString>
#include <cstdint>
#include <vector>

// Something that speaks; the reminders talk to this so tests can listen in.
class SpeechVoice {
public:
  virtual ~SpeechVoice() = default;
  // Starts speaking the text and returns at once.
  virtual void Speak(const QString& text) = 0;
  // Stops what is being spoken and drops what waits to be spoken.
  virtual void Cancel() = 0;
};

// The synthesiser's voice on the sound device. Creating it contacts nothing; the first
// Speak starts the engine. When the engine or the sound device cannot be had, speaking
// stays silent and nothing is reported.
class SpeechEngine : public SpeechVoice {
public:
  void Speak(const QString& text) override;
  void Cancel() override;
};

// Stops the synthesiser for good: speech in progress is cut off and queued speech
// dropped, so it returns promptly, and later Speak calls stay silent. The program calls
// it on its way out, before static destruction; the synthesiser's threads must not be
// left to a static destructor, where waiting for them can hang the exit.
void ShutdownSpeech();

// Mono 16-bit samples at `sampleRate` per second.
struct SpeechSamples {
  std::vector<int16_t> samples;
  int sampleRate = 0;
};

// Synthesises the text into memory and returns when done (after any speech still
// playing); empty when the engine cannot start.
SpeechSamples SynthesizeSpeech(const QString& text);
