// The engine that converts a target list, on worker threads where there are
// several, while the log and the view hear of every entry in list order,
// exactly as if the entries had been converted one after the other on one
// thread.
#ifndef FENMARQ_CONVERT_BATCH_ENGINE_H_
#define FENMARQ_CONVERT_BATCH_ENGINE_H_

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

// Converts `targets` in the current directory. Entries open their files in
// list order, each once every earlier entry has opened its own; an entry
// that ends the batch there is the last to touch any output. Conversion runs
// on the workers after that, the calling thread being one of them, and the
// calling thread passes each entry's texts and view calls on, in list order,
// once the entry is converted; until then they are kept with it (a text said
// once per byte as one text and a count), and no worker runs more than eight
// entries ahead of the log. When an entry finds no descriptor or memory to
// spare while others run, or meets an exception, the workers stop and the
// rest of the list, that entry first, is converted on the calling thread.
BatchResult runBatch(const std::vector<std::string>& targets, const BatchOptions& options,
                     LogPane& log, BatchView& view);

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_BATCH_ENGINE_H_
