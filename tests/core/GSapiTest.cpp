// A reminder's alert: beep, sound file, spoken title, in that order, with the sound
// playing while the event loop goes on.
#include "core/GSapi.h"
#include "support/ContextPins.h"
#include "support/FakeDesktop.h"
#include "support/TempDir.h"
#include "support/WaveFile.h"

#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include <gtest/gtest.h>

namespace {

// Speech written into the desktop's log, so one list shows what came when.
class LoggedSpeech : public SpeechVoice {
public:
  explicit LoggedSpeech(FakeDesktop& desktop) : desktop_(desktop) {}
  void Speak(const QString& text) override { desktop_.Note(QStringLiteral("speak:") + text); }
  void Cancel() override { desktop_.Note(QStringLiteral("speech-cancel")); }

private:
  FakeDesktop& desktop_;
};

// Plays an alert and runs the event loop until it has finished.
void PlayToTheEnd(int type, const QString& title, const QString& soundPath) {
  TReminderAlert alert;
  QSignalSpy finished(&alert, &TReminderAlert::finishedPlaying);
  alert.Start(type, title, soundPath);
  if (!alert.Finished()) {
    ASSERT_TRUE(finished.wait(30000)) << "the alert never finished";
  }
}

struct PlayCase {
  int type;
  QStringList withVoice;
  QStringList withoutVoice;
};

const QString kTitle = QStringLiteral("Call the dentist");
const QString kPath = QStringLiteral("/s/ding.wav");
const QString kBeep = QStringLiteral("beep");
const QString kSound = QStringLiteral("sound:/s/ding.wav");
const QString kSpeak = QStringLiteral("speak:Call the dentist");

}  // namespace

TEST(ReminderAlert, PlaysBeepSoundAndSpeechInOrder) {
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
      VoicePin voice(std::make_unique<LoggedSpeech>(desktop));
      PlayToTheEnd(c.type, kTitle, kPath);
      EXPECT_EQ(desktop.Log(), c.withVoice) << "type " << c.type << " with a voice";
    }
    {
      FakeDesktop desktop;
      VoicePin noVoice(nullptr);
      PlayToTheEnd(c.type, kTitle, kPath);
      EXPECT_EQ(desktop.Log(), c.withoutVoice) << "type " << c.type << " without a voice";
    }
  }
}

TEST(ReminderAlert, NoSoundWithoutAFile) {
  FakeDesktop desktop;
  FakeVoicePin voice;
  PlayToTheEnd(7, kTitle, QString());
  EXPECT_EQ(desktop.Log(), QStringList({kBeep}));
  EXPECT_EQ(voice.Spoken(), QStringList({kTitle}));
}

TEST(ReminderAlert, TheTitleIsSpokenOnlyWhenTheSoundHasEnded) {
  FakeDesktop desktop;
  desktop.autoFinishSounds = false;
  FakeVoicePin voice;
  TReminderAlert alert;
  alert.Start(7, kTitle, kPath);
  EXPECT_EQ(desktop.Log(), QStringList({kBeep, kSound})) << "Start returns while the sound plays";
  EXPECT_TRUE(voice.Spoken().isEmpty());
  EXPECT_FALSE(alert.Finished());
  desktop.FinishSounds();
  EXPECT_EQ(voice.Spoken(), QStringList({kTitle}));
  EXPECT_TRUE(alert.Finished());
}

TEST(ReminderAlert, AnAlertThatGoesAwayStopsItsSoundAndSaysNothing) {
  FakeDesktop desktop;
  desktop.autoFinishSounds = false;
  FakeVoicePin voice;
  {
    TReminderAlert alert;
    alert.Start(7, kTitle, kPath);
  }
  EXPECT_EQ(desktop.Log(), QStringList({kBeep, kSound, "stop-sounds"}));
  EXPECT_TRUE(voice.Spoken().isEmpty());
}

