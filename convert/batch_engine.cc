#include "convert/batch_engine.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>

#include "convert/item_converter.h"
#include "platform/paths.h"

namespace fenmarq {
namespace {

// What an entry may say while it waits for its turn: enough for the whole
// log of an ordinary entry, so that workers rarely wait.
constexpr std::size_t kBufferBytes = 64 * 1024;

class Engine;

// What one entry tells the log and the view. At the head of the list its
// texts go straight through; before that they wait in its worker's buffer,
// and when that is full the entry waits for its turn. Once the batch has
// ended before the entry's turn, what it says is dropped.
class ItemChannel final : public LogPane, public BatchView {
 public:
  ItemChannel(Engine& engine, std::vector<char>& buffer, std::size_t index)
      : engine_(engine), buffer_(buffer), index_(index) {}

  void append(std::string_view text) override { pass(kAppend, {text}); }
  void setLimit(std::size_t) override {}
  void selectEntry(std::size_t index) override {
    pass(kSelect, {{reinterpret_cast<const char*>(&index), sizeof index}});
  }
  void showFields(const ObservationFileName& n) override {
    pass(kFields, {n.fileName, n.kind, n.interval, n.year, n.monthDay, n.station, n.date});
  }
  void showMessageBox(std::string_view text) override { pass(kMessage, {text}); }

  // Waits for the entry's turn and passes on what waited; false when the
  // batch ended before it.
  bool reachTurn();

 private:
  enum Kind : char { kAppend, kSelect, kFields, kMessage };
  enum class Mode { kWaiting, kLive, kDropped };

  void pass(Kind kind, std::initializer_list<std::string_view> parts);
  void deliver(Kind kind, const std::string_view* parts);
  void passOnWhatWaited();

  Engine& engine_;
  std::vector<char>& buffer_;  // kind, then each part as its length and bytes
  const std::size_t index_;
  Mode mode_ = Mode::kWaiting;
};

class Engine {
 public:
  Engine(const std::vector<std::string>& targets, bool sheetThreads, LogPane& log, BatchView& view)
      : targets_(targets),
        sheetThreads_(sheetThreads),
        log_(log),
        view_(view),
        done_(targets.size(), false),
        sameOutputsBefore_(targets.size()) {
    // An entry waits for the last earlier entry with the same file name: both
    // write the same three output files.
    std::unordered_map<std::string, std::size_t> lastWithName;
    for (std::size_t i = 0; i < targets.size(); ++i) {
      const std::string name = parseObservationFileName(targets[i], directorySeparators()).fileName;
      const auto [it, fresh] = lastWithName.try_emplace(name, i);
      if (!fresh) sameOutputsBefore_[i] = std::exchange(it->second, i);
    }
  }

  BatchResult run(unsigned workers) {
    if (workers <= 1) {
      work();
    } else {
      std::vector<std::jthread> threads;
      threads.reserve(workers);
      for (unsigned i = 0; i < workers; ++i) {
        try {
          threads.emplace_back([this] { work(); });
        } catch (const std::system_error&) {
          break;  // the system refuses more threads: go on with those there are
        }
      }
      if (threads.empty()) work();
    }
    if (failure_) std::rethrow_exception(failure_);
    result_.finished = !stopped_ && head_ == targets_.size();
    return result_;
  }

  bool isHead(std::size_t index) const { return head_.load(std::memory_order_acquire) == index; }

