#include <fcntl.h>
#include <io.h>
#include <stdio.h>

#include <cerrno>
#include <string>
#include <system_error>
#include <vector>

#include "platform/descriptor.h"
#include "platform/file_system.h"
#include "platform/utf16_win32.h"

namespace fenmarq {
namespace {

struct ModeTraits {
  DWORD access;
  DWORD disposition;
  bool output;       // never through a link at the end of the path, never with other names
  int crtFlags;      // for the C runtime's descriptor
  const char* mode;  // for its stream; outputs are emptied by truncateFile, not by it
};

ModeTraits traitsOf(OpenMode mode) {
  switch (mode) {
    case OpenMode::kUpdate:
      return {GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, true, _O_RDWR | _O_BINARY, "r+b"};
    case OpenMode::kOutput:
      return {GENERIC_WRITE, OPEN_ALWAYS, true, _O_WRONLY | _O_BINARY, "wb"};
    case OpenMode::kCreateNew:
      return {GENERIC_WRITE, CREATE_NEW, true, _O_WRONLY | _O_BINARY, "wb"};
    default:
      return {GENERIC_READ, OPEN_EXISTING, false, _O_RDONLY | _O_BINARY, "rb"};
  }
}

// Failures that say the process or the system is short of something for the
// moment, or that another program holds the file (as Excel holds a workbook
// it shows), rather than anything about the file itself.
OpenFailure failureOf(DWORD error) {
  if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
    return OpenFailure::kHeldElsewhere;
  }
  return error == ERROR_TOO_MANY_OPEN_FILES || error == ERROR_NOT_ENOUGH_MEMORY ||
                 error == ERROR_OUTOFMEMORY || error == ERROR_NO_SYSTEM_RESOURCES
             ? OpenFailure::kShortOfResources
             : OpenFailure::kRefused;
}

// The <cerrno> number nearest to the system's error `error`.
int errnoOf(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
      return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
      return EACCES;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
      return EEXIST;
    case ERROR_TOO_MANY_OPEN_FILES:
      return EMFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
    case ERROR_NO_SYSTEM_RESOURCES:
      return ENOMEM;
    default:
      return EIO;
  }
}

// The lock is one byte far beyond any data: Windows locks bar other
// handles from the bytes they cover, and the data must stay writable
// through the stream's own handle.
OVERLAPPED lockedByte() {
  OVERLAPPED at{};
  at.Offset = 0xFFFFFFFE;
  at.OffsetHigh = 0x7FFFFFFF;
  return at;
}

}  // namespace

std::filesystem::path pathFromUtf8(std::string_view utf8) { return utf16FromUtf8(utf8); }

std::string utf8FromPath(const std::filesystem::path& path) { return utf8FromUtf16(path.native()); }

void FileLock::release() {
  if (handle_ == kNone) return;
  const HANDLE handle = reinterpret_cast<HANDLE>(handle_);
  OVERLAPPED at = lockedByte();
  UnlockFileEx(handle, 0, 1, 0, &at);
  CloseHandle(handle);
  handle_ = kNone;
}

