#include "convert/batch_engine.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <thread>

#include "convert/entry_record.h"
#include "convert/item_converter.h"
#include "convert/item_resources.h"
#include "convert/log_texts.h"
#include "convert/worker_pool.h"
#include "platform/mutex.h"
#include "platform/paths.h"
#include "platform/thread_annotations.h"

namespace fenmarq {
namespace {

bool endsBatch(ItemOutcome outcome) {
  return outcome == ItemOutcome::kBatchEnds || outcome == ItemOutcome::kOutputNotOpened;
}

// An entry from its opening to its delivery. All of it is the calling
// thread's until the entry is scheduled, then its worker's until the entry is
// finished, then the calling thread's again: the mutex passes it on.
struct Entry {
  std::optional<Item> item;        // none: no rule converts the entry
  std::optional<ItemFiles> files;  // from the item's opening to its end
  ItemResources* resources = nullptr;
  EntryRecord said;
};

class Engine {
 public:
  Engine(const std::vector<std::string>& targets, unsigned workers, bool sheetThreads, LogPane& log,
         BatchView& view)
      : targets_(targets),
        sheetThreads_(sheetThreads),
        log_(log),
        view_(view),
        sameOutputsBefore_(workers > 1 ? lastWithSameOutputs(targets) : std::vector<std::size_t>()),
        openLimit_(targets.size()) {
    for (unsigned i = 0; i < workers; ++i) resources_.push_back(std::make_unique<ItemResources>());
  }

  // The calling thread's loop: each entry in turn is passed on (or converted
  // here, with no worker), until one ends the batch.
  BatchResult run() {
    WorkerPool workers(resources_.size() > 1 ? resources_.size() : 0);
    for (std::size_t i = 0; i < workers.size(); ++i) {
      MutexLock lock(mutex_);
      freeResources_.push_back(resources_[i].get());
    }
    BatchResult result;
    for (; logAt_ < targets_.size(); ++logAt_) {
      ItemOutcome outcome = workers.size() == 0 ? convertAlone(logAt_) : deliverNext(workers);
      if (outcome == ItemOutcome::kShortOfResources) {
        // The system ran short of descriptors or memory while the workers
        // held theirs: they go, and the rest of the batch is converted here,
        // one entry after the other.
        retire(workers);
        outcome = convertAlone(logAt_);
      }
      result.problemsReported |= outcome == ItemOutcome::kDoneWithProblems;
      result.outputNotOpened = outcome == ItemOutcome::kOutputNotOpened;
      if (result.outputNotOpened && heldOpenAt_ == logAt_) result.heldOpen = heldOpen_;
      if (endsBatch(outcome)) break;
    }
    result.finished = logAt_ == targets_.size();
    return result;
  }

 private:
  // Ends the workers once the entries opened are converted; their memory goes
  // with them.
  void retire(WorkerPool& workers) FENMARQ_EXCLUDES(mutex_) {
    workers.retire();
    MutexLock lock(mutex_);
    freeResources_.clear();
    resources_.resize(1);
  }

  // A worker's task: converts an opened entry, keeping what it says. Nothing
  // leaves it: an entry that meets an exception is converted again alone.
  void convertOpened(std::size_t index) FENMARQ_EXCLUDES(mutex_) {
    Entry& entry = entryAt(index);
    ItemOutcome outcome;
    try {
      outcome = convertOpenedItem(*entry.item, *entry.files, *entry.resources, sheetThreads_,
                                  Shortage::kRetryAlone, entry.said, entry.said);
    } catch (...) {
      outcome = ItemOutcome::kShortOfResources;
    }
    finish(index, outcome);
  }

  // Closes entry `index`'s files, unlocking its outputs for a later entry
  // with the same ones, and gives its resources back. No entry opens after
  // one that ends the batch or is to be converted again alone.
  void finish(std::size_t index, ItemOutcome outcome) FENMARQ_EXCLUDES(mutex_) {
    Entry& entry = entryAt(index);
    entry.files.reset();
    MutexLock lock(mutex_);
    outcomes_[index % kEntriesAheadOfLog] = outcome;
    freeResources_.push_back(entry.resources);
    if (outcome != ItemOutcome::kDone && outcome != ItemOutcome::kDoneWithProblems) {
      openLimit_ = std::min(openLimit_, index + 1);
    }
    entryFinished_.signal();
  }

  // Opens later entries while it waits for the one the log is at, then
  // passes on what that one said; kShortOfResources when it is to be
  // converted again alone.
  ItemOutcome deliverNext(WorkerPool& workers) {
    std::optional<ItemOutcome> outcome;
    while (!(outcome = awaitLogEntry())) openNext(workers);
    Entry& entry = entryAt(logAt_);
    if (*outcome != ItemOutcome::kShortOfResources) entry.said.deliverTo(log_, view_);
    entry.said = {};
    return *outcome;
  }

