// An owned byte stream on a file, closed when it goes out of scope.
#ifndef FENMARQ_CONVERT_FILE_H_
#define FENMARQ_CONVERT_FILE_H_

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

#include "formats/byte_sink.h"

namespace fenmarq {

class File final : public ByteSink {
 public:
  File() = default;
  ~File() override;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens `path` with an fopen mode ("rb", "wb", "w+b", "r+b"). Reading modes
  // accept regular files only: a directory or a device is not an input.
  bool open(const std::string& path, const char* mode);
  bool isOpen() const { return file_ != nullptr; }

  // Reads up to `size` bytes; fewer only at the end of the file or on error.
  std::size_t read(void* buffer, std::size_t size);
  // A failed or short write is remembered and reported by close(), so that
  // a full disk never passes for a complete file.
  void write(std::string_view bytes) override;
  void rewind();

  // False when the close failed or any write since open failed.
  bool close();

 private:
  std::FILE* file_ = nullptr;
  bool writeFailed_ = false;
};

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_FILE_H_
