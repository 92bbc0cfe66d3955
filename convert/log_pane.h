// What the batch driver needs of the window: a log to append to and a view
// of the target list. Any text sink and any recorder satisfy them, so the
// driver runs the same under the window, the command line and the tests.
#ifndef FENMARQ_CONVERT_LOG_PANE_H_
#define FENMARQ_CONVERT_LOG_PANE_H_

#include <cstddef>
#include <string_view>

#include "convert/observation_file_name.h"

namespace fenmarq {

// The append-only log. Texts are UTF-8 and carry their own "\r\n" or "\n".
class LogPane {
 public:
  virtual ~LogPane() = default;
  virtual void append(std::string_view text) = 0;
  // The largest number of characters the pane keeps.
  virtual void setLimit(std::size_t characters) = 0;
};

// Most log lines stand between two "\r\n" texts.
inline void appendBetweenBreaks(LogPane& log, std::string_view text) {
  log.append("\r\n");
  log.append(text);
  log.append("\r\n");
}

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

#endif  // FENMARQ_CONVERT_LOG_PANE_H_
