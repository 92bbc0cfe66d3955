// Waiting for another thread of the same item. The hand-offs between the two
// threads of an item come every millisecond or so; a thread that sleeps at
// once has to be woken through the system, which costs from tens of
// microseconds up to milliseconds on virtual machines whose idle processors
// halt. So a waiter spins on the value for a while first, and only then
// sleeps until it is notified.
#ifndef FENMARQ_CONVERT_SPIN_WAIT_H_
#define FENMARQ_CONVERT_SPIN_WAIT_H_

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/cpu_relax.h"

namespace fenmarq {

// Long enough to bridge the gap between two items of a batch (the next
// input opened and read) without the helper falling asleep.
inline constexpr std::chrono::milliseconds kSpinTime{10};

// Returns the value of `value` once it differs from `old`. Writers store
// with release order and then call notify_all(). The spinning pauses the
// processor at first, then yields it to any other thread that is ready to
// run on it (a waiter must not starve the very thread it waits for when
// there are more threads than processors).
template <typename T>
T waitForChange(const std::atomic<T>& value, T old) {
  const auto deadline = std::chrono::steady_clock::now() + kSpinTime;
  for (unsigned spins = 1;; ++spins) {
    const T now = value.load(std::memory_order_acquire);
    if (now != old) return now;
    if (spins < 256) {
      relaxCpu();
    } else {
      std::this_thread::yield();
      if (spins % 16 == 0 && std::chrono::steady_clock::now() > deadline) break;
    }
  }
  for (;;) {
    value.wait(old, std::memory_order_acquire);
    const T now = value.load(std::memory_order_acquire);
    if (now != old) return now;
  }
}

// Returns once `done(value)` holds.
template <typename T, typename Done>
void waitUntil(const std::atomic<T>& value, Done done) {
  for (T now = value.load(std::memory_order_acquire); !done(now);) {
    now = waitForChange(value, now);
  }
}

// Returns once `value` equals `wanted`.
template <typename T>
void waitFor(const std::atomic<T>& value, T wanted) {
  waitUntil(value, [wanted](T now) { return now == wanted; });
}

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_SPIN_WAIT_H_
