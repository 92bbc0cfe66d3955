#include "convert/item_converter.h"

#include <exception>
#include <map>
#include <system_error>
#include <thread>
#include <utility>

#include "convert/hex_dump.h"
#include "convert/item_resources.h"
#include "convert/log_texts.h"
#include "formats/csv_sheet.h"
#include "formats/format_converter.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace fenmarq {
namespace {

// What a failed open or allocation means for the item: `outcome`, unless the
// system was short of resources and the item is to be retried alone.
ItemOutcome failed(ItemOutcome outcome, bool shortOfResources, Shortage shortage) {
  return shortOfResources && shortage == Shortage::kRetryAlone ? ItemOutcome::kShortOfResources
                                                               : outcome;
}

ItemOutcome notOpened(const File& file, ItemOutcome outcome, Shortage shortage) {
  return failed(outcome, file.failure() == OpenFailure::kShortOfResources, shortage);
}

// Opens and locks the three outputs; the number that were, and the lines
// that say so. None is emptied here, so that one that cannot be opened (a
// missing folder, a file held by another program) costs the others nothing.
std::size_t openOutputs(const Item& item, ItemFiles& itemFiles, LogPane& log) {
  File* const files[] = {&itemFiles.hex, &itemFiles.csv, &itemFiles.chk};
  const std::string* const paths[] = {&item.outputs.hex, &item.outputs.csv, &item.outputs.chk};
  const FileIdentity input = itemFiles.input.identity();
  const auto notTheInput = [&](const FileIdentity& output) { return output != input; };
  std::size_t opened = 0;
  while (opened < 3 && files[opened]->open(*paths[opened], OpenMode::kOutput, notTheInput)) {
    ++opened;
  }
  for (std::size_t i = 0; opened == 3 && i < 3; ++i) {
    if (!files[i]->lock()) opened = i;
  }
  for (std::size_t i = 0; i < opened; ++i) logOpened(log, *paths[i], true);
  if (opened < 3) logOpened(log, *paths[opened], false);
  return opened;
}

// Writes the sheet to the CSV file: on a thread of its own, while the item's
// thread writes and checks the hex files, when asked and one can be had;
// otherwise when finish() is called. finish() passes on what it threw.
class SheetJob {
 public:
  SheetJob(const Item& item, File& csv, ItemResources& resources, bool ownThread)
      : item_(item), csv_(csv), resources_(resources) {
    if (!ownThread) return;
    try {
      thread_ = std::jthread([this] { write(); });
    } catch (const std::system_error&) {
      // No thread to be had: the sheet comes in finish().
    }
  }

  void finish() {
    if (thread_.joinable()) {
      thread_.join();
    } else {
      write();
    }
    if (failure_) std::rethrow_exception(failure_);
  }

  // Waits for a sheet under way; one not yet begun is not written.
  void abandon() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  void write() {
    try {
      CsvSheet sheet(csv_, resources_.scratch.sheetBuffer());
      item_.rule.converter->writeSheet(resources_.image.bytes(), item_.name.fileName,
                                       *resources_.cp932, sheet);
    } catch (...) {
      failure_ = std::current_exception();
    }
  }

  const Item& item_;
  File& csv_;
  ItemResources& resources_;
  std::exception_ptr failure_;
  std::jthread thread_;
};

// Closes the files still open; a failure is shown in a message box and the
// work goes on. True when every one closed cleanly.
bool closeFiles(ItemFiles& files, BatchView& view) {
  bool closed = true;
  const std::pair<File*, std::string_view> streams[] = {{&files.input, kBinCloseFailedText},
                                                        {&files.hex, kHexCloseFailedText},
                                                        {&files.csv, kCsvCloseFailedText}};
  for (const auto& [file, closeFailedText] : streams) {
    if (file->close()) continue;
    view.showMessageBox(closeFailedText);
    closed = false;
  }
  return closed;
}

}  // namespace

std::optional<Item> itemFor(const std::string& path) {
  ObservationFileName name = parseObservationFileName(path, directorySeparators());
  const std::optional<ConversionRule> rule = selectConversionRule(name);
  if (!rule) return std::nullopt;
  OutputPaths outputs = makeOutputPaths(name.fileName, directorySeparator());
  return Item{path, std::move(name), *rule, std::move(outputs)};
}

