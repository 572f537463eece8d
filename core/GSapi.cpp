#include "core/GSapi.h"

#include "core/BTodo.h"
#include "platform/AppContext.h"
#include "platform/Desktop.h"

#include <QCoreApplication>

#include <atomic>

namespace {

// Bumped by StopAllAlerts: an alert started before the bump plays nothing more.
std::atomic<unsigned> alertEpoch{0};

// A reminder plays each part it can; one failing part does not silence the others.
template <typename Part>
void Quietly(Part&& part) noexcept {
  try {
    part();
  } catch (...) {
  }
}

}  // namespace

TSapiVoice::TSapiVoice(std::unique_ptr<SpeechVoice> voice)
    : voice_(voice ? std::move(voice) : std::make_unique<SpeechEngine>()) {}

void TSapiVoice::Speak(const QString& text) { voice_->Speak(text); }

void TSapiVoice::Cancel() { voice_->Cancel(); }

std::unique_ptr<TSapiVoice> CreateSapiVoice() noexcept {
  try {
    return std::make_unique<TSapiVoice>();
  } catch (...) {
    return nullptr;
  }
}

SpeechVoice* SapiVoice() { return AppContext().Voice; }

int WithoutSpeech(int reminderType) {
  switch (reminderType) {
    case 3:
    case 4:
      return 1;
    case 5:
      return 2;
    case 7:
      return 6;
    default:
      return reminderType;
  }
}

TReminderAlert::TReminderAlert(QObject* parent) : QObject(parent) {}

TReminderAlert::~TReminderAlert() {
  // The stopped sound reports its end at once; nothing may follow it.
  speakAfterSound_ = false;
  if (soundPlaying_) Quietly([] { Desktop().StopSounds(); });
}

void TReminderAlert::Start(int reminderType, const QString& title, const QString& soundPath) {
  if (started_) return;
  started_ = true;
  epoch_ = alertEpoch.load();
  title_ = title;
  const int type = SapiVoice() != nullptr ? reminderType : WithoutSpeech(reminderType);
  if (TTdTodo::ReminderHasBeep(type)) Quietly([] { Desktop().Beep(); });
  speakAfterSound_ = TTdTodo::ReminderHasSpeech(type);
  if (TTdTodo::ReminderHasSound(type) && !soundPath.isEmpty()) {
    bool playing = false;
    Quietly([&] {
      QPointer<TReminderAlert> self(this);
      soundPlaying_ = true;
      Desktop().PlaySoundFile(soundPath, [self](bool) {
        if (self != nullptr) self->SoundEnded();
      });
      playing = true;
    });
    if (playing) return;
    soundPlaying_ = false;
  }
  SoundEnded();
}

void TReminderAlert::SoundEnded() {
  soundPlaying_ = false;
  // Asked again: the sound may have taken a while, and the voice may be gone.
  if (speakAfterSound_ && epoch_ == alertEpoch.load()) {
    Quietly([&] {
      if (SpeechVoice* voice = SapiVoice()) voice->Speak(title_);
    });
  }
  Finish();
}

void TReminderAlert::Finish() {
  finished_ = true;
  emit finishedPlaying();
}

void PlayReminder(int reminderType, const QString& title, const QString& soundPath) {
  // Owned by the application object until it has played.
  auto* alert = new TReminderAlert(QCoreApplication::instance());
  QObject::connect(alert, &TReminderAlert::finishedPlaying, alert, &QObject::deleteLater);
  alert->Start(reminderType, title, soundPath);
}

void StopAllAlerts() {
  ++alertEpoch;
  Quietly([] { Desktop().StopSounds(); });
  Quietly([] {
    if (SpeechVoice* voice = SapiVoice()) voice->Cancel();
  });
}