TEST(ReminderAlert, StoppingAllAlertsCutsSoundAndSpeechAndDropsWhatIsToCome) {
  FakeDesktop desktop;
  desktop.autoFinishSounds = false;
  VoicePin voice(std::make_unique<LoggedSpeech>(desktop));
  TReminderAlert alert;
  alert.Start(7, kTitle, kPath);
  StopAllAlerts();
  EXPECT_EQ(desktop.Log(), QStringList({kBeep, kSound, "stop-sounds", "speech-cancel"}));
  EXPECT_TRUE(alert.Finished()) << "the stopped sound ended the alert";

  desktop.Clear();
  PlayToTheEnd(4, kTitle, kPath);
  EXPECT_EQ(desktop.Log(), QStringList({kBeep, kSpeak})) << "a later alert plays again";
}

namespace {

class FailingDesktop : public FakeDesktop {
public:
  void Beep() override {
    FakeDesktop::Beep();
    throw std::runtime_error("no bell");
  }
  void PlaySoundFile(const QString& path, std::function<void(bool)> finished) override {
    FakeDesktop::PlaySoundFile(path, {});
    (void)finished;
    throw std::runtime_error("no sound");
  }
};

class FailingSpeech : public SpeechVoice {
public:
  void Speak(const QString&) override { throw std::runtime_error("no speech service"); }
  void Cancel() override {}
};

}  // namespace

TEST(ReminderAlert, FailuresAreSwallowedAndTheOtherPartsStillPlay) {
  {
    FailingDesktop desktop;
    FakeVoicePin voice;
    EXPECT_NO_THROW(PlayToTheEnd(7, kTitle, kPath));
    EXPECT_EQ(desktop.Log(), QStringList({kBeep, kSound}));
    EXPECT_EQ(voice.Spoken(), QStringList({kTitle}));
  }
  {
    FakeDesktop desktop;
    VoicePin voice(std::make_unique<FailingSpeech>());
    EXPECT_NO_THROW(PlayToTheEnd(7, kTitle, kPath));
    EXPECT_EQ(desktop.Log(), QStringList({kBeep, kSound})) << "speech failing does not become a beep";
  }
}

TEST(PlayReminder, PlaysOnAndFreesItself) {
  FakeDesktop desktop;
  FakeVoicePin voice;
  PlayReminder(5, kTitle, kPath);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !voice.Spoken().isEmpty(); }, 30000));
  EXPECT_EQ(desktop.Log(), QStringList({kSound}));
  EXPECT_TRUE(QTest::qWaitFor(
      [] { return QCoreApplication::instance()->findChildren<TReminderAlert*>().isEmpty(); }, 30000));
}

// ---------------------------------------------------------------------------------------
// The real engine and sound layer behind the same road

namespace {

class MemorySpeech : public SpeechVoice {
public:
  explicit MemorySpeech(SpeechSamples& out) : out_(out) {}
  void Speak(const QString& text) override { out_ = SynthesizeSpeech(text); }
  void Cancel() override {}

private:
  SpeechSamples& out_;
};

int Loudest(const std::vector<int16_t>& samples) {
  int loudest = 0;
  for (const int16_t s : samples) loudest = std::max(loudest, std::abs(static_cast<int>(s)));
  return loudest;
}

}  // namespace

TEST(ReminderAlert, SpeaksTheTitleWithTheSynthesiser) {
  FakeDesktop desktop;
  SpeechSamples samples;
  VoicePin voice(std::make_unique<MemorySpeech>(samples));
  PlayToTheEnd(3, kTitle, QString());
  ASSERT_GT(samples.sampleRate, 0) << "the synthesiser did not start";
  EXPECT_GT(samples.samples.size(), static_cast<size_t>(samples.sampleRate / 4));
  EXPECT_GT(Loudest(samples.samples), 1000) << "only silence came out";
  EXPECT_TRUE(desktop.Log().isEmpty());
}

TEST(ReminderAlert, PlaysASoundFileOnTheSessionOrEndsQuietly) {
  TempDir dir;
  const QString tone = dir.File("tone.wav");
  ASSERT_TRUE(WriteToneWave(tone, 0.15, 660));
  SessionDesktopScope session;
  FakeVoicePin voice;
  // Played to its end where there is a sound server, refused where there is none;
  // either way the speech follows, also after a file that cannot be played.
  PlayToTheEnd(5, QStringLiteral("first"), tone);
  PlayToTheEnd(5, QStringLiteral("second"), dir.File("missing.wav"));
  EXPECT_EQ(voice.Spoken(), QStringList({"first", "second"}));
}
