// The whole input file in one block of memory, kept from file to file.
#ifndef FENMARQ_CONVERT_INPUT_IMAGE_H_
#define FENMARQ_CONVERT_INPUT_IMAGE_H_

#include <cstdint>
#include <span>

#include "platform/zeroed_memory.h"

namespace fenmarq {

class File;

class InputImage {
 public:
  // The block size for a file of `fileSize` bytes: the smallest multiple of
  // 16 that is at least fileSize + 4, plus 1 (so always fileSize + 5 or more).
  static std::uint64_t capacityFor(std::uint64_t fileSize);

  // Makes the block ready for a file of `fileSize` bytes (the full 64-bit
  // size). The block of an earlier file is kept when it is large enough and
  // not much larger: fresh memory costs a page fault per page. False when
  // the memory is not available.
  bool allocate(std::uint64_t fileSize);

  // Reads `input` from its start until its end or until one byte before the
  // block's end, whichever comes first, so that a file that grew since its
  // size was taken is cut and never written past the block. The byte after
  // the last one read is set to zero. False when the file was cut.
  bool readFrom(File& input);

  // The bytes read from the file.
  std::span<const std::uint8_t> bytes() const { return {memory_.data(), length_}; }
  std::uint64_t length() const { return length_; }
  std::uint64_t capacity() const { return capacity_; }

 private:
  ZeroedMemory memory_;
  std::uint64_t capacity_ = 0;
  std::uint64_t length_ = 0;
};

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_INPUT_IMAGE_H_
