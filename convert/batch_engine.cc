#include "convert/batch_engine.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstring>
#include <exception>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>

#include "convert/item_converter.h"
#include "platform/paths.h"

namespace fenmarq {
namespace {

// What an entry may say before its turn: enough for the whole log of an
// ordinary entry, so that workers rarely wait.
constexpr std::size_t kBufferBytes = 64 * 1024;

// An entry's texts and view calls as they wait in a buffer: for each, its
// kind, then each part as its length and its bytes.
enum Kind : char { kAppend, kSelect, kFields, kMessage };

void record(std::vector<char>& buffer, Kind kind, std::initializer_list<std::string_view> parts) {
  buffer.push_back(kind);
  for (const std::string_view part : parts) {
    const std::size_t length = part.size();
    const char* bytes = reinterpret_cast<const char*>(&length);
    buffer.insert(buffer.end(), bytes, bytes + sizeof length);
    buffer.insert(buffer.end(), part.begin(), part.end());
  }
}

std::size_t recordSize(std::initializer_list<std::string_view> parts) {
  std::size_t size = 1;
  for (const std::string_view part : parts) size += sizeof(std::size_t) + part.size();
  return size;
}

void deliver(Kind kind, const std::string_view* parts, LogPane& log, BatchView& view) {
  switch (kind) {
    case kAppend:
      log.append(parts[0]);
      break;
    case kSelect: {
      std::size_t index;
      std::memcpy(&index, parts[0].data(), sizeof index);
      view.selectEntry(index);
      break;
    }
    case kFields:
      view.showFields({std::string(parts[0]), std::string(parts[1]), std::string(parts[2]),
                       std::string(parts[3]), std::string(parts[4]), std::string(parts[5]),
                       std::string(parts[6])});
      break;
    case kMessage:
      view.showMessageBox(parts[0]);
      break;
  }
}

// Passes on everything recorded in `buffer`, in order.
void deliverAll(const std::vector<char>& buffer, LogPane& log, BatchView& view) {
  std::string_view parts[7];
  for (const char* at = buffer.data(); at < buffer.data() + buffer.size();) {
    const Kind kind = static_cast<Kind>(*at++);
    const std::size_t count = kind == kFields ? 7 : 1;
    for (std::size_t i = 0; i < count; ++i) {
      std::size_t length;
      std::memcpy(&length, at, sizeof length);
      parts[i] = {at + sizeof length, length};
      at += sizeof length + length;
    }
    deliver(kind, parts, log, view);
  }
}

class Engine;

// What one entry tells the log and the view. At the head of the list its
// texts go straight through; before that they wait in a buffer, and when it
// is full the entry waits for its turn. Once the batch has ended before the
// entry's turn, what it says is dropped.
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

  bool live() const { return live_; }
  // Passes on what waited, once the entry has the turn; from then on its
  // texts go straight through.
  void goLive();

 private:
  void pass(Kind kind, std::initializer_list<std::string_view> parts);

  Engine& engine_;
  std::vector<char>& buffer_;
  const std::size_t index_;
  bool live_ = false;
  bool dropped_ = false;
};

class Engine {
 public:
  Engine(const std::vector<std::string>& targets, unsigned workers, bool sheetThreads, LogPane& log,
         BatchView& view)
      : targets_(targets),
        workers_(workers),
        sheetThreads_(sheetThreads),
        log_(log),
        view_(view),
        entries_(targets.size()) {
    // An entry waits for the last earlier entry with the same file name: both
    // write the same three output files.
    std::unordered_map<std::string, std::size_t> lastWithName;
    for (std::size_t i = 0; i < targets.size(); ++i) {
      const std::string name = parseObservationFileName(targets[i], directorySeparators()).fileName;
      const auto [it, fresh] = lastWithName.try_emplace(name, i);
      if (!fresh) entries_[i].sameOutputsBefore = std::exchange(it->second, i);
    }
    // Two buffers per worker: one for the entry under way, one for an entry
    // that is done and waits for its turn.
    buffers_.resize(2 * workers);
    for (std::vector<char>& buffer : buffers_) {
      buffer.reserve(kBufferBytes);
      free_.push_back(&buffer);
    }
  }

  BatchResult run() {
    if (workers_ <= 1) {
      work();
    } else {
      std::vector<std::jthread> threads;
      threads.reserve(workers_);
      for (unsigned i = 0; i < workers_; ++i) {
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

  // Waits until entry `index` has the turn; false when the batch ended
  // before it.
  bool waitForTurn(std::size_t index) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return head_ == index || stopped_; });
    return !stopped_;
  }

  LogPane& log() { return log_; }
  BatchView& view() { return view_; }

 private:
  struct Entry {
    std::optional<std::size_t> sameOutputsBefore;
    bool done = false;                     // converted, its outputs complete
    std::vector<char>* waiting = nullptr;  // its texts, once done, until its turn
    ItemOutcome outcome = ItemOutcome::kDone;
    std::exception_ptr failure;
  };

