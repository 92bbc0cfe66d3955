#include "convert/item_resources.h"

namespace fenmarq {

bool ItemScratch::allocate() { return memory_.data() != nullptr || memory_.allocate(kSize); }

HexScratch ItemScratch::hex() const {
  char* base = reinterpret_cast<char*>(memory_.data());
  return {base, base + kHexBlock};
}

std::span<char> ItemScratch::sheetBuffer() const {
  return {reinterpret_cast<char*>(memory_.data()) + 2 * kHexBlock, CsvSheet::kDefaultBufferSize};
}

}  // namespace fenmarq
