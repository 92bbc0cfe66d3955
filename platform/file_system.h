// The file system at the platform boundary. Paths inside Fenmarq are UTF-8
// text; on Windows they become UTF-16 here and reach the system through its
// wide-character functions (never the ANSI code page), on POSIX their bytes
// pass unchanged.
#ifndef FENMARQ_PLATFORM_FILE_SYSTEM_H_
#define FENMARQ_PLATFORM_FILE_SYSTEM_H_

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace fenmarq {

std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8FromPath(const std::filesystem::path& path);

// What tells a file from every other whatever its name: device and inode on
// POSIX, volume serial number and file index on Windows.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t number = 0;
  bool operator==(const FileIdentity&) const = default;
};

enum class OpenMode {
  kRead,       // an existing file, read
  kUpdate,     // an existing file, read and written
  kOutput,     // created when missing, written; what it holds stays until it is truncated
  kCreateNew,  // made here under a name that no file has yet, written
};

// Why a file was not opened.
enum class OpenFailure {
  kNone,
  kRefused,           // missing, not a regular file, a link, or refused by `admit`
  kShortOfResources,  // the system had no descriptor or memory to spare just then
  kHeldElsewhere,     // another program has it open and lets no one else write it (Windows)
};

// An exclusive advisory lock on a file, held until it is released or
// destroyed. Processes that open the same output wait for each other.
class FileLock {
 public:
  FileLock() = default;
  // Takes over `handle`, a descriptor (POSIX) or handle (Windows) that holds
  // the lock.
  explicit FileLock(std::intptr_t handle) : handle_(handle) {}
  ~FileLock() { release(); }
  FileLock(FileLock&& other) noexcept : handle_(std::exchange(other.handle_, kNone)) {}
  FileLock& operator=(FileLock&& other) noexcept {
    if (this != &other) {
      release();
      handle_ = std::exchange(other.handle_, kNone);
    }
    return *this;
  }

  bool held() const { return handle_ != kNone; }
  void release();

 private:
  static constexpr std::intptr_t kNone = -1;
  std::intptr_t handle_ = kNone;
};

struct OpenedFile {
  std::FILE* stream = nullptr;  // nullptr when the file was not opened
  FileIdentity identity;
  std::uint64_t size = 0;  // bytes, as the file system reported them at the opening
  OpenFailure failure = OpenFailure::kNone;
  // Why it was not opened, as a <cerrno> number: the system's own for a
  // failed opening (on Windows the nearest one), EISDIR for a folder; 0 for
  // any other file that is no regular file, an output with other names, or a
  // file that `admit` refused.
  int error = 0;
};

// Opens the regular file at `path` (UTF-8); nothing else is ever opened, and
// nothing blocks on a FIFO or a device. Only the input (kRead) may be reached
// through a symbolic link at the end of its path, and only the input may
// have other names (hard links): an output never has, so that nothing is
// written outside its folder, into a file that a link leads to, or into a
// file that is also another output. `admit`, when given, sees the file's
// identity first and may refuse it. Nothing is emptied here.
OpenedFile openRegularFile(std::string_view path, OpenMode mode,
                           const std::function<bool(const FileIdentity&)>& admit = {});

// Reads the file at `path` (UTF-8) from its start to its end as any program
// reads its input: a pipe, a FIFO or a device as much as a regular file,
// waiting for what a writer has yet to write. Hands each piece read (at most
// 64 KiB) to `take` in order and stops early once `take` returns false.
// False, with `err` the system's reason, when the file cannot be opened or a
// read fails.
bool readStream(std::string_view path, const std::function<bool(std::string_view)>& take,
                std::string* err);

// Takes the exclusive lock of the open output `stream`, waiting for any other
// holder, on a second descriptor of the same open file, so that the lock
// outlasts the stream: a CHK file stays locked while it is closed and opened
// again for its check.
OpenFailure lockFile(std::FILE* stream, FileLock& lock);

// Cuts the open file `stream` to no bytes; false when it cannot be cut.
bool truncateFile(std::FILE* stream);

// Opens the existing file at `path` for writing through, in place, as it
// is: a device, a FIFO, a terminal, or the name of an open descriptor
// (namesOpenDescriptor). A FIFO waits for its reader, as any writer does.
// nullptr when it cannot be opened.
std::FILE* openWriteThrough(std::string_view path);

// Whether `path` is the name of a descriptor the process holds
// (/dev/stdout, /dev/fd/3): what it leads to is written through, never
// replaced, even where that is a regular file.
bool namesOpenDescriptor(std::string_view path);

// Gives the open output `stream`, which is to replace the file at `path`,
// that file's permissions and, where the system allows it, its owner and
// group. True when `path` names no file (a new one keeps what it was made
// with); false when the permissions cannot be given.
bool takePermissionsOf(std::string_view path, std::FILE* stream);

// Moves the file `from` to the name `to` in the same folder, in place of
// any file there, in one step: a reader finds either file whole.
bool replaceFile(std::string_view from, std::string_view to);

// Orders file names (no folders) as the file system tells them apart: byte
// for byte on POSIX; on Windows regardless of letter case, as the system
// compares names. 0 when both name the same file in one folder.
int compareFileNames(std::string_view a, std::string_view b);

}  // namespace fenmarq

#endif  // FENMARQ_PLATFORM_FILE_SYSTEM_H_
