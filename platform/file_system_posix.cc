#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/file_system.h"

namespace fenmarq {
namespace {

int flagsOf(OpenMode mode) {
  // O_NONBLOCK: opening a FIFO or a device returns at once; such files are
  // refused below anyway.
  constexpr int kAlways = O_CLOEXEC | O_NONBLOCK;
  switch (mode) {
    case OpenMode::kRead:
      return kAlways | O_RDONLY;
    case OpenMode::kUpdate:
      return kAlways | O_RDWR | O_NOFOLLOW;
    case OpenMode::kCreate:
      return kAlways | O_RDWR | O_CREAT | O_NOFOLLOW;
    case OpenMode::kCreateWrite:
      return kAlways | O_WRONLY | O_CREAT | O_NOFOLLOW;
  }
  return kAlways | O_RDONLY;
}

const char* streamModeOf(OpenMode mode) {
  switch (mode) {
    case OpenMode::kRead:
      return "rb";
    case OpenMode::kCreateWrite:
      return "wb";
    default:
      return "r+b";  // the file is emptied here, not by the stream
  }
}

}  // namespace

std::filesystem::path pathFromUtf8(std::string_view utf8) { return std::string(utf8); }

std::string utf8FromPath(const std::filesystem::path& path) { return path.string(); }

void FileLock::release() {
  if (handle_ == kNone) return;
  close(static_cast<int>(handle_));  // the last descriptor of the lock's open file lets it go
  handle_ = kNone;
}

OpenedFile openRegularFile(std::string_view path, OpenMode mode,
                           const std::function<bool(const FileIdentity&)>& admit) {
  const int flags = flagsOf(mode);
  int fd;
  while ((fd = open(std::string(path).c_str(), flags, 0666)) < 0 && errno == EINTR) {
  }
  if (fd < 0) return {};
  OpenedFile file;
  struct stat status;
  bool usable = fstat(fd, &status) == 0 && S_ISREG(status.st_mode);
  file.identity = {static_cast<std::uint64_t>(status.st_dev),
                   static_cast<std::uint64_t>(status.st_ino)};
  usable = usable && (!admit || admit(file.identity));
  usable = usable && fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0;
  if (usable && (flags & O_CREAT) != 0) {
    // The lock lives on a second descriptor of the same open file, so that
    // it outlasts the stream: the CHK file stays locked while it is closed
    // and opened again for its check.
    const int lockFd = fcntl(fd, F_DUPFD_CLOEXEC, 3);
    usable = lockFd >= 0;
    if (usable) file.lock = FileLock(lockFd);
    int locked = -1;
    while (usable && (locked = flock(lockFd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    usable = usable && locked == 0 && ftruncate(fd, 0) == 0;
  }
  file.stream = usable ? fdopen(fd, streamModeOf(mode)) : nullptr;
  if (file.stream == nullptr) {
    close(fd);
    return {};
  }
  return file;
}

bool emptyFile(std::FILE* stream) {
  return std::fflush(stream) == 0 && ftruncate(fileno(stream), 0) == 0;
}

}  // namespace fenmarq
