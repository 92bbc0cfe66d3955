#include "convert/helper_thread.h"

#include <chrono>
#include <system_error>
#include <thread>
#include <utility>

#include "convert/spin_wait.h"

namespace fenmarq {

HelperThread::HelperThread(std::function<void()> warmUp) : warmUp_(std::move(warmUp)) {
  try {
    thread_ = std::jthread([this] { serve(); });
  } catch (const std::system_error&) {
    // Not running: callers do the work on their own thread.
  }
}

HelperThread::~HelperThread() {
  if (!running()) return;
  finish();
  state_.store(kStopping, std::memory_order_release);
  state_.notify_all();
  // Joining a thread that is still on its way out puts this one to sleep,
  // and waking it costs more than the way out: wait until the helper is
  // leaving, and a few microseconds more, before the join.
  waitFor(leaving_, true);
  const auto out = std::chrono::steady_clock::now() + std::chrono::microseconds(50);
  while (std::chrono::steady_clock::now() < out) std::this_thread::yield();
}

void HelperThread::start(std::function<void()> job) {
  job_ = std::move(job);
  state_.store(kOffered, std::memory_order_release);
  state_.notify_all();
}

bool HelperThread::finish() {
  std::uint32_t state = kOffered;
  if (state_.compare_exchange_strong(state, kIdle, std::memory_order_acq_rel)) return false;
  if (state == kIdle) return false;
  waitFor(state_, std::uint32_t{kDone});
  state_.store(kIdle, std::memory_order_relaxed);
  return true;
}

void HelperThread::serve() {
  // A batch that is over before this thread first runs skips the warm-up.
  // The warm-up only loads what the item's thread would load anyway; should
  // it fail, that thread meets the same failure and reports it.
  if (warmUp_ && state_.load(std::memory_order_acquire) != kStopping) {
    try {
      warmUp_();
    } catch (...) {
    }
  }
  for (std::uint32_t state = kIdle;;) {
    state = waitForChange(state_, state);
    // A failed exchange leaves the state as it is now: withdrawn or stopping.
    if (state == kOffered &&
        state_.compare_exchange_strong(state, kRunning, std::memory_order_acq_rel)) {
      job_();
      state_.store(kDone, std::memory_order_release);
      state_.notify_all();
      state = kDone;
    } else if (state == kStopping) {
      leaving_.store(true, std::memory_order_release);
      leaving_.notify_all();
      return;
    }
  }
}

}  // namespace fenmarq
