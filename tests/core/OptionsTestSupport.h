#pragma once
// Pins for the options tests: the screen size, the default data folder, the speech
// voice and the date formats.
#include "TodoTestSupport.h"
#include "core/GSapi.h"
#include "core/TdDataFolder.h"
#include "core/TdOption.h"
#include "support/FakeSpeech.h"

#include <memory>

class OptionsPins {
public:
  static constexpr const char* kDataFolder = "/data/velmora-software/velmora/";

  explicit OptionsPins(QSize screen = {1024, 768}) : savedVoice_(ReplaceSapiVoice(nullptr)) {
    SetScreen(screen);
    SetDefaultDataFolder(QString::fromLatin1(kDataFolder));
  }
  ~OptionsPins() {
    TTdAppOptionsHandler::SetScreenSizeSource({});
    SetDefaultDataFolder({});
    ReplaceSapiVoice(std::move(savedVoice_));
  }
  OptionsPins(const OptionsPins&) = delete;
  OptionsPins& operator=(const OptionsPins&) = delete;

  void SetScreen(QSize screen) {
    TTdAppOptionsHandler::SetScreenSizeSource([screen] { return screen; });
  }
  void SetVoice(bool present) { ReplaceSapiVoice(present ? std::make_unique<TSapiVoice>(std::make_unique<FakeSpeech>()) : nullptr); }

private:
  std::unique_ptr<TSapiVoice> savedVoice_;
  FormatPin formats_;
};
