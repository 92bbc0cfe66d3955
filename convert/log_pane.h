// The log a batch appends to. Any text sink satisfies it, so the batch runs
// the same under the window, the command line and the tests.
#ifndef FENMARQ_CONVERT_LOG_PANE_H_
#define FENMARQ_CONVERT_LOG_PANE_H_

#include <cstddef>
#include <string_view>

namespace fenmarq {

// The append-only log. Texts are UTF-8 and carry their own "\r\n" or "\n".
class LogPane {
 public:
  virtual ~LogPane() = default;
  virtual void append(std::string_view text) = 0;
  // `text` appended `times` times in a row: a failed check says the same
  // line once per byte, and a pane that keeps texts for later keeps this as
  // one text and a count.
  virtual void appendRepeated(std::string_view text, std::size_t times) {
    for (; times > 0; --times) append(text);
  }
  // The largest number of characters the pane keeps.
  virtual void setLimit(std::size_t characters) = 0;
};

// Most log lines stand between two "\r\n" texts.
inline void appendBetweenBreaks(LogPane& log, std::string_view text) {
  log.append("\r\n");
  log.append(text);
  log.append("\r\n");
}

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_LOG_PANE_H_
