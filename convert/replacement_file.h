// A file written under a temporary name in the folder of its final name and
// renamed into place once complete: the final name holds its older content or
// the whole new one, never a part of it. A run that fails removes only the
// temporary file it made, and runs that write the same name at once each use
// a temporary name of their own.
#ifndef FENMARQ_CONVERT_REPLACEMENT_FILE_H_
#define FENMARQ_CONVERT_REPLACEMENT_FILE_H_

#include <string>

#include "convert/file.h"

namespace fenmarq {

class ReplacementFile {
 public:
  explicit ReplacementFile(std::string path) : path_(std::move(path)) {}
  ~ReplacementFile();
  ReplacementFile(const ReplacementFile&) = delete;
  ReplacementFile& operator=(const ReplacementFile&) = delete;

  // Makes the temporary file; false when none can be made in the folder.
  bool open();
  File& file() { return file_; }
  // Closes the temporary file and renames it to the final name; false when
  // a write, the close or the rename failed (the temporary file is gone then).
  bool commit();

 private:
  void removeTemporary();

  std::string path_;
  std::string temporary_;
  File file_;
};

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_REPLACEMENT_FILE_H_
