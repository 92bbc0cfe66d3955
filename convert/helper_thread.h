// A second thread kept for a whole batch, which runs one job at a time for
// the item under way (its sheet, while the item's own thread writes the hex
// files). Starting one thread per batch rather than per item, and handing
// jobs over through spin waits, keeps each hand-off in microseconds.
#ifndef FENMARQ_CONVERT_HELPER_THREAD_H_
#define FENMARQ_CONVERT_HELPER_THREAD_H_

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

namespace fenmarq {

class HelperThread {
 public:
  // Starts the thread, which runs `warmUp` first. running() is false when
  // the system refuses the thread.
  explicit HelperThread(std::function<void()> warmUp = {});
  // Waits for the job under way, then ends the thread.
  ~HelperThread();
  HelperThread(const HelperThread&) = delete;
  HelperThread& operator=(const HelperThread&) = delete;

  bool running() const { return thread_.joinable(); }

  // Offers `job` to the helper thread and returns at once. The job before
  // it must have been settled with finish(). A job must not throw: no caller
  // could catch it on the helper thread.
  void start(std::function<void()> job);
  // Returns once the job given to start() is done (true), or withdraws it if
  // the helper has not taken it up yet (false): the caller must then see to
  // its work. A thread that was idle may take milliseconds to be scheduled
  // again; withdrawing spares the caller that wait. False also when no job
  // was given.
  bool finish();

 private:
  enum State : std::uint32_t { kIdle, kOffered, kRunning, kDone, kStopping };

  void serve();

  std::function<void()> warmUp_;
  std::function<void()> job_;
  // Storing kOffered publishes job_; storing kDone what the job wrote.
  std::atomic<std::uint32_t> state_{kIdle};
  std::atomic<bool> leaving_{false};  // the thread is past its last use of this
  std::jthread thread_;
};

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_HELPER_THREAD_H_
