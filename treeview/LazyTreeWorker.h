#pragma once
// The one worker thread that builds the position caches of every tree in the process.
// It exists while at least one tree does: each tree's constructor acquires it and its
// destructor releases it, and the last release ends the thread.
//
// Trees (their layouters, LazyTreeLayouter.h) queue themselves when their cache must be
// rebuilt; the worker takes them one after the other, walks each tree's rows and reports
// the tree's cache states back to the tree's thread as queued reports tagged with the
// tree's generation. It reaches a tree only through its layouter's public interface. The worker
// never waits for the tree's thread: a tree that is about to change its nodes sets the
// tree's stop flag and waits until the worker has left the tree (it polls the flag at
// every node), so the worker never reads a node that is being changed or freed.
#include "treeview/LazyTreeTypes.h"

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

class QSocketNotifier;
class TLazyTreeLayouter;

class TWorkerThread {
public:
  TWorkerThread();
  ~TWorkerThread();
  TWorkerThread(const TWorkerThread&) = delete;
  TWorkerThread& operator=(const TWorkerThread&) = delete;

  // Adds Tree to the end of the waiting list unless it waits already, and wakes the
  // worker. Leaves the tree's tsStopValidation.
  void QueueTree(TLazyTreeLayouter* Tree);
  // A control is queued by its layouter.
  template <typename Control>
  void QueueTree(Control* Tree) {
    QueueTree(&Tree->Layouter());
  }
  // Takes Tree out of the waiting list.
  void UnqueueTree(TLazyTreeLayouter* Tree);
  // Takes Tree out of the waiting list or, while the worker walks it, waits until the
  // worker has seen the tree's stop flag and left it. Dispatches nothing meanwhile.
  // True when the tree was waiting or being walked.
  bool HaltTree(TLazyTreeLayouter* Tree);
  // The tree being walked, or nil.
  TLazyTreeLayouter* CurrentTree();

private:
  struct Waiting {
    TLazyTreeLayouter* tree;
    std::uint64_t generation;
    unsigned rows;  // rows in view when queued
  };
  struct Report {
    TLazyTreeLayouter* tree;
    std::uint64_t generation;
    TLazyTreeStates enter;
    TLazyTreeStates leave;
  };

  void Execute();
  // Worker side, under the lock: queues a report and wakes the tree's thread.
  void PostReport(const Waiting& job, TLazyTreeStates enter, TLazyTreeStates leave);
  // The tree's thread: hands the queued reports to their trees.
  void DeliverReports();
  // Drops the reports of a tree that goes away.
  void ForgetReports(TLazyTreeLayouter* Tree);

  std::mutex mutex_;
  std::condition_variable wake_;  // a tree was queued, or the thread must end
  std::condition_variable left_;  // the worker left its current tree
  std::deque<Waiting> waiting_;
  std::deque<Report> reports_;
  TLazyTreeLayouter* current_ = nullptr;
  bool terminated_ = false;
  int wakeFd_ = -1;  // an eventfd the tree's thread watches for reports
  QSocketNotifier* notifier_ = nullptr;
  std::thread thread_;

  friend void ReleaseWorker(TLazyTreeLayouter* Tree);
};

// Called by every tree's constructor: starts the worker with the first tree.
void AcquireWorker();
// Called by every tree's destructor: halts the tree's validation, and ends the worker
// with the last tree.
void ReleaseWorker(TLazyTreeLayouter* Tree);
// The worker while any tree exists, else nil. The tree's thread only.
TWorkerThread* WorkerThread();