  // A worker: takes entries in list order until none is left or the batch
  // has ended. Nothing it throws leaves it: a failure ends the batch at its
  // entry's turn and reaches the caller.
  void work() {
    try {
      ItemResources resources;
      resources.sheetThread = sheetThreads_;
      // The batch found the codec; a worker that cannot open it for itself
      // lacks memory.
      const std::unique_ptr<Cp932Encoder> cp932 = Cp932Encoder::open();
      if (!cp932) throw std::bad_alloc();
      resources.cp932 = cp932.get();
      std::size_t index;
      std::vector<char>* buffer;
      while (take(index, buffer)) {
        ItemChannel channel(*this, *buffer, index);
        ItemOutcome outcome = ItemOutcome::kBatchEnds;
        std::exception_ptr failure;
        try {
          outcome = processEntry(index, targets_[index], resources, channel, channel);
        } catch (...) {
          failure = std::current_exception();
        }
        finish(index, channel, buffer, outcome, failure);
      }
    } catch (...) {
      std::lock_guard lock(mutex_);
      if (!failure_) failure_ = std::current_exception();
      stopped_ = true;
      changed_.notify_all();
    }
  }

  // The next entry to convert and a buffer for its texts, once every earlier
  // entry with the same output files is done; false when the list is done or
  // the batch has ended.
  bool take(std::size_t& index, std::vector<char>*& buffer) {
    std::unique_lock lock(mutex_);
    // The buffer comes first: an entry that is taken runs, so the one at the
    // head is never left waiting for a buffer that later entries hold.
    changed_.wait(lock, [&] { return !free_.empty() || stopped_ || next_ == targets_.size(); });
    if (stopped_ || next_ == targets_.size()) return false;
    buffer = free_.back();
    free_.pop_back();
    index = next_++;
    // The earlier entry was taken before this one and is under way, so the
    // wait ends even when the batch has ended meanwhile.
    if (const std::optional<std::size_t> before = entries_[index].sameOutputsBefore) {
      changed_.wait(lock, [&] { return entries_[*before].done; });
    }
    return true;
  }

  // Entry `index` is converted: at its turn its texts are passed on now,
  // and so are those of the done entries after it; otherwise they wait.
  void finish(std::size_t index, ItemChannel& channel, std::vector<char>* buffer,
              ItemOutcome outcome, std::exception_ptr failure) {
    {
      std::lock_guard lock(mutex_);
      Entry& entry = entries_[index];
      entry.done = true;
      changed_.notify_all();
      if (stopped_) return release(buffer);
      if (!channel.live() && head_ != index) {
        entry.waiting = buffer;
        entry.outcome = outcome;
        entry.failure = failure;
        return;
      }
    }
    channel.goLive();
    for (;;) {
      std::unique_lock lock(mutex_);
      release(buffer);
      if (failure || outcome == ItemOutcome::kBatchEnds ||
          outcome == ItemOutcome::kOutputNotOpened) {
        if (!failure_) failure_ = failure;
        result_.outputNotOpened = outcome == ItemOutcome::kOutputNotOpened;
        stopped_ = true;
        for (Entry& later : entries_) {
          if (later.waiting != nullptr) release(std::exchange(later.waiting, nullptr));
        }
        return;
      }
      result_.problemsReported |= outcome == ItemOutcome::kDoneWithProblems;
      head_.store(++index, std::memory_order_release);
      changed_.notify_all();
      if (index == targets_.size() || entries_[index].waiting == nullptr) return;
      buffer = std::exchange(entries_[index].waiting, nullptr);
      outcome = entries_[index].outcome;
      failure = entries_[index].failure;
      lock.unlock();
      // The turn is this thread's until it passes it on: no other thread
      // writes to the log meanwhile.
      deliverAll(*buffer, log_, view_);
    }
  }

  // Returns a buffer to the pool; the mutex is held.
  void release(std::vector<char>* buffer) {
    buffer->clear();
    free_.push_back(buffer);
    changed_.notify_all();
  }

  const std::vector<std::string>& targets_;
  const unsigned workers_;
  const bool sheetThreads_;
  LogPane& log_;
  BatchView& view_;

  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Entry> entries_;
  std::vector<std::vector<char>> buffers_;
  std::vector<std::vector<char>*> free_;
  std::size_t next_ = 0;              // the next entry to take
  std::atomic<std::size_t> head_{0};  // the entry that has the turn; written under the lock
  bool stopped_ = false;
  std::exception_ptr failure_;
  BatchResult result_;
};

void ItemChannel::goLive() {
  if (live_ || dropped_) return;
  live_ = true;
  deliverAll(buffer_, engine_.log(), engine_.view());
  buffer_.clear();
}

void ItemChannel::pass(Kind kind, std::initializer_list<std::string_view> parts) {
  if (dropped_) return;
  if (!live_) {
    if (!engine_.isHead(index_) && buffer_.size() + recordSize(parts) <= kBufferBytes) {
      record(buffer_, kind, parts);
      return;
    }
    if (!engine_.waitForTurn(index_)) {
      dropped_ = true;
      buffer_.clear();
      return;
    }
    goLive();
  }
  deliver(kind, parts.begin(), engine_.log(), engine_.view());
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
  return Engine(targets, workers, sheetThreads, log, view).run();
}

}  // namespace fenmarq
