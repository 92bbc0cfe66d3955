#include "app/batch_session.h"

#include <utility>

namespace fenmarq {

BatchSession::BatchSession(DialogModel& model, BatchWindow& window)
    : model_(model), window_(window) {}

BatchSession::~BatchSession() {
  {
    MutexLock lock(mutex_);
    windowGone_ = true;
  }
  answered_.signalAll();
  if (batch_.joinable()) batch_.join();
}

void BatchSession::start() {
  if (model_.batchRunning()) return;
  window_.lockInput(true);
  std::vector<std::string> targets = model_.startBatch();
  if (batch_.joinable()) batch_.join();  // the last batch's thread, already at its end
  batch_ = std::jthread([this, targets = std::move(targets)] {
    BatchResult result = model_.runBatch(targets, *this, *this);
    MutexLock lock(mutex_);
    pending_.result = std::move(result);
    wakeWindow(true);
  });
}

void BatchSession::serve() {
  // A message box's own message loop serves the window too; the call that
  // opened the box goes on once it is dismissed.
  if (serving_) return;
  const std::optional<Pending> due = takeDue();
  if (!due) return;
  serving_ = true;
  show(*due);
  lastShown_ = window_.now();
  if (due->messageBox) {
    window_.showMessageBox(*due->messageBox);
    dismissMessageBox();
  }
  if (due->result) finish(*due->result);
  serving_ = false;
}

std::optional<BatchSession::Pending> BatchSession::takeDue() {
  MutexLock lock(mutex_);
  const bool urgent = pending_.messageBox || pending_.result;
  if (!urgent) {
    const bool news = !pending_.log.empty() || pending_.entry || pending_.fields;
    if (!news) return std::nullopt;
    const Clock::duration early = lastShown_ + kShowInterval - window_.now();
    if (early > Clock::duration::zero()) {
      // A wake stays requested until the texts are shown.
      window_.wakeAfter(std::chrono::ceil<std::chrono::milliseconds>(early));
      return std::nullopt;
    }
  }
  wakeRequested_ = false;
  Pending due;
  due.log = std::exchange(pending_.log, {});
  due.entry = std::exchange(pending_.entry, std::nullopt);
  due.fields = std::exchange(pending_.fields, std::nullopt);
  due.messageBox = pending_.messageBox;
  due.result = std::exchange(pending_.result, std::nullopt);
  return due;
}

void BatchSession::show(const Pending& due) {
  for (const LogStep& step : due.log) {
    if (const auto* text = std::get_if<std::string>(&step)) {
      window_.appendLog(*text);
    } else {
      window_.setLogLimit(std::get<LogLimit>(step).characters);
    }
  }
  if (due.fields) window_.showFields(DialogModel::fieldsOf(*due.fields));
  if (due.entry) {
    window_.selectRow(*due.entry);
    model_.entryReached(*due.entry);
    window_.setTitle(model_.title());
  }
}

void BatchSession::dismissMessageBox() {
  {
    MutexLock lock(mutex_);
    pending_.messageBox.reset();
  }
  answered_.signalAll();
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
  if (pending_.log.empty() || !std::holds_alternative<std::string>(pending_.log.back())) {
    pending_.log.emplace_back(std::string());
  }
  return std::get<std::string>(pending_.log.back());
}

void BatchSession::wakeWindow(bool now) {
  if (windowGone_ || (wakeRequested_ && !now)) return;
  wakeRequested_ = true;
  window_.wake();
}

void BatchSession::append(std::string_view text) {
  MutexLock lock(mutex_);
  pendingText() += text;
  wakeWindow();
}

void BatchSession::appendRepeated(std::string_view text, std::size_t times) {
  MutexLock lock(mutex_);
  std::string& pending = pendingText();
  pending.reserve(pending.size() + text.size() * times);
  for (; times > 0; --times) pending += text;
  wakeWindow();
}

void BatchSession::setLimit(std::size_t characters) {
  MutexLock lock(mutex_);
  pending_.log.emplace_back(LogLimit{characters});
  wakeWindow();
}

void BatchSession::selectEntry(std::size_t index) {
  MutexLock lock(mutex_);
  pending_.entry = index;
  wakeWindow();
}

void BatchSession::showFields(const ObservationFileName& name) {
  MutexLock lock(mutex_);
  pending_.fields = name;
  wakeWindow();
}

void BatchSession::showMessageBox(std::string_view text) {
  MutexLock lock(mutex_);
  if (windowGone_) return;
  pending_.messageBox = std::string(text);
  wakeWindow(true);
  while (pending_.messageBox && !windowGone_) answered_.wait(mutex_);
}

}  // namespace fenmarq
