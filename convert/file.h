// An owned byte stream on a file, closed when it goes out of scope.
#ifndef FENMARQ_CONVERT_FILE_H_
#define FENMARQ_CONVERT_FILE_H_

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

#include "formats/byte_sink.h"
#include "platform/file_system.h"

namespace fenmarq {

class File final : public ByteSink {
 public:
  File() = default;
  ~File() override;
  File(const File&) = delete;
  File& operator=(const File&) = delete;

  // Opens the regular file `path` as openRegularFile does: never anything
  // else, never blocking, an output never through a link or with other
  // names; `admit` may refuse the file by its identity. Nothing is emptied:
  // truncate() does that.
  bool open(const std::string& path, OpenMode mode,
            const std::function<bool(const FileIdentity&)>& admit = {});
  // Opens the existing `path` to write through it as it is, whatever it is
  // (openWriteThrough): for outputs that are no regular file.
  bool openThrough(const std::string& path);
  // Gives the open output the permissions, owner and group of the file at
  // `path` (takePermissionsOf).
  bool takePermissionsOf(const std::string& path);
  // Passes on what is buffered; false when it, or any write since open,
  // failed.
  bool flush();
  // Takes over `stream`, an open output (nullptr: none).
  bool adopt(std::FILE* stream);
  // Hands the open stream over, its writes passed on, and forgets it;
  // nullptr when a write since it was opened, or the flush, failed (the
  // stream is closed then).
  std::FILE* release();
  bool isOpen() const { return file_ != nullptr; }
  // Why the last open, or lock(), failed.
  OpenFailure failure() const { return failure_; }
  // Why the last open failed, as a <cerrno> number (see OpenedFile::error).
  int error() const { return error_; }
  // The identity of the file last opened.
  const FileIdentity& identity() const { return identity_; }
  // Its size in bytes when it was opened.
  std::uint64_t openedSize() const { return openedSize_; }

  // Locks the open output against other processes, waiting for them. The
  // lock is held until the object goes or takes another lock, even across
  // close(): a file closed and opened again stays locked in between. False
  // when it cannot be taken.
  bool lock();

  // Reads up to `size` bytes; fewer only at the end of the file or on error.
  std::size_t read(void* buffer, std::size_t size);
  // A failed or short write is remembered and reported by close(), so that
  // a full disk never passes for a complete file.
  void write(std::string_view bytes) override;
  void rewind();
  // Cuts the file to no bytes (through the open file, whatever its name
  // leads to by now); false when it cannot be cut, and close() then reports
  // the file as not written completely.
  bool truncate();

  // False when the close failed or any write since open failed.
  bool close();

 private:
  std::FILE* file_ = nullptr;
  FileIdentity identity_;
  std::uint64_t openedSize_ = 0;
  OpenFailure failure_ = OpenFailure::kNone;
  int error_ = 0;
  FileLock lock_;
  bool writeFailed_ = false;
};

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_FILE_H_
