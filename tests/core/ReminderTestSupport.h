#pragma once
// A speech voice put in place of the program's for the lifetime of the object.
#include "core/GSapi.h"
#include "support/FakeSpeech.h"

#include <memory>

class VoicePin {
public:
  // Installs a TSapiVoice speaking through `speech` (null: no voice at all).
  explicit VoicePin(std::unique_ptr<SpeechVoice> speech)
      : previous_(ReplaceSapiVoice(speech ? std::make_unique<TSapiVoice>(std::move(speech)) : nullptr)) {}
  ~VoicePin() { ReplaceSapiVoice(std::move(previous_)); }
  VoicePin(const VoicePin&) = delete;
  VoicePin& operator=(const VoicePin&) = delete;

private:
  std::unique_ptr<TSapiVoice> previous_;
};

// A recording voice installed for the lifetime of the object.
class FakeVoicePin {
public:
  FakeVoicePin() : FakeVoicePin(std::make_unique<FakeSpeech>()) {}
  const QStringList& Spoken() const { return speech_.spoken; }

private:
  explicit FakeVoicePin(std::unique_ptr<FakeSpeech> speech) : speech_(*speech), pin_(std::move(speech)) {}

  FakeSpeech& speech_;  // owned by the installed voice
  VoicePin pin_;
};
