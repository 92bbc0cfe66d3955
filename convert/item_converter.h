// The conversion of one target file that a rule selected, in two steps:
// opening its input and outputs (which the batch takes in list order), then
// converting it (which may run beside other items): load the image, write
// and check the hex renderings, write the sheet, close everything, logging
// each step.
#ifndef FENMARQ_CONVERT_ITEM_CONVERTER_H_
#define FENMARQ_CONVERT_ITEM_CONVERTER_H_

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "convert/batch_view.h"
#include "convert/conversion_rule.h"
#include "convert/file.h"
#include "convert/log_pane.h"
#include "convert/observation_file_name.h"
#include "convert/output_paths.h"

namespace fenmarq {

struct ItemResources;

enum class ItemOutcome {
  kDone,
  kDoneWithProblems,  // a failed close or write, or a CHK mismatch, was reported
  kBatchEnds,         // an open or memory failure: no further item is converted
  kOutputNotOpened,   // the batch ends, because an output file could not be opened
  // The system had no descriptor or memory to spare while other items held
  // theirs: the item is to be converted again, alone (Shortage::kRetryAlone).
  kShortOfResources,
};

// How an item meets a system that is short of descriptors or memory.
enum class Shortage {
  kEndsBatch,   // as any file that cannot be opened or memory that cannot be had
  kRetryAlone,  // the item stops with kShortOfResources, to be converted again alone
};

// What an item is: its input, its name, the rule that converts it and its
// outputs.
struct Item {
  std::string path;
  ObservationFileName name;
  ConversionRule rule{};
  OutputPaths outputs;
};

// The item at `path` (a target list's entry), or none when no rule converts
// it.
std::optional<Item> itemFor(const std::string& path);

// No entry, as lastWithSameOutputs says it.
inline constexpr std::size_t kNoEntry = static_cast<std::size_t>(-1);

// For each entry of a target list, the last earlier one whose outputs are
// the same files (by a name the system takes for the same), or kNoEntry.
std::vector<std::size_t> lastWithSameOutputs(const std::vector<std::string>& targets);

// An item's four files, from its opening to its end.
struct ItemFiles {
  File input, hex, csv, chk;
};

// The output of `item` that another program holds open, so that `files`
// could not open it; "" when none is.
std::string heldElsewhere(const Item& item, const ItemFiles& files);

// Opens the input, then the three outputs (an output with other names, such
// as the input's or another output's, is refused), locks them, and makes
// `resources` ready for the input's size. Nothing is emptied yet, so an item
// that ends here leaves every output as it was. kDone when the item can be
// converted.
ItemOutcome openItem(const Item& item, ItemFiles& files, ItemResources& resources,
                     Shortage shortage, LogPane& log);

// Empties the outputs of an opened item, converts it and closes its files.
// With `sheetThread` the sheet is written by a thread of its own while this
// one writes and checks the hex files.
ItemOutcome convertOpenedItem(const Item& item, ItemFiles& files, ItemResources& resources,
                              bool sheetThread, Shortage shortage, LogPane& log, BatchView& view);

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_ITEM_CONVERTER_H_
