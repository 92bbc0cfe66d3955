#include "tests/support/file_size_limit.h"

namespace fenmarq::testing {

bool fileSizeLimitWorks() { return false; }

FileSizeLimit::FileSizeLimit(std::uint64_t) {}

FileSizeLimit::~FileSizeLimit() = default;

}  // namespace fenmarq::testing
