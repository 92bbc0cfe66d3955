// Files made to take the place of others: written while the older file stays
// as it was, then put in its place in one step (replaceFile's guarantee).
#ifndef FENMARQ_PLATFORM_TEMPORARY_FILE_H_
#define FENMARQ_PLATFORM_TEMPORARY_FILE_H_

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace fenmarq {

// A file being written in a folder before it takes another's place there.
// Where the file system allows it (Linux's O_TMPFILE), it has no name until
// then, so a process that ends early, even killed, leaves nothing behind;
// elsewhere it has a short name of its own, which a signal that ends the
// process (SIGINT, SIGTERM, SIGHUP; on Windows Ctrl+C, Ctrl+Break and the
// closing of the console) removes first.
struct TemporaryFile {
  std::FILE* stream = nullptr;  // nullptr when none could be made
  std::string path;             // empty while the file has no name
};

// The start of the names of the temporary files for a file named `name` (no
// folder): short, whatever the length of `name`, so that they fit wherever
// it does, and the same for every run that writes it, so that a later run
// finds the files that a killed one left.
std::string temporaryNamePrefix(std::string_view name);

// What the temporary files of a file named `name` end in.
inline constexpr std::string_view kTemporaryNameSuffix = ".partial";

// A new name for a temporary file of a file named `name`: its prefix, eight
// random hexadecimal digits and the suffix.
std::string temporaryFileName(std::string_view name);

// Makes a temporary file beside `target` (UTF-8) to take its place. The
// named temporary files that earlier runs for `target` left behind, killed
// before they could remove them, are removed first.
TemporaryFile makeTemporaryFile(std::string_view target);

// Closes the stream of the temporary file, every write to which has
// succeeded, and puts the file in place of `target`, a name in the same
// folder; false when the close or the move fails, and the file is gone then.
bool placeTemporaryFile(TemporaryFile& file, std::string_view target);

// Closes the stream of a temporary file that is not to be put in place, and
// removes the file.
void discardTemporaryFile(TemporaryFile& file);

// An exclusive lock of a folder for the replacements made in it: runs that
// replace files in one folder take it in turn, so that a pair of files
// (a table and its schema) is replaced by one run, never half by another.
class FolderLock {
 public:
  FolderLock() = default;
  ~FolderLock();
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;
  // Takes the lock of `folder` (UTF-8; empty: the current folder), waiting
  // for its holder; false when it cannot be taken.
  bool lock(std::string_view folder);

 private:
  std::intptr_t handle_ = -1;
};

}  // namespace fenmarq

#endif  // FENMARQ_PLATFORM_TEMPORARY_FILE_H_
