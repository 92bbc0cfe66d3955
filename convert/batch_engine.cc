#include "convert/batch_engine.h"

#include <algorithm>
#include <condition_variable>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>
#include <utility>

#include "convert/entry_record.h"
#include "convert/item_converter.h"
#include "convert/log_texts.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace fenmarq {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Entries a worker may run ahead of the log, per worker: enough to keep every
// worker busy while the log catches up, few enough that what waits to be
// said stays small.
constexpr std::size_t kEntriesAheadPerWorker = 8;

bool endsBatch(ItemOutcome outcome) {
  return outcome == ItemOutcome::kBatchEnds || outcome == ItemOutcome::kOutputNotOpened;
}

class Engine {
 public:
  Engine(const std::vector<std::string>& targets, unsigned workers, bool sheetThreads, LogPane& log,
         BatchView& view)
      : targets_(targets),
        workers_(workers),
        sheetThreads_(sheetThreads),
        log_(log),
        view_(view),
        entries_(targets.size()),
        openLimit_(targets.size()) {
    if (workers > 1) linkSameOutputs();
  }

  // The loop the calling thread runs, whatever the number of workers: each
  // entry in turn is passed on (or converted here), until one ends the batch.
  // With several workers the calling thread is one of them.
  BatchResult run() {
    std::vector<std::jthread> threads;
    if (workers_ > 1) threads = startWorkers(workers_ - 1);
    BatchResult result;
    std::size_t index = 0;
    try {
      for (; index < targets_.size(); ++index) {
        ItemOutcome outcome = threads.empty() ? convertAlone(index) : deliver(index);
        if (outcome == ItemOutcome::kShortOfResources) {
          // The system ran short of descriptors or memory while the workers
          // held theirs: they go, and the rest of the batch is converted
          // here, one entry after the other.
          retire(threads);
          outcome = convertAlone(index);
        }
        result.problemsReported |= outcome == ItemOutcome::kDoneWithProblems;
        result.outputNotOpened = outcome == ItemOutcome::kOutputNotOpened;
        if (endsBatch(outcome)) break;
      }
    } catch (...) {
      retire(threads);  // else they would wait for a log that no longer comes
      throw;
    }
    retire(threads);
    result.finished = index == targets_.size();
    result.failure = failure_;
    return result;
  }

 private:
  enum class State { kWaiting, kFinished, kRunAgain };
  struct Entry {
    std::size_t sameOutputsBefore = kNone;  // set before the workers start
    // Below, protected by mutex_; `said` is the entry's worker's alone until
    // the entry is finished.
    State state = State::kWaiting;
    ItemOutcome outcome = ItemOutcome::kDone;
    EntryRecord said;
  };

  // Among workers, an entry opens its files once the last earlier entry
  // with the same outputs (a file name the system takes for the same) is
  // finished; alone, the calling thread finishes each entry before the next.
  void linkSameOutputs() {
    const auto less = [](const std::string& a, const std::string& b) {
      return compareFileNames(a, b) < 0;
    };
    std::map<std::string, std::size_t, decltype(less)> lastWithName(less);
    for (std::size_t i = 0; i < targets_.size(); ++i) {
      const std::string name =
          parseObservationFileName(targets_[i], directorySeparators()).fileName;
      const auto [it, fresh] = lastWithName.try_emplace(name, i);
      if (!fresh) entries_[i].sameOutputsBefore = std::exchange(it->second, i);
    }
  }

  std::vector<std::jthread> startWorkers(unsigned count) {
    std::vector<std::jthread> threads;
    for (unsigned i = 0; i < count; ++i) {
      try {
        threads.emplace_back([this] { work(); });
      } catch (const std::system_error&) {
        break;  // the system refuses more threads: go on with those there are
      }
    }
    return threads;
  }

  // Stops the workers once they have finished the entries past their turn
  // to open files; the ones still waiting for it are left to this thread.
  void retire(std::vector<std::jthread>& threads) {
    {
      std::lock_guard lock(mutex_);
      retired_ = true;
    }
    turnCame_.notify_all();
    logMoved_.notify_all();
    threads.clear();
  }

  // A worker thread: takes entries in list order and converts each beside
  // the others.
  void work() {
    ItemResources resources;  // kept from entry to entry
    for (std::size_t index; (index = take()) != kNone;) convertBesideOthers(index, resources);
  }

  // Converts entry `index` once its turn to open files has come, keeping what
  // it says for the log. Nothing leaves it: an entry that meets an exception
  // is converted again alone.
  void convertBesideOthers(std::size_t index, ItemResources& resources) {
    if (!waitForOpenTurn(index)) return;  // left to the calling thread, or to no one
    Entry& entry = entries_[index];
    ItemOutcome outcome;
    try {
      outcome = convert(index, resources, Shortage::kReported, entry.said, entry.said);
    } catch (...) {
      outcome = ItemOutcome::kShortOfResources;
    }
    std::unique_lock lock(mutex_);
    entry.outcome = outcome;
    entry.state = State::kFinished;
    if (outcome == ItemOutcome::kShortOfResources) {
      entry.state = State::kRunAgain;
      entry.said = {};
      runAgainAt_ = std::min(runAgainAt_, index);
    }
    if (endsBatch(outcome)) openLimit_ = std::min(openLimit_, index + 1);
    const bool awaited = index == delivered_;
    lock.unlock();
    // Entries with the same outputs, or after one that ended the batch or is
    // to run again, wait for this one; the log may too.
    turnCame_.notify_all();
    if (awaited) entryFinished_.notify_one();
  }

