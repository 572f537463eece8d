#include "core/GSapi.h"

#include "core/BTodo.h"
#include "platform/Desktop.h"

namespace {

std::unique_ptr<TSapiVoice>& Voice() {
  static std::unique_ptr<TSapiVoice> voice;
  return voice;
}

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

std::unique_ptr<TSapiVoice> CreateSapiVoice() noexcept {
  try {
    return std::make_unique<TSapiVoice>();
  } catch (...) {
    return nullptr;
  }
}

TSapiVoice* SapiVoice() { return Voice().get(); }

std::unique_ptr<TSapiVoice> ReplaceSapiVoice(std::unique_ptr<TSapiVoice> voice) {
  std::swap(Voice(), voice);
  return voice;
}

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

void PlayReminder(int reminderType, const QString& title, const QString& soundPath) {
  const int type = SapiVoice() != nullptr ? reminderType : WithoutSpeech(reminderType);
  if (TTdTodo::ReminderHasBeep(type)) Quietly([] { Desktop().Beep(); });
  if (TTdTodo::ReminderHasSound(type) && !soundPath.isEmpty()) {
    Quietly([&] { Desktop().PlaySoundFile(soundPath); });
  }
  // Asked again: the sound may have taken a while.
  if (TTdTodo::ReminderHasSpeech(type)) {
    Quietly([&] {
      if (TSapiVoice* voice = SapiVoice()) voice->Speak(title);
    });
  }
}
