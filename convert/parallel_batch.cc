#include "convert/parallel_batch.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <unordered_map>
#include <utility>
#include <variant>

#include "convert/item_converter.h"
#include "platform/paths.h"

namespace fenmarq {
namespace {

struct Append {
  std::string text;
};
struct SelectEntry {
  std::size_t index;
};
struct ShowFields {
  ObservationFileName name;
};
struct MessageBox {
  std::string text;
};
using Event = std::variant<Append, SelectEntry, ShowFields, MessageBox>;

// Records what one item tells the log and the view, to be replayed in order.
class ItemRecorder final : public LogPane, public BatchView {
 public:
  void append(std::string_view text) override {
    // Consecutive texts merge: the log only ever sees them concatenated.
    if (!events.empty() && std::holds_alternative<Append>(events.back())) {
      std::get<Append>(events.back()).text += text;
    } else {
      events.emplace_back(Append{std::string(text)});
    }
  }
  void setLimit(std::size_t) override {}
  void selectEntry(std::size_t index) override { events.emplace_back(SelectEntry{index}); }
  void showFields(const ObservationFileName& name) override {
    events.emplace_back(ShowFields{name});
  }
  void showMessageBox(std::string_view text) override {
    events.emplace_back(MessageBox{std::string(text)});
  }

  void replay(LogPane& log, BatchView& view) const {
    for (const Event& event : events) {
      std::visit(
          [&](const auto& e) {
            using E = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<E, Append>) log.append(e.text);
            if constexpr (std::is_same_v<E, SelectEntry>) view.selectEntry(e.index);
            if constexpr (std::is_same_v<E, ShowFields>) view.showFields(e.name);
            if constexpr (std::is_same_v<E, MessageBox>) view.showMessageBox(e.text);
          },
          event);
    }
  }

  std::vector<Event> events;
};

struct Slot {
  ItemRecorder recorder;
  std::optional<ItemOutcome> outcome;  // set when the item is done
  std::exception_ptr failure;          // what ended it, thrown again in list order
};

class ConcurrentBatch {
 public:
  explicit ConcurrentBatch(const std::vector<std::string>& targets)
      : targets_(targets), slots_(targets.size()), sameOutputsBefore_(targets.size()) {
    // An entry waits for the last earlier entry with the same file name: both
    // write the same three output files.
    std::unordered_map<std::string, std::size_t> lastWithName;
    for (std::size_t i = 0; i < targets.size(); ++i) {
      const std::string fileName =
          parseObservationFileName(targets[i], directorySeparators()).fileName;
      const auto [it, fresh] = lastWithName.try_emplace(fileName, i);
      if (!fresh) sameOutputsBefore_[i] = std::exchange(it->second, i);
    }
  }

  void work() {
    ItemResources resources;
    while (const std::optional<std::size_t> index = take()) {
      Slot& slot = slots_[*index];
      ItemOutcome outcome = ItemOutcome::kBatchEnds;
      std::exception_ptr failure;
      try {
        outcome = processEntry(*index, targets_[*index], resources, slot.recorder, slot.recorder);
      } catch (...) {
        // No exception leaves a worker: it reaches the caller's thread when
        // this item's turn comes, as if the item had run there.
        failure = std::current_exception();
      }
      std::lock_guard lock(mutex_);
      slot.outcome = outcome;
      slot.failure = failure;
      if (outcome == ItemOutcome::kBatchEnds) stopped_ = true;
      changed_.notify_all();
    }
  }

  // No worker takes another item.
  void stop() {
    std::lock_guard lock(mutex_);
    stopped_ = true;
  }

  // Passes each item's texts on in list order as it completes.
  BatchResult replay(LogPane& log, BatchView& view) {
    BatchResult result;
    for (Slot& slot : slots_) {
      {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [&] { return slot.outcome.has_value(); });
      }
      slot.recorder.replay(log, view);
      slot.recorder.events.clear();
      if (slot.failure) std::rethrow_exception(slot.failure);
      if (*slot.outcome == ItemOutcome::kBatchEnds) return result;
      result.problemsReported |= *slot.outcome == ItemOutcome::kDoneWithProblems;
    }
    result.finished = true;
    return result;
  }

 private:
  // The next entry to convert, once every earlier entry with the same output
  // files is done; none when the list is done or an item ended the batch.
  std::optional<std::size_t> take() {
    std::unique_lock lock(mutex_);
    if (stopped_ || next_ == targets_.size()) return std::nullopt;
    const std::size_t index = next_++;
    // The earlier entry was taken before this one and is under way, so the
    // wait ends even when the batch has ended meanwhile (this entry may come
    // before the one that ended it).
    if (const std::optional<std::size_t> before = sameOutputsBefore_[index]) {
      changed_.wait(lock, [&] { return slots_[*before].outcome.has_value(); });
    }
    return index;
  }

  const std::vector<std::string>& targets_;
  std::vector<Slot> slots_;
  std::vector<std::optional<std::size_t>> sameOutputsBefore_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::size_t next_ = 0;
  bool stopped_ = false;
};

}  // namespace

BatchResult runConcurrently(const std::vector<std::string>& targets, unsigned jobs, LogPane& log,
                            BatchView& view) {
  ConcurrentBatch batch(targets);
  std::vector<std::jthread> workers;
  // However this ends, the workers take no further item before they are
  // joined.
  struct StopWorkers {
    ConcurrentBatch& batch;
    ~StopWorkers() { batch.stop(); }
  } const stopWorkers{batch};
  const std::size_t count = std::min<std::size_t>(jobs, targets.size());
  for (std::size_t i = 0; i < count; ++i) {
    try {
      workers.emplace_back([&] { batch.work(); });
    } catch (const std::system_error&) {
      break;  // the system refuses more threads: go on with those there are
    }
  }
  // Without any worker, this thread converts the items before passing them on.
  if (workers.empty()) batch.work();
  return batch.replay(log, view);
}

}  // namespace fenmarq
