// What an item works with besides its files, kept from item to item so that a
// batch allocates it once per worker: the input image, scratch memory and the
// codec for the sheet's texts.
#ifndef FENMARQ_CONVERT_ITEM_RESOURCES_H_
#define FENMARQ_CONVERT_ITEM_RESOURCES_H_

#include <cstddef>
#include <memory>
#include <span>

#include "convert/hex_dump.h"
#include "convert/input_image.h"
#include "formats/csv_sheet.h"
#include "platform/cp932.h"
#include "platform/zeroed_memory.h"

namespace fenmarq {

// Scratch memory of an item: one block for the hex renderings and their
// read-back, and the sheet's buffer.
class ItemScratch {
 public:
  // Obtains the block unless it is already there; false when the memory is
  // not available.
  bool allocate();

  HexScratch hex() const;
  std::span<char> sheetBuffer() const;

 private:
  static constexpr std::size_t kHexBlock = 2 * HexScratch::kBlockBytes;
  static constexpr std::size_t kSize = 2 * kHexBlock + CsvSheet::kDefaultBufferSize;
  ZeroedMemory memory_;
};

struct ItemResources {
  InputImage image;
  ItemScratch scratch;
  std::unique_ptr<Cp932Encoder> cp932;
};

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_ITEM_RESOURCES_H_
