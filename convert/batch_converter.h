// Converts a list of observation files, reporting every step in the log: for
// each convertible file a HEX and a CHK rendering (the CHK one read back and
// checked) and a CSV sheet, in the HEXFiles, CHKFiles and CSVFiles folders of
// the start directory.
//
// Errors in the core: a function that fails with a text is
// `bool f(..., std::string* error)`, a result struct only where a value comes
// back too, an enum only where the caller acts on the kind; an exception ends
// a batch only through BatchConverter::run.
#ifndef FENMARQ_CONVERT_BATCH_CONVERTER_H_
#define FENMARQ_CONVERT_BATCH_CONVERTER_H_

#include <string>
#include <vector>

#include "convert/batch_engine.h"
#include "convert/batch_result.h"
#include "convert/batch_view.h"
#include "convert/log_pane.h"

namespace fenmarq {

class BatchConverter {
 public:
  explicit BatchConverter(BatchOptions options = {}) : options_(options) {}

  // Makes `startDirectory` current and converts `targets` in order; the log
  // and the view hear of every entry in list order whatever the number of
  // workers. A file that cannot be opened, or memory that cannot be had,
  // ends the batch (the log says so); so does a start directory that cannot
  // be entered, or any other exception (the result's failure says so).
  BatchResult run(const std::vector<std::string>& targets, const std::string& startDirectory,
                  LogPane& log, BatchView& view);

 private:
  BatchOptions options_;
};

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_BATCH_CONVERTER_H_