  // The outcome of the entry the log is at, once it is finished; none as
  // soon as the next entry may be opened.
  std::optional<ItemOutcome> awaitLogEntry() FENMARQ_EXCLUDES(mutex_) {
    MutexLock lock(mutex_);
    for (;; entryFinished_.wait(mutex_)) {
      if (mayOpenNext()) return std::nullopt;
      if (outcomes_[logAt_ % kEntriesAheadOfLog]) return outcomes_[logAt_ % kEntriesAheadOfLog];
    }
  }

  // A resource set is free, entry next_ is no more than kEntriesAheadOfLog
  // ahead of the log, nothing before it ended the opening, and the last
  // earlier entry with its outputs is finished.
  bool mayOpenNext() const FENMARQ_REQUIRES(mutex_) {
    if (freeResources_.empty() || next_ >= openLimit_ || next_ >= logAt_ + kEntriesAheadOfLog) {
      return false;
    }
    const std::size_t before = sameOutputsBefore_[next_];
    return before == kNoEntry || before < logAt_ || outcomes_[before % kEntriesAheadOfLog];
  }

  // Opens entry next_ with a free resource set and has a worker convert it;
  // an entry that opens nothing to convert is finished here.
  void openNext(WorkerPool& workers) FENMARQ_EXCLUDES(mutex_) {
    const std::size_t index = next_++;
    Entry& entry = entryAt(index);
    {
      MutexLock lock(mutex_);
      entry.resources = freeResources_.back();
      freeResources_.pop_back();
      outcomes_[index % kEntriesAheadOfLog].reset();
    }
    ItemOutcome opened;
    try {
      opened =
          openEntry(index, *entry.resources, Shortage::kRetryAlone, entry, entry.said, entry.said);
    } catch (...) {
      opened = ItemOutcome::kShortOfResources;  // converted again alone, as in a worker
    }
    if (opened != ItemOutcome::kDone || !entry.item) return finish(index, opened);
    workers.schedule([this, index] { convertOpened(index); });
  }

  // Converts entry `index` on this thread with no worker left, its texts
  // going straight to the log: what it cannot get ends the batch.
  ItemOutcome convertAlone(std::size_t index) {
    ItemResources& resources = *resources_.front();
    Entry entry;
    const ItemOutcome opened =
        openEntry(index, resources, Shortage::kEndsBatch, entry, log_, view_);
    if (opened != ItemOutcome::kDone || !entry.item) return opened;
    return convertOpenedItem(*entry.item, *entry.files, resources, sheetThreads_,
                             Shortage::kEndsBatch, log_, view_);
  }

  // Shows entry `index` and opens its item when a rule converts it, or logs
  // that it is not a conversion target.
  ItemOutcome openEntry(std::size_t index, ItemResources& resources, Shortage shortage,
                        Entry& entry, LogPane& log, BatchView& view) {
    const std::string& path = targets_[index];
    view.selectEntry(index);
    entry.item = itemFor(path);
    view.showFields(entry.item ? entry.item->name
                               : parseObservationFileName(path, directorySeparators()));
    if (!entry.item) {
      appendBetweenBreaks(log, kNotATargetText);
      return ItemOutcome::kDone;
    }
    entry.files.emplace();
    const ItemOutcome opened = openItem(*entry.item, *entry.files, resources, shortage, log);
    if (opened == ItemOutcome::kOutputNotOpened) {
      heldOpen_ = heldElsewhere(*entry.item, *entry.files);
      heldOpenAt_ = index;
    }
    return opened;
  }

  Entry& entryAt(std::size_t index) { return entries_[index % kEntriesAheadOfLog]; }

  // Constant after construction.
  const std::vector<std::string>& targets_;
  const bool sheetThreads_;
  LogPane& log_;
  BatchView& view_;
  // For each entry, the last earlier one with the same outputs (kNoEntry: none);
  // with workers only.
  const std::vector<std::size_t> sameOutputsBefore_;
  // Entry i is entries_[i % kEntriesAheadOfLog], held as Entry says.
  std::array<Entry, kEntriesAheadOfLog> entries_;

  // Calling thread only (each set held as Entry says).
  std::vector<std::unique_ptr<ItemResources>> resources_;  // a set per worker; the first alone
  std::size_t logAt_ = 0;                                  // every entry before it is passed on
  std::size_t next_ = 0;                                   // the next entry to open
  // The output that another program holds, which kept entry heldOpenAt_
  // from opening its outputs.
  std::string heldOpen_;
  std::size_t heldOpenAt_ = kNoEntry;

  Mutex mutex_;
  CondVar entryFinished_;  // the calling thread may open an entry, or pass one on
  // Protected by mutex_.
  std::vector<ItemResources*> freeResources_ FENMARQ_GUARDED_BY(mutex_);  // no entry holds them
  // Of each entry in entries_, once it is finished.
  std::array<std::optional<ItemOutcome>, kEntriesAheadOfLog> outcomes_ FENMARQ_GUARDED_BY(mutex_);
  std::size_t openLimit_ FENMARQ_GUARDED_BY(mutex_);  // no entry from here on opens a file
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
