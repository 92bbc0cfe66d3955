// The engine that converts a target list, on worker threads where there are
// several, while the log and the view hear of every entry in list order,
// exactly as if the entries had been converted one after the other on one
// thread.
#ifndef FENMARQ_CONVERT_BATCH_ENGINE_H_
#define FENMARQ_CONVERT_BATCH_ENGINE_H_

#include <cstddef>
#include <string>
#include <vector>

#include "convert/batch_result.h"
#include "convert/batch_view.h"
#include "convert/log_pane.h"

namespace fenmarq {

struct BatchOptions {
  // Entries converted at a time; 0 picks one per processor (never more than
  // there are entries). With 1 the batch runs on the calling thread alone.
  unsigned workers = 0;
  // An item's sheet may be written by a thread of its own while its hex files
  // are written and checked, where a processor is left over.
  bool sheetThreads = true;
};

// Entries opened and not yet passed on to the log, at most, whatever the
// number of workers: enough to keep the workers busy past an entry that
// takes long, few enough that what waits to be said stays small.
inline constexpr std::size_t kEntriesAheadOfLog = 32;

// Converts `targets` in the current directory. With one worker the calling
// thread converts each entry in turn, its texts going straight to the log.
// With more, the calling thread alone opens entries, in list order, and
// passes on what each said once it is converted, in list order; the workers
// convert the opened ones. An entry is opened once a worker's resources are
// free, no more than kEntriesAheadOfLog entries are ahead of the log, and the
// last earlier entry with the same outputs is finished; an entry that ends
// the batch there is the last to touch any output. Until its turn an entry's
// texts are kept with it (a text said once per byte as one text and a
// count). When an entry finds no descriptor or memory to spare while others
// run, or meets an exception, the workers stop and the rest of the list, that
// entry first, is converted on the calling thread.
BatchResult runBatch(const std::vector<std::string>& targets, const BatchOptions& options,
                     LogPane& log, BatchView& view);

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_BATCH_ENGINE_H_
