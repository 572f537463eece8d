#include "core/GSapi.h"

namespace {
std::unique_ptr<TSapiVoice>& Voice() {
  static std::unique_ptr<TSapiVoice> voice;
  return voice;
}
}  // namespace

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
