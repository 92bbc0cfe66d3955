#include "convert/input_image.h"

#include <algorithm>
#include <limits>

#include "convert/file.h"

namespace fenmarq {

std::uint64_t InputImage::capacityFor(std::uint64_t fileSize) {
  return (fileSize + 4 + 15) / 16 * 16 + 1;
}

bool InputImage::allocate(std::uint64_t fileSize) {
  capacity_ = 0;
  length_ = 0;
  // A size this close to the top of the range cannot be held in memory, and
  // the capacity arithmetic would wrap.
  if (fileSize > std::numeric_limits<std::size_t>::max() - 64) return false;
  const std::uint64_t capacity = capacityFor(fileSize);
  constexpr std::uint64_t kSlack = 16 << 20;
  const bool keep = memory_.size() >= capacity && memory_.size() - capacity <= kSlack;
  if (!keep && !memory_.allocate(static_cast<std::size_t>(capacity))) return false;
  capacity_ = capacity;
  return true;
}

bool InputImage::readFrom(File& input) {
  input.rewind();
  length_ = 0;
  const std::uint64_t limit = capacity_ - 1;
  constexpr std::uint64_t kChunk = std::uint64_t{1} << 24;
  while (length_ < limit) {
    const std::size_t want = static_cast<std::size_t>(std::min(kChunk, limit - length_));
    const std::size_t got = input.read(memory_.data() + length_, want);
    length_ += got;
    if (got < want) break;
  }
  memory_.data()[length_] = 0;
  if (length_ < limit) return true;
  // The block is full: the file is complete only if nothing follows.
  char extra;
  return input.read(&extra, 1) == 0;
}

}  // namespace fenmarq
