// Converts a list of observation files one after the other, reporting every
// step in the log: for each convertible file a HEX and a CHK rendering (the
// CHK one read back and checked) and a CSV sheet, in the HEXFiles, CHKFiles
// and CSVFiles folders of the start directory.
#ifndef FENMARQ_CONVERT_BATCH_CONVERTER_H_
#define FENMARQ_CONVERT_BATCH_CONVERTER_H_

#include <string>
#include <vector>

#include "convert/log_pane.h"

namespace fenmarq {

// How a batch went, for callers that act on it (scripts need an exit
// status); the log and the view have already told the user everything.
struct BatchResult {
  bool finished = false;          // the end text was logged
  bool problemsReported = false;  // a failed close or write, or a CHK mismatch
  // What ended the batch where no log text says it: a fault of the
  // installation, such as a CP932 codec that cannot be loaded.
  std::string failure;
};

struct OutputPaths {
  std::string hex;
  std::string csv;
  std::string chk;
};

// The three output paths of a file, relative to the start directory, e.g.
// ./HEXFiles/HEX_amd_1min_20160412.62078.txt on POSIX.
OutputPaths makeOutputPaths(const std::string& fileName, char separator);

class BatchConverter {
 public:
  // With `jobs` 0, one item at a time, with a helper thread formatting the
  // sheets where they are large enough to pay for it. With `jobs` N, N items
  // at a time, each on one thread; the log and the view still receive every
  // item's texts in list order.
  explicit BatchConverter(unsigned jobs = 0) : jobs_(jobs) {}

  // Makes `startDirectory` current and converts `targets` in order. A file
  // that cannot be opened, or memory that cannot be had, ends the batch.
  BatchResult run(const std::vector<std::string>& targets, const std::string& startDirectory,
                  LogPane& log, BatchView& view);

 private:
  unsigned jobs_;
};

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_BATCH_CONVERTER_H_
