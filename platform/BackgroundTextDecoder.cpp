#include "platform/BackgroundTextDecoder.h"

#include <cstring>
#include <system_error>

namespace {
// Large enough that handing a batch over costs little against decoding it.
constexpr qsizetype kBatchBytes = 256 * 1024;
// Batches in flight at most, so a large file never takes more than a few in copies.
constexpr int kMaxBatches = 4;
}  // namespace

std::unique_ptr<BackgroundTextDecoder::Batch> BackgroundTextDecoder::TakeSpare() {
  std::unique_lock lock(mutex_);
  if (spare_.empty() && batches_ >= kMaxBatches) changed_.wait(lock, [this] { return !spare_.empty(); });
  if (!spare_.empty()) {
    auto batch = std::move(spare_.back());
    spare_.pop_back();
    return batch;
  }
  ++batches_;
  lock.unlock();
  auto batch = std::make_unique<Batch>();
  batch->bytes.resize(kBatchBytes);
  return batch;
}

void BackgroundTextDecoder::Defer(QByteArrayView bytes, QString* target) {
  if (bytes.isEmpty()) return;
  if (!current_) current_ = TakeSpare();
  Batch& batch = *current_;
  if (batch.bytes.size() - batch.used < bytes.size()) batch.bytes.resize(std::max(2 * batch.bytes.size(), batch.used + bytes.size()));
  std::memcpy(batch.bytes.data() + batch.used, bytes.data(), static_cast<size_t>(bytes.size()));
  batch.items.push_back({target, batch.used, bytes.size()});
  batch.used += bytes.size();
}

void BackgroundTextDecoder::Commit() {
  if (!current_) return;
  current_->committed = current_->items.size();
  if (current_->used >= kBatchBytes) Submit();
}

void BackgroundTextDecoder::Submit() {
  current_->items.resize(current_->committed);
  if (!worker_.joinable() && !noThread_) {
    try {
      auto run = [this] { Run(); };
      worker_ = startThread_ ? startThread_(run) : std::thread(run);
    } catch (const std::system_error&) {
      noThread_ = true;  // slower, but the file still loads
    }
  }
  if (noThread_) {
    Decode(*current_);
    std::lock_guard lock(mutex_);
    spare_.push_back(std::move(current_));
    return;
  }
  std::lock_guard lock(mutex_);
  queued_.push_back(std::move(current_));
  changed_.notify_all();
}

void BackgroundTextDecoder::Finish() {
  if (current_ && current_->committed == 0) {
    std::lock_guard lock(mutex_);
    current_->items.clear();
    current_->used = 0;
    spare_.push_back(std::move(current_));
  }
  if (current_) Submit();
  {
    std::lock_guard lock(mutex_);
    finishing_ = true;
    changed_.notify_all();
  }
  if (worker_.joinable()) worker_.join();
  finishing_ = false;
}

void BackgroundTextDecoder::Decode(Batch& batch) {
  for (const Item& item : batch.items)
    *item.target = pool_.Decode(QByteArrayView(batch.bytes.constData() + item.offset, item.size));
  batch.items.clear();
  batch.used = 0;
  batch.committed = 0;
}

void BackgroundTextDecoder::Run() {
  std::unique_lock lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return !queued_.empty() || finishing_; });
    if (queued_.empty()) return;
    auto batch = std::move(queued_.front());
    queued_.pop_front();
    lock.unlock();
    Decode(*batch);
    lock.lock();
    spare_.push_back(std::move(batch));
    changed_.notify_all();
  }
}
