// The shared cache worker: its waiting list, its walk loop and the way its reports reach
// the trees' thread.
//
// Reports travel through a list under the worker's own lock and an eventfd that the
// trees' thread watches: nothing built on the worker crosses to the trees' thread but
// through that lock, so every node, entry and report the two threads share is ordered
// by it.
#include "treeview/LazyTreeWorker.h"

#include "platform/ApplicationError.h"
#include "platform/Log.h"
#include "treeview/LazyTreeAssert.h"
#include "treeview/LazyTreeCache.h"
#include "treeview/LazyTreeLayouter.h"

#include <QCoreApplication>
#include <QSocketNotifier>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {
// Shared so that a delivery in progress keeps its worker alive when the tree it reports
// to releases the last reference. The holder itself is never destroyed: a tree that
// outlives static destruction (one owned by another static) still finds it at its end.
std::shared_ptr<TWorkerThread>& SharedWorker() {
  static auto* const holder = new std::shared_ptr<TWorkerThread>();
  return *holder;
}
int gTreeCount = 0;
// Deliveries running on the trees' thread: a worker ended inside one must not delete the
// notifier whose signal is still being sent.
int gDelivering = 0;
}  // namespace

TWorkerThread::TWorkerThread() {
  wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (wakeFd_ < 0)
    throw Exception(QStringLiteral("The tree's worker cannot start: %1").arg(QString::fromLocal8Bit(std::strerror(errno))));
  notifier_ = new QSocketNotifier(wakeFd_, QSocketNotifier::Read);
  QObject::connect(notifier_, &QSocketNotifier::activated, notifier_, [this] {
    ++gDelivering;
    {
      const std::shared_ptr<TWorkerThread> keep = SharedWorker();
      DeliverReports();
    }  // the last tree may have gone meanwhile: the worker ends here, `this` with it
    --gDelivering;
  });
  thread_ = std::thread([this] { Execute(); });
}

TWorkerThread::~TWorkerThread() {
  {
    std::lock_guard lock(mutex_);
    terminated_ = true;
    // Only at program exit can a tree still be walked here: it stops at its next node.
    if (current_) current_->Cache().stop.store(true, std::memory_order_relaxed);
  }
  wake_.notify_all();
  thread_.join();
  if (QCoreApplication::instance()) {
    notifier_->setEnabled(false);
    if (gDelivering > 0)
      notifier_->deleteLater();
    else
      delete notifier_;
  }
  ::close(wakeFd_);
}

void TWorkerThread::QueueTree(TLazyTreeLayouter* tree) {
  if (!LazyTreeCheck(tree != nullptr, "Tree must not be nil.")) return;
  tree->ChangeStates({}, {tsStopValidation});
  TPositionCache& cache = tree->Cache();
  {
    std::lock_guard lock(mutex_);
    cache.stop.store(false, std::memory_order_relaxed);
    const Waiting entry{tree, cache.generation, tree->VisibleCount()};
    auto it = std::find_if(waiting_.begin(), waiting_.end(), [tree](const Waiting& w) { return w.tree == tree; });
    if (it == waiting_.end())
      waiting_.push_back(entry);
    else
      *it = entry;
    cache.involved.store(true, std::memory_order_release);
  }
  wake_.notify_one();
}

void TWorkerThread::UnqueueTree(TLazyTreeLayouter* tree) {
  if (!LazyTreeCheck(tree != nullptr, "Tree must not be nil.")) return;
  std::lock_guard lock(mutex_);
  auto it = std::find_if(waiting_.begin(), waiting_.end(), [tree](const Waiting& w) { return w.tree == tree; });
  if (it == waiting_.end()) return;
  waiting_.erase(it);
  if (current_ != tree) tree->Cache().involved.store(false, std::memory_order_release);
}

