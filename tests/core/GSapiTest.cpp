#include "ReminderTestSupport.h"

#include "support/FakeDesktop.h"
#include "support/TempDir.h"

#include <QDataStream>
#include <QFile>
#include <algorithm>
#include <cmath>
#include "support/WaveFile.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace {

// Speech written into the desktop's order of events, so one list shows what came when.
class OrderedSpeech : public SpeechVoice {
public:
  OrderedSpeech(const FakeDesktop& desktop, QStringList& log) : desktop_(desktop), log_(log) {}
  void Speak(const QString& text) override {
    log_ = desktop_.Log();
    log_ << QStringLiteral("speak:") + text;
  }

private:
  const FakeDesktop& desktop_;
  QStringList& log_;
};

struct PlayCase {
  int type;
  QStringList withVoice;
  QStringList withoutVoice;
};

const QString kBeep = QStringLiteral("beep");
const QString kSound = QStringLiteral("sound:/s/ding.wav");
const QString kSpeak = QStringLiteral("speak:Call the dentist");

}  // namespace

TEST(PlayReminder, PlaysBeepSoundAndSpeechInOrder) {
  const std::vector<PlayCase> cases = {
      {0, {}, {}},
      {1, {kBeep}, {kBeep}},
      {2, {kSound}, {kSound}},
      {3, {kSpeak}, {kBeep}},
      {4, {kBeep, kSpeak}, {kBeep}},
      {5, {kSound, kSpeak}, {kSound}},
      {6, {kBeep, kSound}, {kBeep, kSound}},
      {7, {kBeep, kSound, kSpeak}, {kBeep, kSound}},
      {8, {}, {}},
      {-1, {}, {}},
  };
  for (const PlayCase& c : cases) {
    {
      FakeDesktop desktop;
      QStringList log;
      VoicePin voice(std::make_unique<OrderedSpeech>(desktop, log));
      PlayReminder(c.type, QStringLiteral("Call the dentist"), QStringLiteral("/s/ding.wav"));
      if (log.isEmpty()) log = desktop.Log();  // nothing was spoken
      EXPECT_EQ(log, c.withVoice) << "type " << c.type << " with a voice";
      EXPECT_EQ(desktop.Log().size(), c.withVoice.size() - c.withVoice.count(kSpeak)) << "spoken last";
    }
    {
      FakeDesktop desktop;
      VoicePin noVoice(nullptr);
      PlayReminder(c.type, QStringLiteral("Call the dentist"), QStringLiteral("/s/ding.wav"));
      EXPECT_EQ(desktop.Log(), c.withoutVoice) << "type " << c.type << " without a voice";
    }
  }
}

TEST(PlayReminder, NoSoundWithoutAFile) {
  FakeDesktop desktop;
  FakeVoicePin voice;
  PlayReminder(7, QStringLiteral("Call the dentist"), QString());
  EXPECT_EQ(desktop.Log(), QStringList({kBeep}));
  EXPECT_EQ(voice.Spoken(), QStringList({"Call the dentist"}));
}

namespace {

class FailingDesktop : public FakeDesktop {
public:
  void Beep() override {
    FakeDesktop::Beep();
    throw std::runtime_error("no bell");
  }
  bool PlaySoundFile(const QString& path) override {
    FakeDesktop::PlaySoundFile(path);
    throw std::runtime_error("no sound");
  }
};

class FailingSpeech : public SpeechVoice {
public:
  void Speak(const QString&) override { throw std::runtime_error("no speech service"); }
};

}  // namespace

TEST(PlayReminder, FailuresAreSwallowedAndTheOtherPartsStillPlay) {
  {
    FailingDesktop desktop;
    FakeVoicePin voice;
    EXPECT_NO_THROW(PlayReminder(7, QStringLiteral("Call the dentist"), QStringLiteral("/s/ding.wav")));
    EXPECT_EQ(desktop.Log(), QStringList({kBeep, kSound}));
    EXPECT_EQ(voice.Spoken(), QStringList({"Call the dentist"}));
  }
  {
    FakeDesktop desktop;
    VoicePin voice(std::make_unique<FailingSpeech>());
    EXPECT_NO_THROW(PlayReminder(7, QStringLiteral("Call the dentist"), QStringLiteral("/s/ding.wav")));
    EXPECT_EQ(desktop.Log(), QStringList({kBeep, kSound})) << "speech failing does not become a beep";
  }
}

// ---------------------------------------------------------------------------------------
// The real engine and sound layer behind the same road

namespace {

class MemorySpeech : public SpeechVoice {
public:
  explicit MemorySpeech(SpeechSamples& out) : out_(out) {}
  void Speak(const QString& text) override { out_ = SynthesizeSpeech(text); }

private:
  SpeechSamples& out_;
};

int Loudest(const std::vector<int16_t>& samples) {
  int loudest = 0;
  for (const int16_t s : samples) loudest = std::max(loudest, std::abs(static_cast<int>(s)));
  return loudest;
}


}  // namespace

TEST(PlayReminder, SpeaksTheTitleWithTheSynthesiser) {
  FakeDesktop desktop;
  SpeechSamples samples;
  VoicePin voice(std::make_unique<MemorySpeech>(samples));
  PlayReminder(3, QStringLiteral("Call the dentist"), QString());
  ASSERT_GT(samples.sampleRate, 0) << "the synthesiser did not start";
  EXPECT_GT(samples.samples.size(), static_cast<size_t>(samples.sampleRate / 4));
  EXPECT_GT(Loudest(samples.samples), 1000) << "only silence came out";
  EXPECT_TRUE(desktop.Log().isEmpty());
}

TEST(PlayReminder, PlaysASoundFileOnTheSessionOrReturnsQuietly) {
  TempDir dir;
  const QString tone = dir.File("tone.wav");
  ASSERT_TRUE(WriteToneWave(tone, 0.15, 660));
  SessionDesktopScope session;
  FakeVoicePin voice;
  // Played to its end where there is a sound server, refused at once where there is none;
  // either way the speech follows, also after a file that cannot be played.
  PlayReminder(5, QStringLiteral("first"), tone);
  PlayReminder(5, QStringLiteral("second"), dir.File("missing.wav"));
  EXPECT_EQ(voice.Spoken(), QStringList({"first", "second"}));
}
