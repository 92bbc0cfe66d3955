// Background threads for a batch: each runs queued tasks, in the order they
// were queued, on whichever thread is free.
#ifndef FENMARQ_CONVERT_WORKER_POOL_H_
#define FENMARQ_CONVERT_WORKER_POOL_H_

#include <cstddef>
#include <deque>
#include <functional>
#include <thread>
#include <vector>

#include "platform/mutex.h"
#include "platform/thread_annotations.h"

namespace fenmarq {

class WorkerPool {
 public:
  // Starts `count` threads, or as many as the system lets start.
  explicit WorkerPool(std::size_t count);
  // As retire().
  ~WorkerPool();
  WorkerPool(const WorkerPool&) = delete;
  WorkerPool& operator=(const WorkerPool&) = delete;

  // The threads running; none once retired.
  std::size_t size() const { return threads_.size(); }
  void schedule(std::function<void()> task) FENMARQ_EXCLUDES(mutex_);
  // Lets the threads end once every task queued has run, and waits for them.
  void retire() FENMARQ_EXCLUDES(mutex_);

 private:
  void threadMain() FENMARQ_EXCLUDES(mutex_);

  // The owning thread only.
  std::vector<std::jthread> threads_;

  Mutex mutex_;
  CondVar taskQueued_;  // a thread may take a task, or the threads retire
  // Protected by mutex_.
  std::deque<std::function<void()>> tasks_ FENMARQ_GUARDED_BY(mutex_);
  bool retired_ FENMARQ_GUARDED_BY(mutex_) = false;
};

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_WORKER_POOL_H_