OpenedFile openRegularFile(std::string_view path, OpenMode mode,
                           const std::function<bool(const FileIdentity&)>& admit) {
  const ModeTraits traits = traitsOf(mode);
  // FILE_FLAG_OPEN_REPARSE_POINT opens a link itself rather than what it
  // leads to; a link is then no regular file and refused.
  const HANDLE handle = CreateFileW(
      utf16FromUtf8(path).c_str(), traits.access,
      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, traits.disposition,
      FILE_ATTRIBUTE_NORMAL | (traits.output ? FILE_FLAG_OPEN_REPARSE_POINT : 0), nullptr);
  if (handle == INVALID_HANDLE_VALUE) {
    const DWORD error = GetLastError();
    return {
        .stream = nullptr, .identity = {}, .failure = failureOf(error), .error = errnoOf(error)};
  }
  OpenedFile file;
  BY_HANDLE_FILE_INFORMATION info;
  bool usable =
      GetFileType(handle) == FILE_TYPE_DISK && GetFileInformationByHandle(handle, &info) &&
      (info.dwFileAttributes &
       (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE)) == 0 &&
      (!traits.output || info.nNumberOfLinks == 1);
  if (usable) {
    file.identity = {info.dwVolumeSerialNumber,
                     std::uint64_t{info.nFileIndexHigh} << 32 | info.nFileIndexLow};
    file.size = std::uint64_t{info.nFileSizeHigh} << 32 | info.nFileSizeLow;
    usable = !admit || admit(file.identity);
  }
  if (!usable) {
    CloseHandle(handle);
    return {.stream = nullptr, .identity = {}, .failure = OpenFailure::kRefused, .error = 0};
  }
  // The C runtime's table of descriptors and streams is limited: a full one
  // is a shortage, as on POSIX.
  const int fd = _open_osfhandle(reinterpret_cast<std::intptr_t>(handle), traits.crtFlags);
  if (fd < 0) {
    CloseHandle(handle);
    return {.stream = nullptr,
            .identity = {},
            .failure = OpenFailure::kShortOfResources,
            .error = EMFILE};
  }
  file.stream = _fdopen(fd, traits.mode);
  if (file.stream == nullptr) {
    _close(fd);
    return {.stream = nullptr,
            .identity = {},
            .failure = OpenFailure::kShortOfResources,
            .error = EMFILE};
  }
  return file;
}

bool readDescriptor(int fd, const std::function<bool(std::string_view)>& take, std::string* err) {
  std::vector<char> buffer(65536);
  for (;;) {
    const int got = _read(fd, buffer.data(), static_cast<unsigned>(buffer.size()));
    if (got == 0) return true;
    if (got < 0) {
      *err = std::generic_category().message(errno);
      return false;
    }
    if (!take(std::string_view(buffer.data(), static_cast<std::size_t>(got)))) return true;
  }
}

bool readStream(std::string_view path, const std::function<bool(std::string_view)>& take,
                std::string* err) {
  // A plain opening for reading, in binary mode: "\r\n" and Ctrl-Z bytes
  // stay as they are.
  const int fd = _wopen(utf16FromUtf8(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0) {
    *err = std::generic_category().message(errno);
    return false;
  }
  const bool read = readDescriptor(fd, take, err);
  _close(fd);
  return read;
}

OpenFailure lockFile(std::FILE* stream, FileLock& lock) {
  const HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
  HANDLE lockHandle;
  if (!DuplicateHandle(GetCurrentProcess(), handle, GetCurrentProcess(), &lockHandle, 0, FALSE,
                       DUPLICATE_SAME_ACCESS)) {
    return failureOf(GetLastError());
  }
  lock = FileLock(reinterpret_cast<std::intptr_t>(lockHandle));
  OVERLAPPED at = lockedByte();
  return LockFileEx(lockHandle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at) ? OpenFailure::kNone
                                                                       : failureOf(GetLastError());
}

bool truncateFile(std::FILE* stream) {
  return std::fflush(stream) == 0 && _chsize_s(_fileno(stream), 0) == 0;
}

std::FILE* openWriteThrough(std::string_view path) {
  return _wfopen(pathFromUtf8(path).c_str(), L"wb");
}

bool namesOpenDescriptor(std::string_view) { return false; }

// A replacement takes the permissions of its folder, as a file made there by
// any other program does.
bool takePermissionsOf(std::string_view, std::FILE*) { return true; }

bool replaceFile(std::string_view from, std::string_view to) {
  const std::wstring source = utf16FromUtf8(from), target = utf16FromUtf8(to);
  // Another process may hold the target for a moment (another run replacing
  // it too, a virus scanner, the search indexer): the move is tried again
  // for about a second before it counts as failed.
  for (int attempt = 0;; ++attempt) {
    if (MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) return true;
    const DWORD error = GetLastError();
    if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || attempt == 50) {
      return false;
    }
    Sleep(20);
  }
}

int compareFileNames(std::string_view a, std::string_view b) {
  const std::wstring wideA = utf16FromUtf8(a), wideB = utf16FromUtf8(b);
  return CompareStringOrdinal(wideA.data(), static_cast<int>(wideA.size()), wideB.data(),
                              static_cast<int>(wideB.size()), TRUE) -
         CSTR_EQUAL;
}

}  // namespace fenmarq
