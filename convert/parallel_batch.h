// A batch whose items are converted by several workers at once, for large
// batches on machines with more than one core.
#ifndef FENMARQ_CONVERT_PARALLEL_BATCH_H_
#define FENMARQ_CONVERT_PARALLEL_BATCH_H_

#include <string>
#include <vector>

#include "convert/batch_converter.h"
#include "convert/log_pane.h"

namespace fenmarq {

// Converts `targets` with `jobs` workers. Each item's log texts and view
// calls are recorded and passed on in list order as soon as every earlier
// item has been passed on, so the log reads exactly as in a sequential run.
// Entries that write the same output files are never converted at the same
// time. When an item ends the batch, no worker starts another item; items
// after it that were already under way are finished (their outputs are
// complete) but their texts are not passed on, exactly as if the batch had
// ended there.
BatchResult runConcurrently(const std::vector<std::string>& targets, unsigned jobs, LogPane& log,
                            BatchView& view);

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_PARALLEL_BATCH_H_
