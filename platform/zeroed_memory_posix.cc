#include <sys/mman.h>

#include "platform/zeroed_memory.h"

namespace fenmarq {
namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;

}  // namespace

bool ZeroedMemory::allocate(std::size_t size) {
  release();
  if (size == 0) size = 1;
  // Large pages need a large-page-aligned range: map one extra large page
  // and trim the unaligned ends away.
  const std::size_t rounded = (size + kLargePage - 1) / kLargePage * kLargePage;
  if (rounded < size) return false;
  const std::size_t length = rounded + kLargePage;
  if (length < rounded) return false;
  void* mapped = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) return false;
  auto* begin = static_cast<std::uint8_t*>(mapped);
  const auto address = reinterpret_cast<std::uintptr_t>(begin);
  auto* aligned = begin + ((kLargePage - address % kLargePage) % kLargePage);
  if (aligned > begin) munmap(begin, static_cast<std::size_t>(aligned - begin));
  std::uint8_t* end = aligned + rounded;
  if (begin + length > end) munmap(end, static_cast<std::size_t>(begin + length - end));
#ifdef MADV_HUGEPAGE
  madvise(aligned, rounded, MADV_HUGEPAGE);  // a hint; without it, small pages do
#endif
  data_ = aligned;
  mapped_ = rounded;
  return true;
}

void ZeroedMemory::release() {
  if (data_ != nullptr) munmap(data_, mapped_);
  data_ = nullptr;
  mapped_ = 0;
}

}  // namespace fenmarq
