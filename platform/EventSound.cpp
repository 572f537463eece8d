#include "platform/EventSound.h"

#include <QFile>
#include <QFileInfo>
#include <canberra.h>
#include <map>
#include <mutex>

namespace EventSound {
namespace {

// One context for the process. Completion arrives on a thread of the sound library, so
// the callbacks are kept in a table by play id and taken out under the lock: each one
// runs once, and nothing runs for a sound the table no longer knows.
class SoundContext {
public:
  ~SoundContext() {
    if (context_ != nullptr) ca_context_destroy(context_);
  }

  void PlayBell() {
    ca_context* context = Context();
    if (context != nullptr) ca_context_play(context, 0, CA_PROP_EVENT_ID, "bell", nullptr);
  }

  uint32_t StartFile(const QString& path, std::function<void(bool)> finished) {
    if (!QFileInfo(path).isFile()) return 0;
    ca_context* context = Context();
    if (context == nullptr) return 0;

    ca_proplist* props = nullptr;
    if (ca_proplist_create(&props) != CA_SUCCESS) return 0;
    const QByteArray file = QFile::encodeName(path);
    ca_proplist_sets(props, CA_PROP_MEDIA_FILENAME, file.constData());
    ca_proplist_sets(props, CA_PROP_MEDIA_ROLE, "event");
    ca_proplist_sets(props, CA_PROP_CANBERRA_CACHE_CONTROL, "never");

    uint32_t id = 0;
    {
      std::lock_guard lock(playingMutex_);
      id = ++lastId_;
      if (id == 0) id = ++lastId_;
      playing_[id] = std::move(finished);
    }
    const int started = ca_context_play_full(context, id, props, &SoundContext::Finished, this);
    ca_proplist_destroy(props);
    if (started != CA_SUCCESS) {
      std::lock_guard lock(playingMutex_);
      playing_.erase(id);
      return 0;
    }
    return id;
  }

  void Stop(uint32_t id) {
    ca_context* context = ExistingContext();
    if (context != nullptr) ca_context_cancel(context, id);
  }

  void StopAll() {
    std::vector<uint32_t> ids;
    {
      std::lock_guard lock(playingMutex_);
      for (const auto& entry : playing_) ids.push_back(entry.first);
    }
    for (const uint32_t id : ids) Stop(id);
  }

private:
  static void Finished(ca_context*, uint32_t id, int error, void* userdata) {
    auto* self = static_cast<SoundContext*>(userdata);
    std::function<void(bool)> finished;
    {
      std::lock_guard lock(self->playingMutex_);
      const auto it = self->playing_.find(id);
      if (it == self->playing_.end()) return;
      finished = std::move(it->second);
      self->playing_.erase(it);
    }
    if (finished) finished(error == CA_SUCCESS);
  }

  ca_context* ExistingContext() {
    std::lock_guard lock(contextMutex_);
    return context_;
  }

  // Connects on first use and again after a failed attempt, so a sound server that
  // starts later is found.
  ca_context* Context() {
    std::lock_guard lock(contextMutex_);
    if (context_ != nullptr) return context_;
    ca_context* context = nullptr;
    if (ca_context_create(&context) != CA_SUCCESS) return nullptr;
    ca_context_change_props(context, CA_PROP_APPLICATION_NAME, "Velmora", CA_PROP_APPLICATION_ID,
                            "velmora", nullptr);
    if (ca_context_open(context) != CA_SUCCESS) {
      ca_context_destroy(context);
      return nullptr;
    }
    context_ = context;
    return context_;
  }

  std::mutex contextMutex_;
  ca_context* context_ = nullptr;
  std::mutex playingMutex_;
  std::map<uint32_t, std::function<void(bool)>> playing_;
  uint32_t lastId_ = 0;
};

SoundContext& Sounds() {
  static SoundContext sounds;
  return sounds;
}

}  // namespace

void PlayBell() { Sounds().PlayBell(); }

uint32_t StartFile(const QString& path, std::function<void(bool)> finished) {
  return Sounds().StartFile(path, std::move(finished));
}

void Stop(uint32_t id) { Sounds().Stop(id); }

void StopAll() { Sounds().StopAll(); }

}  // namespace EventSound
