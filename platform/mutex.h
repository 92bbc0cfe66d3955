// A mutex, its scoped lock and a condition variable that Clang's thread
// safety analysis understands (std::mutex is no capability to it, so members
// annotated with one would be checked against nothing).
#ifndef FENMARQ_PLATFORM_MUTEX_H_
#define FENMARQ_PLATFORM_MUTEX_H_

#include <condition_variable>
#include <mutex>

#include "platform/thread_annotations.h"

namespace fenmarq {

class FENMARQ_CAPABILITY("mutex") Mutex {
 public:
  Mutex() = default;
  Mutex(const Mutex&) = delete;
  Mutex& operator=(const Mutex&) = delete;

  void lock() FENMARQ_ACQUIRE() { mutex_.lock(); }
  void unlock() FENMARQ_RELEASE() { mutex_.unlock(); }

 private:
  friend class CondVar;
  std::mutex mutex_;
};

// Holds `mutex` for its lifetime.
class FENMARQ_SCOPED_CAPABILITY MutexLock {
 public:
  explicit MutexLock(Mutex& mutex) FENMARQ_ACQUIRE(mutex) : mutex_(mutex) { mutex_.lock(); }
  ~MutexLock() FENMARQ_RELEASE() { mutex_.unlock(); }
  MutexLock(const MutexLock&) = delete;
  MutexLock& operator=(const MutexLock&) = delete;

 private:
  Mutex& mutex_;
};

// Lets a thread that holds a Mutex sleep until another signals: wait()
// gives the mutex up while it sleeps and holds it again when it returns
// (woken, or spuriously: callers wait in a loop on their condition).
class CondVar {
 public:
  CondVar() = default;
  CondVar(const CondVar&) = delete;
  CondVar& operator=(const CondVar&) = delete;

  void wait(Mutex& mutex) FENMARQ_REQUIRES(mutex) {
    std::unique_lock lock(mutex.mutex_, std::adopt_lock);
    condition_.wait(lock);
    lock.release();  // held again, and still the caller's
  }
  void signal() { condition_.notify_one(); }
  void signalAll() { condition_.notify_all(); }

 private:
  std::condition_variable condition_;
};

}  // namespace fenmarq

#endif  // FENMARQ_PLATFORM_MUTEX_H_
