#include "convert/worker_pool.h"

#include <system_error>
#include <utility>

namespace fenmarq {

WorkerPool::WorkerPool(std::size_t count) {
  threads_.reserve(count);
  try {
    for (std::size_t i = 0; i < count; ++i) threads_.emplace_back([this] { threadMain(); });
  } catch (const std::system_error&) {
    // The system refuses more threads: the pool goes on with those there are.
  } catch (...) {
    retire();  // else the threads started would wait for a task forever
    throw;
  }
}

WorkerPool::~WorkerPool() { retire(); }

void WorkerPool::schedule(std::function<void()> task) {
  {
    MutexLock lock(mutex_);
    tasks_.push_back(std::move(task));
  }
  taskQueued_.signal();
}

void WorkerPool::retire() {
  {
    MutexLock lock(mutex_);
    retired_ = true;
  }
  taskQueued_.signalAll();
  threads_.clear();
}

void WorkerPool::threadMain() {
  for (;;) {
    std::function<void()> task;
    {
      MutexLock lock(mutex_);
      while (tasks_.empty() && !retired_) taskQueued_.wait(mutex_);
      if (tasks_.empty()) return;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task();
  }
}

}  // namespace fenmarq
