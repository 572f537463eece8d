#pragma once
// Pins for the options tests: the screen size, the default data folder, the speech
// voice and the date formats.
#include "TodoTestSupport.h"
#include "core/TdOption.h"
#include "support/ContextPins.h"
#include "support/FakeDesktop.h"

#include <memory>
#include <optional>

class OptionsPins {
public:
  static constexpr const char* kDataFolder = "/data/velmora-software/velmora/";

  explicit OptionsPins(QSize screen = {1024, 768}) { SetScreen(screen); }
  OptionsPins(const OptionsPins&) = delete;
  OptionsPins& operator=(const OptionsPins&) = delete;

  void SetScreen(QSize screen) { desktop_.screenSize = screen; }
  void SetVoice(bool present) {
    voice_.reset();
    voice_.emplace(present ? std::make_unique<FakeSpeech>() : nullptr);
  }
  FakeDesktop& Desktop() { return desktop_; }

private:
  FakeDesktop desktop_;
  DataFolderScope folder_{QString::fromLatin1(kDataFolder)};
  FormatPin formats_;
  std::optional<VoicePin> voice_{std::in_place, nullptr};
};
