#include "convert/item_converter.h"

#include <exception>
#include <filesystem>
#include <functional>
#include <string_view>
#include <system_error>
#include <thread>

#include "convert/file.h"
#include "convert/input_image.h"
#include "convert/log_texts.h"
#include "convert/output_paths.h"
#include "formats/format_converter.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace fenmarq {
namespace {

// Opens `file` and logs whether it could be opened.
bool openLogged(File& file, const std::string& path, const char* mode, LogPane& log,
                const std::function<bool(const FileIdentity&)>& admit = {}) {
  const bool opened = file.open(path, mode, admit);
  logOpened(log, path, opened);
  return opened;
}

// Closes `file`; a failure is shown in a message box and the work goes on.
bool closeReported(File& file, std::string_view closeFailedText, BatchView& view) {
  if (file.close()) return true;
  view.showMessageBox(closeFailedText);
  return false;
}

void logLength(const InputImage& image, const FormatConverter& converter, LogPane& log) {
  log.append("バイナリファイルの長さ   = ");
  log.append(std::to_string(image.length()));
  log.append(" byte\r\n");
  log.append("\r\n");
  log.append("\r\n");
  if (image.length() < converter.layoutSize()) {
    log.append("注意：ファイルの長さが ");
    log.append(std::to_string(converter.layoutSize()));
    log.append(" byte に足りないため、不足分を 0 として変換します。\r\n");
  }
}

}  // namespace

bool ItemScratch::allocate() { return memory_.data() != nullptr || memory_.allocate(kSize); }

HexScratch ItemScratch::hex() const {
  char* base = reinterpret_cast<char*>(memory_.data());
  return {base, base + kHexBlock};
}

std::span<char> ItemScratch::sheetBuffer() const {
  return {reinterpret_cast<char*>(memory_.data()) + 2 * kHexBlock, CsvSheet::kDefaultBufferSize};
}

ItemOutcome convertItem(const std::string& path, const ObservationFileName& name,
                        const ConversionRule& rule, ItemResources& resources, LogPane& log,
                        BatchView& view) {
  ItemScratch& scratch = resources.scratch;
  InputImage& image = resources.image;
  const OutputPaths outputs = makeOutputPaths(name.fileName, directorySeparator());
  // The streams are owned here: an item that ends the batch closes them on
  // the way out. An output that is the input itself under another name (a
  // hard link) is refused before anything empties it. Each output stays
  // locked until the item ends, so that another process converting a file of
  // the same name waits rather than mixing its outputs with these.
  File input, hex, csv, chk;
  if (!openLogged(input, path, "rb", log)) return ItemOutcome::kBatchEnds;
  const auto notTheInput = [&](const FileIdentity& output) { return output != input.identity(); };
  if (!openLogged(hex, outputs.hex, "w+b", log, notTheInput) ||
      !openLogged(csv, outputs.csv, "wb", log, notTheInput) ||
      !openLogged(chk, outputs.chk, "w+b", log, notTheInput)) {
    return ItemOutcome::kOutputNotOpened;
  }

  // A size that cannot be queried counts as 0; the reading still stops at
  // the block's end.
  std::error_code error;
  std::uintmax_t size = std::filesystem::file_size(pathFromUtf8(path), error);
  if (error) size = 0;
  if (!image.allocate(size) || !scratch.allocate()) {
    log.append(kOutOfMemoryText);
    return ItemOutcome::kBatchEnds;
  }
  const bool wholeFile = image.readFrom(input);
  const FormatConverter& converter = *rule.converter;
  logLength(image, converter, log);
  if (!wholeFile) {
    // The file holds more than its reported size (it grew, or reports no
    // size): only what fits is converted, and the item does not pass as
    // complete.
    log.append("注意：ファイルが報告された長さより長いため、先頭の ");
    log.append(std::to_string(image.length()));
    log.append(" byte だけを変換します。\r\n");
  }

  // The sheet depends on the image alone and logs nothing: with a processor
  // to spare, a thread of its own writes it to the CSV file while this one
  // writes and checks the hex files. Otherwise it comes after them (and not
  // at all when the batch ends first).
  std::exception_ptr sheetFailure;
  const auto writeSheet = [&] {
    try {
      CsvSheet sheet(csv, scratch.sheetBuffer());
      converter.writeSheet(image.bytes(), name.fileName, *resources.cp932, sheet);
    } catch (...) {
      sheetFailure = std::current_exception();
    }
  };
  std::jthread sheetThread;
  if (resources.sheetThread) {
    try {
      sheetThread = std::jthread(writeSheet);
    } catch (const std::system_error&) {
      // No thread to be had: the sheet comes after the hex files.
    }
  }
  const HexCheckResult check =
      writeHexAndCheckFiles(image.bytes(), hex, chk, outputs.chk, scratch.hex(), log, view);
  if (sheetThread.joinable()) {
    sheetThread.join();
  } else if (check != HexCheckResult::kReopenFailed) {
    writeSheet();
  }
  if (sheetFailure) std::rethrow_exception(sheetFailure);
  if (check == HexCheckResult::kReopenFailed) {
    // The batch ends before the sheet's turn: leave the CSV file as empty as
    // it would be had the sheet not been written yet. (One that cannot be
    // cut keeps a complete sheet: nothing is lost either way.)
    csv.empty();
    return ItemOutcome::kBatchEnds;
  }
  bool problems = !wholeFile || check == HexCheckResult::kProblems;

  problems |= !closeReported(input, kBinCloseFailed, view);
  problems |= !closeReported(hex, kHexCloseFailed, view);
  problems |= !closeReported(csv, kCsvCloseFailed, view);
  appendBetweenBreaks(log, "HEXファイル作成 終了。\n");
  appendBetweenBreaks(log, "CSVファイル作成 終了。\n");
  appendBetweenBreaks(log, rule.endOfItemText);
  return problems ? ItemOutcome::kDoneWithProblems : ItemOutcome::kDone;
}

ItemOutcome processEntry(std::size_t index, const std::string& path, ItemResources& resources,
                         LogPane& log, BatchView& view) {
  view.selectEntry(index);
  const ObservationFileName name = parseObservationFileName(path, directorySeparators());
  view.showFields(name);
  const std::optional<ConversionRule> rule = selectConversionRule(name);
  if (!rule) {
    appendBetweenBreaks(log, kNotATargetText);
    return ItemOutcome::kDone;
  }
  return convertItem(path, name, *rule, resources, log, view);
}

}  // namespace fenmarq
