#include "platform/EventSound.h"

#include <QFile>
#include <QFileInfo>
#include <canberra.h>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>

namespace EventSound {
namespace {

// One context for the process. Completion arrives on a thread of the sound library, so
// waits are kept in a table by play id: a completion that comes after its waiter gave
// up finds nothing and touches nothing.
class SoundContext {
public:
  ~SoundContext() {
    if (context_ != nullptr) ca_context_destroy(context_);
  }

  void PlayBell() {
    ca_context* context = Context();
    if (context != nullptr) ca_context_play(context, 0, CA_PROP_EVENT_ID, "bell", nullptr);
  }

  bool PlayFileAndWait(const QString& path, std::chrono::milliseconds limit) {
    if (!QFileInfo(path).isFile()) return false;
    ca_context* context = Context();
    if (context == nullptr) return false;

    ca_proplist* props = nullptr;
    if (ca_proplist_create(&props) != CA_SUCCESS) return false;
    const QByteArray file = QFile::encodeName(path);
    ca_proplist_sets(props, CA_PROP_MEDIA_FILENAME, file.constData());
    ca_proplist_sets(props, CA_PROP_MEDIA_ROLE, "event");
    ca_proplist_sets(props, CA_PROP_CANBERRA_CACHE_CONTROL, "never");

    auto wait = std::make_shared<Wait>();
    uint32_t id = 0;
    {
      std::lock_guard lock(waitsMutex_);
      id = ++lastId_;
      waits_[id] = wait;
    }
    const int started = ca_context_play_full(context, id, props, &SoundContext::Finished, this);
    ca_proplist_destroy(props);

    std::unique_lock lock(waitsMutex_);
    if (started != CA_SUCCESS) {
      waits_.erase(id);
      return false;
    }
    const bool ended = wait->changed.wait_for(lock, limit, [&] { return wait->done; });
    waits_.erase(id);
    lock.unlock();
    if (!ended) {
      ca_context_cancel(context, id);
      return false;
    }
    return wait->error == CA_SUCCESS;
  }

private:
  struct Wait {
    std::condition_variable changed;
    bool done = false;
    int error = CA_SUCCESS;
  };

  static void Finished(ca_context*, uint32_t id, int error, void* userdata) {
    auto* self = static_cast<SoundContext*>(userdata);
    std::lock_guard lock(self->waitsMutex_);
    const auto it = self->waits_.find(id);
    if (it == self->waits_.end()) return;
    it->second->done = true;
    it->second->error = error;
    it->second->changed.notify_all();
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
  std::mutex waitsMutex_;
  std::map<uint32_t, std::shared_ptr<Wait>> waits_;
  uint32_t lastId_ = 0;
};

SoundContext& Sounds() {
  static SoundContext sounds;
  return sounds;
}

}  // namespace

void PlayBell() { Sounds().PlayBell(); }

bool PlayFileAndWait(const QString& path, std::chrono::milliseconds limit) {
  return Sounds().PlayFileAndWait(path, limit);
}

}  // namespace EventSound
