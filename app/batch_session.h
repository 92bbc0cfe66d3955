// A batch run from a window, apart from any toolkit. The start command hands
// the model's list to a thread of its own; what the batch says to its log and
// view is gathered there and shown on the window's thread a few times a
// second, all of it at once, so that a long list costs the window about what
// it costs the command line while the log still fills as entries end. Both
// windows (Qt, and Win32 on Windows) are BatchWindows over one session.
#ifndef FENMARQ_APP_BATCH_SESSION_H_
#define FENMARQ_APP_BATCH_SESSION_H_

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <variant>
#include <vector>

#include "app/dialog_model.h"
#include "convert/batch_result.h"
#include "convert/batch_view.h"
#include "convert/log_pane.h"
#include "platform/mutex.h"
#include "platform/thread_annotations.h"

namespace fenmarq {

// What a session needs of a window. Everything but wake() is called on the
// window's thread.
class BatchWindow {
 public:
  virtual ~BatchWindow() = default;

  // While a batch runs, nothing the user does may have any effect, then or
  // afterwards: the controls take no input, the log takes no keys. Unlocking
  // also drops the input that waits for the window.
  virtual void lockInput(bool locked) = 0;
  // The log pane: `text` at its end, whatever the user typed there before.
  virtual void appendLog(std::string_view text) = 0;
  virtual void setLogLimit(std::size_t characters) = 0;
  virtual void selectRow(std::size_t index) = 0;
  virtual void setTitle(std::string_view title) = 0;
  virtual void showFields(const DialogModel::Fields& fields) = 0;
  // A modal message with one OK button; returns when it is dismissed.
  virtual void showMessageBox(std::string_view text) = 0;
  // The batch is over and its message boxes are dismissed.
  virtual void batchEnded() {}

  // Has the window's thread call BatchSession::serve soon; any thread.
  virtual void wake() = 0;
  // Has the window's thread call BatchSession::serve after `delay`.
  virtual void wakeAfter(std::chrono::milliseconds delay) = 0;
  // The time by the clock that wakeAfter's timers run on.
  virtual std::chrono::steady_clock::time_point now() const {
    return std::chrono::steady_clock::now();
  }
};

class BatchSession final : private LogPane, private BatchView {
 public:
  // How long texts are gathered at most before the window shows them.
  static constexpr std::chrono::milliseconds kShowInterval{40};

  BatchSession(DialogModel& model, BatchWindow& window);
  // Quitting during a batch: the batch goes on to its end with nothing more
  // shown (a message box it asks for counts as dismissed), so that no file
  // is left half written.
  ~BatchSession() override;
  BatchSession(const BatchSession&) = delete;
  BatchSession& operator=(const BatchSession&) = delete;

  // The start command: converts the model's list as it stands now.
  void start();
  // Shows what the batch has said since the last call and, once the batch
  // is over, ends it. The window calls it whenever the session wakes it.
  void serve();

 private:
  using Clock = std::chrono::steady_clock;
  struct LogLimit {
    std::size_t characters;
  };
  using LogStep = std::variant<std::string, LogLimit>;
  // What the window has yet to show, in order.
  struct Pending {
    std::vector<LogStep> log;
    std::optional<std::size_t> entry;
    std::optional<ObservationFileName> fields;
    std::optional<std::string> messageBox;  // pending until dismissed
    std::optional<BatchResult> result;      // the batch is over
  };

  // LogPane and BatchView, on the batch's thread.
  void append(std::string_view text) override;
  void appendRepeated(std::string_view text, std::size_t times) override;
  void setLimit(std::size_t characters) override;
  void selectEntry(std::size_t index) override;
  void showFields(const ObservationFileName& name) override;
  void showMessageBox(std::string_view text) override;

  // What is due to be shown now, taken from what is pending (the message box
  // stays pending); none while the texts wait for their interval.
  std::optional<Pending> takeDue() FENMARQ_EXCLUDES(mutex_);
  void show(const Pending& due);
  void dismissMessageBox() FENMARQ_EXCLUDES(mutex_);
  std::string& pendingText() FENMARQ_REQUIRES(mutex_);
  // Wakes the window unless a wake is on its way; `now` wakes it whatever.
  void wakeWindow(bool now = false) FENMARQ_REQUIRES(mutex_);
  void finish(const BatchResult& result);

  // Constant after construction.
  DialogModel& model_;
  BatchWindow& window_;

  // Window thread only.
  std::jthread batch_;             // the last batch's thread
  bool serving_ = false;           // serve() is on the stack
  Clock::time_point lastShown_{};  // by the window's clock

  Mutex mutex_;
  CondVar answered_;  // a message box is dismissed, or the window gone
  // Protected by mutex_.
  Pending pending_ FENMARQ_GUARDED_BY(mutex_);
  bool wakeRequested_ FENMARQ_GUARDED_BY(mutex_) = false;
  bool windowGone_ FENMARQ_GUARDED_BY(mutex_) = false;
};

}  // namespace fenmarq

#endif  // FENMARQ_APP_BATCH_SESSION_H_
