// A limit on the size of every file the test process writes, for the life
// of the object: a write past it fails, as on a full disk. POSIX only.
#ifndef FENMARQ_TESTS_SUPPORT_FILE_SIZE_LIMIT_H_
#define FENMARQ_TESTS_SUPPORT_FILE_SIZE_LIMIT_H_

#include <cstdint>

namespace fenmarq::testing {

bool fileSizeLimitWorks();

class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::uint64_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

 private:
  std::uint64_t previous_ = 0;
};

}  // namespace fenmarq::testing

#endif  // FENMARQ_TESTS_SUPPORT_FILE_SIZE_LIMIT_H_
