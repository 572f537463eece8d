#pragma once
// Each pin puts one part of the program's context in place for its lifetime, on top of
// whatever the test already has in place (the fake desktop of every test binary).
//
//   ClockPin clock(EncodeDateTime(2024, 3, 10, 12, 0));
//   FakeVoicePin voice;
//   ... voice.Spoken() ...
#include "core/GSapi.h"
#include "platform/AppContext.h"
#include "support/FakeSpeech.h"

#include <QLocale>
#include <QStringList>

#include <functional>
#include <memory>

// Now is the given moment until the pin goes out of scope.
class ClockPin {
public:
  explicit ClockPin(TDateTime now)
      : now_(now), scope_(ContextWith([this](TAppContext& c) { c.Clock = [this] { return now_; }; })) {}
  void Set(TDateTime now) { now_ = now; }

private:
  TDateTime now_;
  TAppContextScope scope_;
};

// Dates as 03.05.2004, times as 17:05, English day names.
inline TFormatSettings PinnedFormats() {
  TFormatSettings s = FormatSettingsFromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
  s.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
  s.ShortTimeFormat = s.LongTimeFormat = QStringLiteral("HH:mm");
  return s;
}

class FormatPin {
public:
  explicit FormatPin(const TFormatSettings& formats = PinnedFormats())
      : scope_(ContextWith([&](TAppContext& c) { c.Formats = formats; })) {}

private:
  TAppContextScope scope_;
};

// The default data folder.
class DataFolderScope {
public:
  explicit DataFolderScope(const QString& folder)
      : scope_(ContextWith([&](TAppContext& c) { c.DataFolder = folder; })) {}

private:
  TAppContextScope scope_;
};

// A TSapiVoice speaking through `speech` (null: no voice at all).
class VoicePin {
public:
  explicit VoicePin(std::unique_ptr<SpeechVoice> speech)
      : voice_(speech ? std::make_unique<TSapiVoice>(std::move(speech)) : nullptr),
        scope_(ContextWith([this](TAppContext& c) { c.Voice = voice_.get(); })) {}

private:
  std::unique_ptr<TSapiVoice> voice_;
  TAppContextScope scope_;
};

// A recording voice.
class FakeVoicePin {
public:
  FakeVoicePin() : FakeVoicePin(std::make_unique<FakeSpeech>()) {}
  const QStringList& Spoken() const { return speech_.spoken; }
  int Cancels() const { return speech_.cancels; }

private:
  explicit FakeVoicePin(std::unique_ptr<FakeSpeech> speech) : speech_(*speech), pin_(std::move(speech)) {}

  FakeSpeech& speech_;  // owned by the installed voice
  VoicePin pin_;
};

// Help requests go to `handler`.
class HelpPin {
public:
  explicit HelpPin(std::function<void(int)> handler)
      : scope_(ContextWith([&](TAppContext& c) { c.Help = std::move(handler); })) {}

private:
  TAppContextScope scope_;
};
