// What a batch needs of the window besides its log: a view of the target
// list and its fields, and message boxes. Any recorder satisfies it, so the
// batch runs the same under the window, the command line and the tests.
#ifndef FENMARQ_CONVERT_BATCH_VIEW_H_
#define FENMARQ_CONVERT_BATCH_VIEW_H_

#include <cstddef>
#include <string_view>

#include "convert/observation_file_name.h"

namespace fenmarq {

class BatchView {
 public:
  virtual ~BatchView() = default;
  // Marks target `index` (from 0) as the one being converted.
  virtual void selectEntry(std::size_t index) = 0;
  virtual void showFields(const ObservationFileName& name) = 0;
  // A modal message with one OK button; returns when it is dismissed.
  virtual void showMessageBox(std::string_view text) = 0;
};

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_BATCH_VIEW_H_
