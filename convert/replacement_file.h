// A file written as a temporary file in the folder of its final name and
// put in place once complete: the final name holds its older content or the
// whole new one, never a part of it. A run that fails, or is ended by a
// signal, leaves no temporary file behind (platform/temporary_file.h), and
// runs that write the same name at once each have a temporary file of their
// own.
//
// A symbolic link is followed: the file it leads to is replaced, and the
// link stays. An output that is no regular file (a device, a FIFO, a
// terminal, an open descriptor's name such as /dev/stdout) is written
// through in place instead, never renamed over.
#ifndef FENMARQ_CONVERT_REPLACEMENT_FILE_H_
#define FENMARQ_CONVERT_REPLACEMENT_FILE_H_

#include <string>

#include "convert/file.h"
#include "platform/temporary_file.h"

namespace fenmarq {

class ReplacementFile {
 public:
  explicit ReplacementFile(std::string path) : path_(std::move(path)) {}
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Makes the temporary file, with the permissions of the file it is to
  // replace, or opens an output that is written through; false when neither
  // can be done.
  bool open();
  // Whether the output is written in place rather than replaced.
  bool writesThrough() const { return writesThrough_; }
  File& file() { return file_; }
  // The folder of the file that is replaced (empty: the current folder).
  std::string folder() const;
  // Closes the temporary file and puts it in place of the final name; false
  // when a write, the close or the move failed (the temporary file is gone
  // then).
  bool commit();

 private:
  std::string path_;
  std::string final_;  // path_ with its symbolic links followed
  TemporaryFile temporary_;
  bool writesThrough_ = false;
  File file_;
};

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_REPLACEMENT_FILE_H_
