// How a batch went, for callers that act on it (scripts need an exit
// status); the log and the view have already told the user everything.
#ifndef FENMARQ_CONVERT_BATCH_RESULT_H_
#define FENMARQ_CONVERT_BATCH_RESULT_H_

#include <string>

namespace fenmarq {

struct BatchResult {
  bool finished = false;          // the end text was logged
  bool problemsReported = false;  // a failed close or write, or a CHK mismatch
  bool outputNotOpened = false;   // the batch ended at an output it could not open
  // That output, where another program holds it open (Excel, say): the
  // caller says so, in its user's language.
  std::string heldOpen;
  // What ended the batch where no log text says it: a start directory that
  // cannot be entered, a CP932 codec that cannot be loaded, an exception.
  std::string failure;
};

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_BATCH_RESULT_H_
