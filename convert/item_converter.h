// The conversion of one target file that a rule selected, in two steps:
// opening its input and outputs (which the batch takes in list order), then
// converting it (which may run beside other items): load the image, write
// and check the hex renderings, write the sheet, close everything, logging
// each step.
#ifndef FENMARQ_CONVERT_ITEM_CONVERTER_H_
#define FENMARQ_CONVERT_ITEM_CONVERTER_H_

#include <memory>
#include <span>
#include <string>

#include "convert/batch_view.h"
#include "convert/conversion_rule.h"
#include "convert/file.h"
#include "convert/hex_dump.h"
#include "convert/input_image.h"
#include "convert/log_pane.h"
#include "convert/output_paths.h"
#include "formats/csv_sheet.h"
#include "platform/cp932.h"
#include "platform/zeroed_memory.h"

namespace fenmarq {

enum class ItemOutcome {
  kDone,
  kDoneWithProblems,  // a failed close or write, or a CHK mismatch, was reported
  kBatchEnds,         // an open or memory failure: no further item is converted
  kOutputNotOpened,   // the batch ends, because an output file could not be opened
  // The system had no descriptor or memory to spare while other items held
  // theirs: the item is to be converted again, alone (see Shortage).
  kShortOfResources,
};

// How an item meets a system that is short of descriptors or memory.
enum class Shortage {
  kEndsBatch,  // as any file that cannot be opened or memory that cannot be had
  kReported,   // the item stops with kShortOfResources
};

// Scratch memory of an item, kept from item to item: one block for the hex
// renderings and their read-back, and the sheet's buffer.
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

// What an item works with besides its files, kept from item to item: the
// input image, scratch memory and the codec for the sheet's texts.
struct ItemResources {
  InputImage image;
  ItemScratch scratch;
  std::unique_ptr<Cp932Encoder> cp932;
};

// An item from its opening to its end: what it is and its four files.
struct Item {
  std::string path;
  ObservationFileName name;
  ConversionRule rule{};
  OutputPaths outputs;
  File input, hex, csv, chk;
};

// Opens the input, then the three outputs (an output with other names, such
// as the input's or another output's, is refused), locks them, and makes
// `resources` ready for the input's size. Nothing is emptied yet, so an item
// that ends here leaves every output as it was. kDone when the item can be
// converted.
ItemOutcome openItem(Item& item, ItemResources& resources, Shortage shortage, LogPane& log);

// Empties the outputs of an opened item, converts it and closes its files. With `sheetThread` the
// sheet is written by a thread of its own while this one writes and checks the hex files.
ItemOutcome convertOpenedItem(Item& item, ItemResources& resources, bool sheetThread,
                              Shortage shortage, LogPane& log, BatchView& view);

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_ITEM_CONVERTER_H_
