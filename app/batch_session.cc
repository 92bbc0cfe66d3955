#include "app/batch_session.h"

#include <utility>

namespace fenmarq {

BatchSession::BatchSession(DialogModel& model, BatchWindow& window)
    : model_(model), window_(window) {}

BatchSession::~BatchSession() {
  {
    const std::lock_guard lock(mutex_);
    windowGone_ = true;
  }
  answered_.notify_all();
  if (batch_.joinable()) batch_.join();
}

void BatchSession::start() {
  if (model_.batchRunning()) return;
  window_.lockInput(true);
  std::vector<std::string> targets = model_.startBatch();
  if (batch_.joinable()) batch_.join();  // the last batch's thread, already at its end
  batch_ = std::jthread([this, targets = std::move(targets)] {
    BatchResult result = model_.runBatch(targets, *this, *this);
    const std::lock_guard lock(mutex_);
    result_ = std::move(result);
    wakeWindow(true);
  });
}

void BatchSession::serve() {
  // A message box's own message loop serves the window too; the call that
  // opened the box goes on once it is dismissed.
  if (serving_) return;
  std::unique_lock lock(mutex_);
  const bool urgent = messageBox_ || result_;
  if (!urgent) {
    const bool news = !pendingLog_.empty() || pendingEntry_ || pendingFields_;
    if (!news) return;
    const Clock::duration early = lastShown_ + kShowInterval - Clock::now();
    if (early > Clock::duration::zero()) {
      // A wake stays requested until the texts are shown.
      window_.wakeAfter(std::chrono::ceil<std::chrono::milliseconds>(early));
      return;
    }
  }
  wakeRequested_ = false;
  const std::vector<LogStep> log = std::exchange(pendingLog_, {});
  const std::optional<std::size_t> entry = std::exchange(pendingEntry_, std::nullopt);
  const std::optional<ObservationFileName> fields = std::exchange(pendingFields_, std::nullopt);
  const std::optional<std::string> messageBox = messageBox_;
  const std::optional<BatchResult> result = std::exchange(result_, std::nullopt);
  lock.unlock();

  serving_ = true;
  for (const LogStep& step : log) {
    if (const auto* text = std::get_if<std::string>(&step)) {
      window_.appendLog(*text);
    } else {
      window_.setLogLimit(std::get<LogLimit>(step).characters);
    }
  }
  if (fields) window_.showFields(DialogModel::fieldsOf(*fields));
  if (entry) {
    window_.selectRow(*entry);
    model_.entryReached(*entry);
    window_.setTitle(model_.title());
  }
  lastShown_ = Clock::now();
  if (messageBox) {
    window_.showMessageBox(*messageBox);
    lock.lock();
    messageBox_.reset();
    lock.unlock();
    answered_.notify_all();
  }
  if (result) finish(*result);
  serving_ = false;
}

void BatchSession::finish(const BatchResult& result) {
  batch_.join();
  const std::vector<std::string> messages = model_.finishBatch(result);
  window_.setTitle(model_.title());
  window_.lockInput(false);
  for (const std::string& message : messages) window_.showMessageBox(message);
  window_.batchEnded();
}

std::string& BatchSession::pendingText() {
  if (pendingLog_.empty() || !std::holds_alternative<std::string>(pendingLog_.back())) {
    pendingLog_.emplace_back(std::string());
  }
  return std::get<std::string>(pendingLog_.back());
}

void BatchSession::wakeWindow(bool now) {
  if (windowGone_ || (wakeRequested_ && !now)) return;
  wakeRequested_ = true;
  window_.wake();
}

void BatchSession::append(std::string_view text) {
  const std::lock_guard lock(mutex_);
  pendingText() += text;
  wakeWindow();
}

void BatchSession::appendRepeated(std::string_view text, std::size_t times) {
  const std::lock_guard lock(mutex_);
  std::string& pending = pendingText();
  pending.reserve(pending.size() + text.size() * times);
  for (; times > 0; --times) pending += text;
  wakeWindow();
}

void BatchSession::setLimit(std::size_t characters) {
  const std::lock_guard lock(mutex_);
  pendingLog_.emplace_back(LogLimit{characters});
  wakeWindow();
}

void BatchSession::selectEntry(std::size_t index) {
  const std::lock_guard lock(mutex_);
  pendingEntry_ = index;
  wakeWindow();
}

void BatchSession::showFields(const ObservationFileName& name) {
  const std::lock_guard lock(mutex_);
  pendingFields_ = name;
  wakeWindow();
}

void BatchSession::showMessageBox(std::string_view text) {
  std::unique_lock lock(mutex_);
  if (windowGone_) return;
  messageBox_ = std::string(text);
  wakeWindow(true);
  answered_.wait(lock, [this] { return !messageBox_ || windowGone_; });
}

}  // namespace fenmarq
