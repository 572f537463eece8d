#include "platform/SpeechEngine.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>

namespace {

int Loudest(const std::vector<int16_t>& samples) {
  int loudest = 0;
  for (const int16_t s : samples) loudest = std::max(loudest, std::abs(static_cast<int>(s)));
  return loudest;
}

}  // namespace

TEST(SpeechEngine, SynthesisGivesAudibleSamples) {
  const SpeechSamples speech = SynthesizeSpeech("Call the dentist");
  ASSERT_GT(speech.sampleRate, 0);
  EXPECT_GT(speech.samples.size(), static_cast<size_t>(speech.sampleRate / 4)) << "less than a quarter second";
  EXPECT_GT(Loudest(speech.samples), 1000) << "only silence came out";
}

TEST(SpeechEngine, SpeakReturnsAndTheEngineStillSynthesisesAfterwards) {
  SpeechEngine voice;
  voice.Speak("Reminder: water the plants");
  voice.Speak(QString());
  // Switching from speaking to writing into memory waits for the speech and goes on.
  const SpeechSamples speech = SynthesizeSpeech("Water the plants");
  EXPECT_GT(Loudest(speech.samples), 1000);
  voice.Speak("Done");
}
