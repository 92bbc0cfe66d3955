// Must not compile under Clang: a write to data guarded by a mutex, without
// the mutex. The test that builds it passes on the compiler's complaint,
// which shows that the thread-safety check of the build is live.
#include "platform/mutex.h"
#include "platform/thread_annotations.h"

namespace fenmarq {

class Counter {
 public:
  void increment() { ++count_; }

 private:
  Mutex mutex_;
  int count_ FENMARQ_GUARDED_BY(mutex_) = 0;
};

void incrementUnguarded(Counter& counter) { counter.increment(); }

}  // namespace fenmarq
