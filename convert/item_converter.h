// The conversion of one target file that a rule selected: open the input and
// the three outputs, load the image, write and check the hex renderings,
// write the sheet, close everything, logging each step.
#ifndef FENMARQ_CONVERT_ITEM_CONVERTER_H_
#define FENMARQ_CONVERT_ITEM_CONVERTER_H_

#include <span>
#include <string>

#include "convert/batch_view.h"
#include "convert/conversion_rule.h"
#include "convert/hex_dump.h"
#include "convert/input_image.h"
#include "convert/log_pane.h"
#include "formats/csv_sheet.h"
#include "platform/cp932.h"
#include "platform/zeroed_memory.h"

namespace fenmarq {

enum class ItemOutcome {
  kDone,
  kDoneWithProblems,  // a failed close or write, or a CHK mismatch, was reported
  kBatchEnds,         // an open or memory failure: no further item is converted
  kOutputNotOpened    // the batch ends, because an output file could not be opened
};

// Scratch memory of an item, kept by its worker so that the worker's items
// reuse it: one block for the hex renderings and their read-back, and the
// sheet's buffer.
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

// What an item works with besides its files, kept by its worker: the input
// image and scratch memory.
struct ItemResources {
  InputImage image;
  ItemScratch scratch;
  Cp932Encoder* cp932 = nullptr;  // for the texts of the sheet
  // The sheet is written by a thread of its own while the item's thread
  // writes and checks the hex files (where a processor is to spare).
  bool sheetThread = false;
};

// Entry `index` of a batch: shows it and its fields, then converts it when a
// rule selects it, or logs that it is not a conversion target.
ItemOutcome processEntry(std::size_t index, const std::string& path, ItemResources& resources,
                         LogPane& log, BatchView& view);

ItemOutcome convertItem(const std::string& path, const ObservationFileName& name,
                        const ConversionRule& rule, ItemResources& resources, LogPane& log,
                        BatchView& view);

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_ITEM_CONVERTER_H_