bool TWorkerThread::HaltTree(TLazyTreeLayouter* tree) {
  TPositionCache& cache = tree->Cache();
  // The worker clears the flag under its lock after its last read of the tree's nodes:
  // seeing it clear orders those reads before whatever this thread changes next.
  if (!cache.involved.load(std::memory_order_acquire)) return false;
  cache.stop.store(true, std::memory_order_relaxed);
  std::unique_lock lock(mutex_);
  bool halted = false;
  auto it = std::find_if(waiting_.begin(), waiting_.end(), [tree](const Waiting& w) { return w.tree == tree; });
  if (it != waiting_.end()) {
    waiting_.erase(it);
    halted = true;
  }
  if (current_ == tree) {
    left_.wait(lock, [&] { return current_ != tree; });
    halted = true;
  }
  cache.involved.store(false, std::memory_order_release);
  return halted;
}

TLazyTreeLayouter* TWorkerThread::CurrentTree() {
  std::lock_guard lock(mutex_);
  return current_;
}

void TWorkerThread::Execute() {
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [&] { return terminated_ || !waiting_.empty(); });
    if (terminated_) return;
    const Waiting job = waiting_.front();
    waiting_.pop_front();
    current_ = job.tree;
    TPositionCache& cache = job.tree->Cache();
    cache.visibleCount = job.rows;
    PostReport(job, {tsValidating}, {tsUseCache});
    lock.unlock();
    bool completed = false;
    try {
      if (!cache.stop.load(std::memory_order_relaxed)) completed = job.tree->BuildPositionCache();
    } catch (...) {
      // A failed build leaves the tree without a cache, as a stopped one: the tree works
      // on without it, and the cause goes to the log.
      LogCurrentException("Building a tree's position cache");
      completed = false;
    }
    lock.lock();
    TLazyTreeStates enter, leave{tsStopValidation, tsValidating};
    if (completed) {
      enter.Include(tsUseCache);
      leave.Include(tsValidationNeeded);
    }
    PostReport(job, enter, leave);
    current_ = nullptr;
    // Queued again while it was walked: it stays involved until its second turn.
    const bool waitsAgain =
        std::any_of(waiting_.begin(), waiting_.end(), [&](const Waiting& w) { return w.tree == job.tree; });
    if (!waitsAgain) cache.involved.store(false, std::memory_order_release);
    left_.notify_all();
  }
}

void TWorkerThread::PostReport(const Waiting& job, TLazyTreeStates enter, TLazyTreeStates leave) {
  reports_.push_back({job.tree, job.generation, enter, leave});
  const std::uint64_t one = 1;
  // A full counter still wakes the reader; nothing more is needed from the write.
  [[maybe_unused]] const ssize_t written = ::write(wakeFd_, &one, sizeof one);
}

void TWorkerThread::DeliverReports() {
  std::uint64_t count = 0;
  [[maybe_unused]] const ssize_t read = ::read(wakeFd_, &count, sizeof count);
  for (;;) {
    Report report;
    {
      std::lock_guard lock(mutex_);
      if (reports_.empty()) return;
      report = reports_.front();
      reports_.pop_front();
    }
    // A report reaches the tree's owner, whose error must not cross the notifier's
    // signal nor hold up the reports after it.
    RunGuarded([&] { report.tree->ApplyCacheReport(report.generation, report.enter, report.leave); });
  }
}

void TWorkerThread::ForgetReports(TLazyTreeLayouter* tree) {
  std::lock_guard lock(mutex_);
  reports_.erase(std::remove_if(reports_.begin(), reports_.end(), [tree](const Report& r) { return r.tree == tree; }),
                 reports_.end());
}

// ---- The process-wide reference ------------------------------------------------------

void AcquireWorker() {
  std::shared_ptr<TWorkerThread>& worker = SharedWorker();
  if (!worker) worker = std::make_shared<TWorkerThread>();
  ++gTreeCount;
}

void ReleaseWorker(TLazyTreeLayouter* tree) {
  std::shared_ptr<TWorkerThread>& worker = SharedWorker();
  if (!worker) return;
  --gTreeCount;
  worker->HaltTree(tree);
  worker->ForgetReports(tree);
  if (gTreeCount == 0) worker.reset();
}

TWorkerThread* WorkerThread() { return SharedWorker().get(); }
