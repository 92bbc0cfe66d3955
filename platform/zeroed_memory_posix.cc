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
  // and trim the unaligned ends away. Where that much address space is not
  // to be had, the block is mapped as it is, in small pages.
  const std::size_t rounded = (size + kLargePage - 1) / kLargePage * kLargePage;
  const std::size_t length = rounded + kLargePage;
  void* mapped = rounded < size || length < rounded ? MAP_FAILED
                                                    : mmap(nullptr, length, PROT_READ | PROT_WRITE,
                                                           MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) {
    mapped = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return false;
    data_ = static_cast<std::uint8_t*>(mapped);
    mapped_ = size;
    return true;
  }
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
