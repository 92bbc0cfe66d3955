#include <signal.h>
#include <sys/resource.h>

#include "tests/support/file_size_limit.h"

namespace fenmarq::testing {

bool fileSizeLimitWorks() { return true; }

FileSizeLimit::FileSizeLimit(std::uint64_t bytes) {
  // A write past the limit then fails with EFBIG instead of killing the
  // process with SIGXFSZ.
  signal(SIGXFSZ, SIG_IGN);
  rlimit limit;
  getrlimit(RLIMIT_FSIZE, &limit);
  previous_ = limit.rlim_cur;
  limit.rlim_cur = bytes;
  setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit() {
  rlimit limit;
  getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = previous_;
  setrlimit(RLIMIT_FSIZE, &limit);
}

}  // namespace fenmarq::testing