std::vector<std::size_t> lastWithSameOutputs(const std::vector<std::string>& targets) {
  const auto less = [](const std::string& a, const std::string& b) {
    return compareFileNames(a, b) < 0;
  };
  std::map<std::string, std::size_t, decltype(less)> lastWithName(less);
  std::vector<std::size_t> before(targets.size(), kNoEntry);
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const std::string name = parseObservationFileName(targets[i], directorySeparators()).fileName;
    const auto [it, fresh] = lastWithName.try_emplace(name, i);
    if (!fresh) before[i] = std::exchange(it->second, i);
  }
  return before;
}

std::string heldElsewhere(const Item& item, const ItemFiles& files) {
  const std::pair<const File*, const std::string*> outputs[] = {{&files.hex, &item.outputs.hex},
                                                                {&files.csv, &item.outputs.csv},
                                                                {&files.chk, &item.outputs.chk}};
  for (const auto& [file, path] : outputs) {
    if (file->failure() == OpenFailure::kHeldElsewhere) return *path;
  }
  return {};
}

ItemOutcome openItem(const Item& item, ItemFiles& files, ItemResources& resources,
                     Shortage shortage, LogPane& log) {
  const bool inputOpened = files.input.open(item.path, OpenMode::kRead);
  logOpened(log, item.path, inputOpened);
  if (!inputOpened) return notOpened(files.input, ItemOutcome::kBatchEnds, shortage);
  const std::size_t outputsOpened = openOutputs(item, files, log);
  if (outputsOpened < 3) {
    File* const outputs[] = {&files.hex, &files.csv, &files.chk};
    return notOpened(*outputs[outputsOpened], ItemOutcome::kOutputNotOpened, shortage);
  }

  if (!resources.cp932) resources.cp932 = Cp932Encoder::open();
  if (!resources.cp932 || !resources.image.allocate(files.input.openedSize()) ||
      !resources.scratch.allocate()) {
    log.append(kOutOfMemoryText);
    return failed(ItemOutcome::kBatchEnds, true, shortage);
  }
  return ItemOutcome::kDone;
}

ItemOutcome convertOpenedItem(const Item& item, ItemFiles& files, ItemResources& resources,
                              bool sheetThread, Shortage shortage, LogPane& log, BatchView& view) {
  // The outputs are emptied only now, when later entries may open theirs:
  // emptying a large file takes a while. One that cannot be cut is reported
  // as not written completely when it is closed.
  for (File* output : {&files.hex, &files.csv, &files.chk}) output->truncate();
  const InputImage& image = resources.image;
  // A file that holds more than its reported size (it grew, or reports no
  // size) is converted as far as it fits, and the item does not pass as
  // complete.
  const bool wholeFile = resources.image.readFrom(files.input);
  logLength(log, image.length(), item.rule.converter->layoutSize());
  if (!wholeFile) logCutToLength(log, image.length());

  // The sheet depends on the image alone and logs nothing.
  SheetJob sheet(item, files.csv, resources, sheetThread);
  writeRenderings(image.bytes(), files.hex, files.chk, resources.scratch.hex());
  const HexCheckResult check =
      checkChkFile(image.bytes(), files.chk, item.outputs.chk, resources.scratch.hex(), log, view);
  if (check == HexCheckResult::kReopenFailed) {
    // The batch ends before the sheet's turn: the CSV file is left as empty
    // as it would be had the sheet not been written yet. (One that cannot be
    // cut keeps a complete sheet: nothing is lost either way.)
    sheet.abandon();
    files.csv.truncate();
    return notOpened(files.chk, ItemOutcome::kBatchEnds, shortage);
  }
  sheet.finish();

  const bool closed = closeFiles(files, view);
  appendBetweenBreaks(log, kHexWrittenText);
  appendBetweenBreaks(log, kCsvWrittenText);
  appendBetweenBreaks(log, item.rule.endOfItemText);
  const bool complete = wholeFile && closed && check == HexCheckResult::kVerified;
  return complete ? ItemOutcome::kDone : ItemOutcome::kDoneWithProblems;
}

}  // namespace fenmarq
