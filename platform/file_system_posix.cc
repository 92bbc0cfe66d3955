#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <system_error>
#include <vector>

#include "platform/descriptor.h"
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
    case OpenMode::kOutput:
      return kAlways | O_WRONLY | O_CREAT | O_NOFOLLOW;
    case OpenMode::kCreateNew:
      return kAlways | O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW;
  }
  return kAlways | O_RDONLY;
}

const char* streamModeOf(OpenMode mode) {
  switch (mode) {
    case OpenMode::kRead:
      return "rb";
    case OpenMode::kUpdate:
      return "r+b";
    default:
      return "wb";  // an output is emptied by truncateFile, not by the stream
  }
}

// Failures that say the process or the system is short of something for the
// moment, rather than anything about the file.
OpenFailure failureOf(int error) {
  return error == EMFILE || error == ENFILE || error == ENOMEM || error == ENOLCK
             ? OpenFailure::kShortOfResources
             : OpenFailure::kRefused;
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
  if (fd < 0) {
    return {.stream = nullptr, .identity = {}, .failure = failureOf(errno), .error = errno};
  }
  const auto refused = [fd](int error) {
    close(fd);
    return OpenedFile{
        .stream = nullptr, .identity = {}, .failure = OpenFailure::kRefused, .error = error};
  };
  struct stat status;
  if (fstat(fd, &status) != 0) return refused(errno);
  if (!S_ISREG(status.st_mode)) return refused(S_ISDIR(status.st_mode) ? EISDIR : 0);
  OpenedFile file;
  file.identity = {static_cast<std::uint64_t>(status.st_dev),
                   static_cast<std::uint64_t>(status.st_ino)};
  file.size = static_cast<std::uint64_t>(status.st_size);
  if (mode != OpenMode::kRead && status.st_nlink != 1) return refused(0);
  if (admit && !admit(file.identity)) return refused(0);
  if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) return refused(errno);
  file.stream = fdopen(fd, streamModeOf(mode));
  if (file.stream == nullptr) {
    const int error = errno;
    close(fd);
    return {.stream = nullptr, .identity = {}, .failure = failureOf(error), .error = error};
  }
  return file;
}

bool readDescriptor(int fd, const std::function<bool(std::string_view)>& take, std::string* err) {
  std::vector<char> buffer(65536);
  for (;;) {
    const ssize_t got = ::read(fd, buffer.data(), buffer.size());
    if (got == 0) return true;
    if (got < 0) {
      if (errno == EINTR) continue;
      *err = std::generic_category().message(errno);
      return false;
    }
    if (!take(std::string_view(buffer.data(), static_cast<std::size_t>(got)))) return true;
  }
}

bool readStream(std::string_view path, const std::function<bool(std::string_view)>& take,
                std::string* err) {
  // A plain opening for reading: a FIFO waits here for its writer, as it
  // does for any program that reads one.
  int fd;
  while ((fd = open(std::string(path).c_str(), O_RDONLY | O_CLOEXEC)) < 0 && errno == EINTR) {
  }
  if (fd < 0) {
    *err = std::generic_category().message(errno);
    return false;
  }
  const bool read = readDescriptor(fd, take, err);
  close(fd);
  return read;
}

OpenFailure lockFile(std::FILE* stream, FileLock& lock) {
  const int lockFd = fcntl(fileno(stream), F_DUPFD_CLOEXEC, 3);
  if (lockFd < 0) return failureOf(errno);
  lock = FileLock(lockFd);
  int locked;
  while ((locked = flock(lockFd, LOCK_EX)) != 0 && errno == EINTR) {
  }
  return locked == 0 ? OpenFailure::kNone : failureOf(errno);
}

bool truncateFile(std::FILE* stream) {
  return std::fflush(stream) == 0 && ftruncate(fileno(stream), 0) == 0;
}

std::FILE* openWriteThrough(std::string_view path) {
  int fd;
  while ((fd = open(std::string(path).c_str(), O_WRONLY | O_CLOEXEC)) < 0 && errno == EINTR) {
  }
  if (fd < 0) return nullptr;
  std::FILE* stream = fdopen(fd, "wb");
  if (stream == nullptr) close(fd);
  return stream;
}

bool namesOpenDescriptor(std::string_view path) {
  return path == "/dev/stdout" || path == "/dev/stderr" || path.starts_with("/dev/fd/") ||
         path.starts_with("/proc/self/fd/");
}

bool takePermissionsOf(std::string_view path, std::FILE* stream) {
  struct stat status;
  if (stat(std::string(path).c_str(), &status) != 0) return errno == ENOENT;
  const int fd = fileno(stream);
  // Another owner is root's to give, a group its members': otherwise the
  // file stays the writer's, which is no failure. The owner goes first, as
  // giving it clears the set-id bits.
  if (fchown(fd, status.st_uid, status.st_gid) != 0) {
    const int groupOnly = fchown(fd, static_cast<uid_t>(-1), status.st_gid);
    static_cast<void>(groupOnly);
  }
  return fchmod(fd, status.st_mode & 07777) == 0;
}

bool replaceFile(std::string_view from, std::string_view to) {
  return std::rename(std::string(from).c_str(), std::string(to).c_str()) == 0;
}

int compareFileNames(std::string_view a, std::string_view b) { return a.compare(b); }

}  // namespace fenmarq
