// Large zero-filled blocks straight from the system. Fresh memory is paid for
// page by page on first touch, so a block of megabytes is backed by large
// pages where the system offers them.
#ifndef FENMARQ_PLATFORM_ZEROED_MEMORY_H_
#define FENMARQ_PLATFORM_ZEROED_MEMORY_H_

#include <cstddef>
#include <cstdint>

namespace fenmarq {

class ZeroedMemory {
 public:
  ZeroedMemory() = default;
  ~ZeroedMemory() { release(); }
  ZeroedMemory(const ZeroedMemory&) = delete;
  ZeroedMemory& operator=(const ZeroedMemory&) = delete;

  // Replaces the block with a new one of `size` zero bytes. False when the
  // memory is not available (the object is then empty).
  bool allocate(std::size_t size);
  void release();

  std::uint8_t* data() const { return data_; }
  std::size_t size() const { return mapped_; }

 private:
  std::uint8_t* data_ = nullptr;
  std::size_t mapped_ = 0;
};

}  // namespace fenmarq

#endif  // FENMARQ_PLATFORM_ZEROED_MEMORY_H_
