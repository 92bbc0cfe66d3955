#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <utility>

#include "platform/temporary_file.h"

namespace fenmarq {
namespace {

// The folder of `target` ("" for the current one) and its name.
std::pair<std::string, std::string> splitPath(std::string_view target) {
  const std::filesystem::path path(target);
  return {path.parent_path().string(), path.filename().string()};
}

std::string joined(const std::string& folder, std::string_view name) {
  return (std::filesystem::path(folder) / name).string();
}

// Removes the temporary files of earlier runs for the target named by
// `prefix` in `folder` that no process holds: each live one is locked by its
// writer from the moment it has its name.
void removeAbandoned(const std::string& folder, const std::string& prefix) {
  DIR* directory = opendir(folder.empty() ? "." : folder.c_str());
  if (directory == nullptr) return;
  while (const dirent* entry = readdir(directory)) {
    const std::string_view name = entry->d_name;
    if (!name.starts_with(prefix) || !name.ends_with(kTemporaryNameSuffix)) continue;
    const std::string path = joined(folder, name);
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat held, named;
    if (flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &held) == 0 &&
        lstat(path.c_str(), &named) == 0 && held.st_dev == named.st_dev &&
        held.st_ino == named.st_ino) {
      unlink(path.c_str());
    }
    close(fd);
  }
  closedir(directory);
}

// The named temporary files of the process, for the signal handler to
// remove: fixed slots, each filled before it is marked used, since a handler
// may read them at any moment. The process's signal dispositions are one
// state of the process, and so is this.
constexpr int kGuardedSlots = 16;
char guardedPaths[kGuardedSlots][PATH_MAX];
std::atomic<bool> guardedUsed[kGuardedSlots];
constexpr int kEndingSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void removeGuardedAndEnd(int signal) {
  for (int slot = 0; slot < kGuardedSlots; ++slot) {
    if (guardedUsed[slot].load()) unlink(guardedPaths[slot]);
  }
  ::signal(signal, SIG_DFL);
  raise(signal);
}

// Installs the handler for each ending signal that would end the process as
// it is; a signal that the caller ignores (nohup's SIGHUP) stays ignored.
void installHandlersOnce() {
  static const bool installed = [] {
    for (const int signal : kEndingSignals) {
      struct sigaction current;
      if (sigaction(signal, nullptr, &current) != 0 || current.sa_handler != SIG_DFL) continue;
      struct sigaction handler = {};
      handler.sa_handler = removeGuardedAndEnd;
      sigemptyset(&handler.sa_mask);
      sigaction(signal, &handler, nullptr);
    }
    return true;
  }();
  static_cast<void>(installed);
}

bool guard(const std::string& path) {
  if (path.size() >= PATH_MAX) return false;
  installHandlersOnce();
  for (int slot = 0; slot < kGuardedSlots; ++slot) {
    if (guardedUsed[slot].load()) continue;
    std::memcpy(guardedPaths[slot], path.c_str(), path.size() + 1);
    guardedUsed[slot].store(true);  // only now may the handler read the slot
    return true;
  }
  return false;
}

void unguard(const std::string& path) {
  for (int slot = 0; slot < kGuardedSlots; ++slot) {
    if (guardedUsed[slot].load() && path == guardedPaths[slot]) guardedUsed[slot].store(false);
  }
}

std::FILE* streamOf(int fd) {
  std::FILE* stream = fdopen(fd, "wb");
  if (stream == nullptr) close(fd);
  return stream;
}

}  // namespace

TemporaryFile makeTemporaryFile(std::string_view target) {
  const auto [folder, name] = splitPath(target);
  const std::string prefix = temporaryNamePrefix(name);
  removeAbandoned(folder, prefix);
  // Locked as a named one is, for the moment it has a name.
  const auto locked = [](int fd) { return flock(fd, LOCK_EX | LOCK_NB) == 0; };
#ifdef O_TMPFILE
  // Nameless, where the file system has such files and /proc can give it a
  // name later.
  if (access("/proc/self/fd", X_OK) == 0) {
    const int fd =
        open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
    if (fd >= 0 && locked(fd)) return {.stream = streamOf(fd), .path = {}};
    if (fd >= 0) close(fd);
  }
#endif
  // Made under a name of its own, locked, and only then given the name that
  // removeAbandoned looks at: a run never sees an unlocked live file there.
  // A name already taken, by another run that writes the same file, say, is
  // passed over for another.
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string path = joined(folder, temporaryFileName(name));
    const std::string made = path + ".new";
    const int fd = open(made.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0 && errno == EEXIST) continue;
    if (fd < 0) break;
    const bool linked = locked(fd) && link(made.c_str(), path.c_str()) == 0;
    const bool taken = !linked && errno == EEXIST;
    unlink(made.c_str());
    if (!linked || !guard(path)) {
      if (linked) unlink(path.c_str());
      close(fd);
      if (taken) continue;
      break;
    }
    TemporaryFile file{.stream = streamOf(fd), .path = path};
    if (file.stream == nullptr) discardTemporaryFile(file);
    return file;
  }
  return {};
}

bool placeTemporaryFile(TemporaryFile& file, std::string_view target) {
  const std::string to(target);
  if (!file.path.empty()) {
    // Renamed while still open, so still locked: another run never takes
    // it for abandoned on the way.
    const bool renamed = std::rename(file.path.c_str(), to.c_str()) == 0;
    const bool placed = std::fclose(std::exchange(file.stream, nullptr)) == 0 && renamed;
    if (!renamed) unlink(file.path.c_str());
    unguard(file.path);
    file.path.clear();
    return placed;
  }
  // A nameless file gets a name of its own first, which the rename then
  // moves over the target: a link cannot replace a file.
  const auto [folder, name] = splitPath(target);
  char source[64];
  std::snprintf(source, sizeof source, "/proc/self/fd/%d", fileno(file.stream));
  bool placed = false;
  for (int attempt = 0; attempt < 16; ++attempt) {
    const std::string path = joined(folder, temporaryFileName(name));
    // For the moment between the two steps the name is removed by a
    // signal as any named temporary file is.
    if (!guard(path)) break;
    if (linkat(AT_FDCWD, source, AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) != 0) {
      const int error = errno;
      unguard(path);
      if (error == EEXIST) continue;
      break;
    }
    placed = std::rename(path.c_str(), to.c_str()) == 0;
    if (!placed) unlink(path.c_str());
    unguard(path);
    break;
  }
  // The last descriptor of a nameless file that was not placed frees it.
  const bool closed = std::fclose(std::exchange(file.stream, nullptr)) == 0;
  return placed && closed;
}

void discardTemporaryFile(TemporaryFile& file) {
  if (file.stream != nullptr) std::fclose(std::exchange(file.stream, nullptr));
  if (file.path.empty()) return;
  unlink(file.path.c_str());
  unguard(file.path);
  file.path.clear();
}

FolderLock::~FolderLock() {
  if (handle_ >= 0) close(static_cast<int>(handle_));  // closing the descriptor lets it go
}

bool FolderLock::lock(std::string_view folder) {
  const std::string directory = folder.empty() ? "." : std::string(folder);
  const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  int locked;
  while ((locked = flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
  }
  if (locked != 0) {
    close(fd);
    return false;
  }
  if (handle_ >= 0) close(static_cast<int>(handle_));
  handle_ = fd;
  return true;
}

}  // namespace fenmarq
