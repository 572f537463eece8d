#include "platform/SpeechEngine.h"

#include <atomic>
#include <cstring>
#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>
#include <mutex>

namespace {

// The synthesiser keeps its state in globals: one instance, one lock. Its output mode
// is switched in place between the sound device and memory; shutting it down and
// starting it again is not something it survives reliably.
class Engine {
public:
  // Only a program that never shut the engine down gets here with it running.
  ~Engine() { Shutdown(); }

  void Shutdown() {
    std::lock_guard lock(mutex_);
    if (state_ == State::Running) {
      espeak_Cancel();
      espeak_Terminate();
    }
    state_ = State::Failed;
  }

  void Cancel() {
    std::lock_guard lock(mutex_);
    if (state_ == State::Running) espeak_Cancel();
  }

  void Speak(const QString& text) {
    std::lock_guard lock(mutex_);
    if (!Start(ENOUTPUT_MODE_SPEAK_AUDIO)) return;
    Synth(text);
  }

  SpeechSamples Synthesize(const QString& text) {
    std::lock_guard lock(mutex_);
    SpeechSamples result;
    if (!Start(ENOUTPUT_MODE_SYNCHRONOUS)) return result;
    result.sampleRate = espeak_ng_GetSampleRate();
    sink_.store(&result.samples);
    Synth(text);
    sink_.store(nullptr);
    return result;
  }

private:
  enum class State { NotStarted, Running, Failed };

  // Starts the engine on first use and puts it into the wanted output mode.
  bool Start(espeak_ng_OUTPUT_MODE mode) {
    if (state_ == State::Failed) return false;
    if (state_ == State::NotStarted) {
      espeak_ng_InitializePath(nullptr);
      espeak_ng_ERROR_CONTEXT context = nullptr;
      const espeak_ng_STATUS status = espeak_ng_Initialize(&context);
      espeak_ng_ClearErrorContext(&context);
      if (status != ENS_OK) {
        state_ = State::Failed;
        return false;
      }
      state_ = State::Running;
      espeak_SetSynthCallback(&Engine::Received);
      mode_ = -1;
    }
    if (mode_ != mode) {
      // Let queued speech finish in the mode it was queued in.
      if (mode_ == ENOUTPUT_MODE_SPEAK_AUDIO) espeak_Synchronize();
      if (espeak_ng_InitializeOutput(mode, 0, nullptr) != ENS_OK) return false;
      if (mode_ == -1) espeak_ng_SetVoiceByName(ESPEAKNG_DEFAULT_VOICE);
      mode_ = mode;
    }
    return true;
  }

  static void Synth(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    espeak_Synth(utf8.constData(), static_cast<size_t>(utf8.size()) + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8,
                 nullptr, nullptr);
  }

  // Called with each block of samples when writing to memory, and with events only
  // (from the synthesiser's own thread) when speaking to the device.
  static int Received(short* wave, int count, espeak_EVENT*) {
    std::vector<int16_t>* sink = Instance().sink_.load();
    if (sink != nullptr && wave != nullptr && count > 0) sink->insert(sink->end(), wave, wave + count);
    return 0;
  }

public:
  static Engine& Instance() {
    static Engine engine;
    return engine;
  }

private:
  std::mutex mutex_;
  State state_ = State::NotStarted;
  int mode_ = -1;
  std::atomic<std::vector<int16_t>*> sink_{nullptr};
};

}  // namespace

void SpeechEngine::Speak(const QString& text) { Engine::Instance().Speak(text); }

void SpeechEngine::Cancel() { Engine::Instance().Cancel(); }

void ShutdownSpeech() { Engine::Instance().Shutdown(); }

SpeechSamples SynthesizeSpeech(const QString& text) { return Engine::Instance().Synthesize(text); }