  // Whether a worker may take the next entry: one no more than a few entries
  // ahead of the log, and allowed to open files. The mutex is held.
  bool mayTake() const {
    return !retired_ && next_ < openLimit_ &&
           next_ < delivered_ + kEntriesAheadPerWorker * workers_;
  }

  // The next entry to convert, once one may be taken; kNone when no further
  // entry may open its files.
  std::size_t take() {
    std::unique_lock lock(mutex_);
    logMoved_.wait(lock, [&] { return retired_ || next_ >= openLimit_ || mayTake(); });
    return mayTake() ? next_++ : kNone;
  }

  // Waits until every earlier entry has opened its files and the last one
  // with the same outputs is finished; false when entry `index` is not to
  // open any here: the batch ends before it, an earlier entry is to be
  // converted again alone (this one after it), or the workers retire.
  bool waitForOpenTurn(std::size_t index) {
    std::unique_lock lock(mutex_);
    const std::size_t before = entries_[index].sameOutputsBefore;
    turnCame_.wait(lock, [&] {
      return retired_ || index >= openLimit_ || runAgainAt_ < index ||
             (openTurn_ == index &&
              (before == kNone || entries_[before].state == State::kFinished));
    });
    return !retired_ && index < openLimit_ && runAgainAt_ > index;
  }

  void passOpenTurn(std::size_t index) {
    {
      std::lock_guard lock(mutex_);
      openTurn_ = std::max(openTurn_, index + 1);
    }
    turnCame_.notify_all();
  }

  // Passes on what entry `index` said once it is converted, converting later
  // entries meanwhile; kShortOfResources when it is to be converted again
  // alone.
  ItemOutcome deliver(std::size_t index) {
    std::unique_lock lock(mutex_);
    Entry& entry = entries_[index];
    while (entry.state == State::kWaiting) {
      if (mayTake()) {
        const std::size_t next = next_++;
        lock.unlock();
        convertBesideOthers(next, resources_);
        lock.lock();
      } else {
        entryFinished_.wait(lock);
      }
    }
    if (entry.state == State::kRunAgain) return ItemOutcome::kShortOfResources;
    const EntryRecord said = std::exchange(entry.said, {});
    const ItemOutcome outcome = entry.outcome;
    delivered_ = index + 1;
    lock.unlock();
    logMoved_.notify_one();
    said.deliverTo(log_, view_);
    return outcome;
  }

  // Converts entry `index` on this thread with no worker left, its texts
  // going straight to the log: what it cannot get ends the batch. The one
  // place where an escaping exception ends the batch.
  ItemOutcome convertAlone(std::size_t index) {
    try {
      return convert(index, resources_, Shortage::kEndsBatch, log_, view_);
    } catch (const std::bad_alloc&) {
      log_.append(kOutOfMemoryText);
    } catch (const std::exception& failure) {
      failure_ = failure.what();
    }
    return ItemOutcome::kBatchEnds;
  }

  // One entry: shows it and converts it when a rule selects it, or logs that
  // it is not a conversion target. Its turn to open files has come.
  ItemOutcome convert(std::size_t index, ItemResources& resources, Shortage shortage, LogPane& log,
                      BatchView& view) {
    view.selectEntry(index);
    Item item;
    item.path = targets_[index];
    item.name = parseObservationFileName(item.path, directorySeparators());
    view.showFields(item.name);
    const std::optional<ConversionRule> rule = selectConversionRule(item.name);
    if (!rule) {
      appendBetweenBreaks(log, kNotATargetText);
      passOpenTurn(index);
      return ItemOutcome::kDone;
    }
    item.rule = *rule;
    item.outputs = makeOutputPaths(item.name.fileName, directorySeparator());
    const ItemOutcome opened = openItem(item, resources, shortage, log);
    // An entry that cannot open its files keeps the turn: the batch ends
    // there, or the entry is converted again alone.
    if (opened != ItemOutcome::kDone) return opened;
    passOpenTurn(index);
    return convertOpenedItem(item, resources, sheetThreads_, shortage, log, view);
  }

  const std::vector<std::string>& targets_;
  const unsigned workers_;
  const bool sheetThreads_;
  LogPane& log_;
  BatchView& view_;
  // The calling thread's alone.
  ItemResources resources_;  // kept from entry to entry
  std::string failure_;

  std::mutex mutex_;
  std::condition_variable turnCame_;       // an entry may have its turn to open files
  std::condition_variable entryFinished_;  // the entry the log waits for may be finished
  std::condition_variable logMoved_;       // a worker may take another entry
  // State below is protected by mutex_.
  std::vector<Entry> entries_;
  std::size_t openLimit_;           // no entry from here on opens a file
  std::size_t next_ = 0;            // the next entry a worker takes
  std::size_t openTurn_ = 0;        // every entry before it has opened its files
  std::size_t delivered_ = 0;       // every entry before it is passed on
  std::size_t runAgainAt_ = kNone;  // the first entry to be converted again alone
  bool retired_ = false;            // the workers take no further entry
};

}  // namespace

BatchResult runBatch(const std::vector<std::string>& targets, const BatchOptions& options,
                     LogPane& log, BatchView& view) {
  const unsigned processors = std::max(1u, std::thread::hardware_concurrency());
  const unsigned wanted = options.workers == 0 ? processors : options.workers;
  const auto workers = static_cast<unsigned>(
      std::min<std::size_t>(wanted, std::max<std::size_t>(targets.size(), 1)));
  // A processor that no worker needs writes each sheet beside its item's hex
  // files.
  const bool sheetThreads = options.sheetThreads && workers < processors;
  return Engine(targets, workers, sheetThreads, log, view).run();
}

}  // namespace fenmarq
