#include <windows.h>

#include "platform/zeroed_memory.h"

namespace fenmarq {

bool ZeroedMemory::allocate(std::size_t size) {
  release();
  // Committed pages from VirtualAlloc are zero-filled.
  void* block =
      VirtualAlloc(nullptr, size == 0 ? 1 : size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
  if (block == nullptr) return false;
  data_ = static_cast<std::uint8_t*>(block);
  mapped_ = size;
  return true;
}

void ZeroedMemory::release() {
  if (data_ != nullptr) VirtualFree(data_, 0, MEM_RELEASE);
  data_ = nullptr;
  mapped_ = 0;
}

}  // namespace fenmarq
