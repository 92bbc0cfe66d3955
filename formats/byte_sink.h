#ifndef FENMARQ_FORMATS_BYTE_SINK_H_
#define FENMARQ_FORMATS_BYTE_SINK_H_

#include <string_view>

namespace fenmarq {

// Where output bytes go: an open file, or a string in tests.
class ByteSink {
 public:
  virtual ~ByteSink() = default;
  virtual void write(std::string_view bytes) = 0;
};

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_BYTE_SINK_H_