  // Waits until entry `index` is at the head of the list; false when the
  // batch ended before it.
  bool waitForTurn(std::size_t index) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return head_ == index || stopped_; });
    return !stopped_;
  }

  LogPane& log() { return log_; }
  BatchView& view() { return view_; }

 private:
  // A worker: takes entries in list order until none is left or the batch
  // has ended. Nothing it throws leaves it: the failure ends the batch at
  // its entry's turn and reaches the caller.
  void work() {
    try {
      ItemResources resources;
      resources.sheetThread = sheetThreads_;
      std::vector<char> buffer;
      buffer.reserve(kBufferBytes);
      while (const std::optional<std::size_t> index = take()) {
        ItemChannel channel(*this, buffer, *index);
        ItemOutcome outcome = ItemOutcome::kBatchEnds;
        std::exception_ptr failure;
        try {
          outcome = processEntry(*index, targets_[*index], resources, channel, channel);
        } catch (...) {
          failure = std::current_exception();
        }
        markDone(*index);
        if (channel.reachTurn()) pass(outcome, failure);
      }
    } catch (...) {
      std::lock_guard lock(mutex_);
      if (!failure_) failure_ = std::current_exception();
      stopped_ = true;
      changed_.notify_all();
    }
  }

  // The next entry to convert, once every earlier entry with the same output
  // files is done; none when the list is done or the batch has ended.
  std::optional<std::size_t> take() {
    std::unique_lock lock(mutex_);
    if (stopped_ || next_ == targets_.size()) return std::nullopt;
    const std::size_t index = next_++;
    // The earlier entry was taken before this one and is under way, so the
    // wait ends even when the batch has ended meanwhile.
    if (const std::optional<std::size_t> before = sameOutputsBefore_[index]) {
      changed_.wait(lock, [&] { return done_[*before]; });
    }
    return index;
  }

  void markDone(std::size_t index) {
    std::lock_guard lock(mutex_);
    done_[index] = true;
    changed_.notify_all();
  }

  // The head entry is over: the turn passes to the next one, or the batch
  // ends here.
  void pass(ItemOutcome outcome, std::exception_ptr failure) {
    std::lock_guard lock(mutex_);
    if (failure || outcome == ItemOutcome::kBatchEnds) {
      if (!failure_) failure_ = failure;
      stopped_ = true;
    } else {
      result_.problemsReported |= outcome == ItemOutcome::kDoneWithProblems;
      head_.store(head_ + 1, std::memory_order_release);
    }
    changed_.notify_all();
  }

  const std::vector<std::string>& targets_;
  const bool sheetThreads_;
  LogPane& log_;
  BatchView& view_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t next_ = 0;              // the next entry to take
  std::atomic<std::size_t> head_{0};  // the entry whose texts go through; written under the lock
  std::vector<bool> done_;
  std::vector<std::optional<std::size_t>> sameOutputsBefore_;
  bool stopped_ = false;
  std::exception_ptr failure_;
  BatchResult result_;
};

bool ItemChannel::reachTurn() {
  if (mode_ == Mode::kWaiting) {
    mode_ = engine_.waitForTurn(index_) ? Mode::kLive : Mode::kDropped;
    if (mode_ == Mode::kLive) passOnWhatWaited();
    buffer_.clear();
  }
  return mode_ == Mode::kLive;
}

void ItemChannel::pass(Kind kind, std::initializer_list<std::string_view> parts) {
  if (mode_ == Mode::kWaiting) {
    std::size_t size = 1;
    for (const std::string_view part : parts) size += sizeof(std::size_t) + part.size();
    if (!engine_.isHead(index_) && buffer_.size() + size <= kBufferBytes) {
      buffer_.push_back(kind);
      for (const std::string_view part : parts) {
        const std::size_t length = part.size();
        const char* bytes = reinterpret_cast<const char*>(&length);
        buffer_.insert(buffer_.end(), bytes, bytes + sizeof length);
        buffer_.insert(buffer_.end(), part.begin(), part.end());
      }
      return;
    }
    reachTurn();
  }
  if (mode_ == Mode::kLive) deliver(kind, parts.begin());
}

void ItemChannel::passOnWhatWaited() {
  std::string_view parts[7];
  for (const char* at = buffer_.data(); at < buffer_.data() + buffer_.size();) {
    const Kind kind = static_cast<Kind>(*at++);
    const std::size_t count = kind == kFields ? 7 : 1;
    for (std::size_t i = 0; i < count; ++i) {
      std::size_t length;
      std::memcpy(&length, at, sizeof length);
      parts[i] = {at + sizeof length, length};
      at += sizeof length + length;
    }
    deliver(kind, parts);
  }
}

void ItemChannel::deliver(Kind kind, const std::string_view* parts) {
  switch (kind) {
    case kAppend:
      engine_.log().append(parts[0]);
      break;
    case kSelect: {
      std::size_t index;
      std::memcpy(&index, parts[0].data(), sizeof index);
      engine_.view().selectEntry(index);
      break;
    }
    case kFields:
      engine_.view().showFields({std::string(parts[0]), std::string(parts[1]),
                                 std::string(parts[2]), std::string(parts[3]),
                                 std::string(parts[4]), std::string(parts[5]),
                                 std::string(parts[6])});
      break;
    case kMessage:
      engine_.view().showMessageBox(parts[0]);
      break;
  }
}

}  // namespace

BatchResult runBatch(const std::vector<std::string>& targets, const BatchOptions& options,
                     LogPane& log, BatchView& view) {
  const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
  const unsigned wanted = options.workers == 0 ? processors : options.workers;
  const auto workers = static_cast<unsigned>(
      std::min<std::size_t>(wanted, std::max<std::size_t>(targets.size(), 1)));
  // A processor that no worker needs writes each sheet beside its item's hex
  // files. The single-threaded reference (one worker asked for) has none.
  const bool sheetThreads = options.workers != 1 && workers < processors;
  return Engine(targets, sheetThreads, log, view).run(workers);
}

}  // namespace fenmarq
