#pragma once
// A voice that writes down what it was asked to say instead of speaking.
#include "platform/SpeechEngine.h"

#include <QStringList>

class FakeSpeech : public SpeechVoice {
public:
  void Speak(const QString& text) override { spoken << text; }
  void Cancel() override { ++cancels; }

  QStringList spoken;
  int cancels = 0;
};
