// The engine that converts a target list on a pool of worker threads while
// the log and the view hear of every entry in list order, exactly as if the
// entries had been converted one after the other.
#ifndef FENMARQ_CONVERT_BATCH_ENGINE_H_
#define FENMARQ_CONVERT_BATCH_ENGINE_H_

#include <cstddef>
#include <string>
#include <vector>

#include "convert/batch_result.h"
#include "convert/batch_view.h"
#include "convert/log_pane.h"

namespace fenmarq {

struct ItemResources;

struct BatchOptions {
  // Entries converted at a time, each on a worker thread of its own; 0 picks
  // one per processor (never more than there are entries). With 1 the batch
  // runs on the calling thread alone.
  unsigned workers = 0;
};

// Converts `targets` in the current directory. The entry at the head of the
// list passes its texts on as they come; the texts of later entries wait in
// a buffer of fixed size per worker, whose worker waits when it is full, so
// memory does not grow with the log. Entries that write the same output
// files are never converted at the same time. When an entry ends the batch,
// nothing after it is passed on and no further entry is started; entries
// already under way are finished.
BatchResult runBatch(const std::vector<std::string>& targets, const BatchOptions& options,
                     LogPane& log, BatchView& view);

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_BATCH_ENGINE_H_
