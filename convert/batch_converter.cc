#include "convert/batch_converter.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "convert/conversion_rule.h"
#include "convert/file.h"
#include "convert/hex_dump.h"
#include "convert/input_image.h"
#include "formats/csv_sheet.h"
#include "formats/format_converter.h"
#include "platform/paths.h"

namespace fenmarq {
namespace {

// The log pane keeps everything a batch appends.
constexpr std::size_t kLogLimit = 0x7FFFFFFF;

enum class ItemOutcome { kDone, kDoneWithProblems, kBatchEnds };

void logBetweenBreaks(LogPane& log, std::string_view text) {
  log.append("\r\n");
  log.append(text);
  log.append("\r\n");
}

// Opens `file` and logs whether it could be opened.
bool openLogged(File& file, const std::string& path, const char* mode, LogPane& log) {
  const bool opened = file.open(path, mode);
  log.append("ファイル ");
  log.append(path);
  log.append(opened ? " は開けました。\r\n" : " は開けませんでした。\r\n");
  return opened;
}

// Closes `file`; a failure is shown in a message box and the work goes on.
bool closeReported(File& file, std::string_view closeFailedText, BatchView& view) {
  if (file.close()) return true;
  view.showMessageBox(closeFailedText);
  return false;
}

// Converts one file that a rule selected. Every stream and the image are
// owned here, so an item that ends the batch releases them at once.
ItemOutcome convertItem(const std::string& path, const ObservationFileName& name,
                        const ConversionRule& rule, LogPane& log, BatchView& view) {
  const OutputPaths outputs = makeOutputPaths(name.fileName, directorySeparator());
  File input, hex, csv, chk;
  if (!openLogged(input, path, "rb", log) || !openLogged(hex, outputs.hex, "w+b", log) ||
      !openLogged(csv, outputs.csv, "wb", log) || !openLogged(chk, outputs.chk, "w+b", log)) {
    return ItemOutcome::kBatchEnds;
  }

  // A size that cannot be queried counts as 0; the reading still stops at
  // the block's end.
  std::error_code error;
  std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) size = 0;
  InputImage image;
  if (!image.allocate(size)) {
    log.append("メモリ不足で作業ができません。\r\n");
    return ItemOutcome::kBatchEnds;
  }
  image.readFrom(input);

  log.append("バイナリファイルの長さ   = ");
  log.append(std::to_string(image.length()));
  log.append(" byte\r\n");
  log.append("\r\n");
  log.append("\r\n");
  const FormatConverter& converter = *rule.converter;
  if (image.length() < converter.layoutSize()) {
    log.append("注意：ファイルの長さが ");
    log.append(std::to_string(converter.layoutSize()));
    log.append(" byte に足りないため、不足分を 0 として変換します。\r\n");
  }

  const HexCheckResult check =
      writeHexAndCheckFiles(image.bytes(), hex, chk, outputs.chk, log, view);
  if (check == HexCheckResult::kReopenFailed) return ItemOutcome::kBatchEnds;
  bool problems = check == HexCheckResult::kProblems;

  {
    CsvSheet sheet(csv);
    converter.writeSheet(image.bytes(), name.fileName, sheet);
  }

  problems |= !closeReported(input, "ファイル 'bin-data' は閉じられませんでした。\n", view);
  problems |= !closeReported(hex, "ファイル 'hex-data' は閉じられませんでした。\n", view);
  problems |= !closeReported(csv, "ファイル 'csv-data' は閉じられませんでした。\n", view);
  logBetweenBreaks(log, "HEXファイル作成 終了。\n");
  logBetweenBreaks(log, "CSVファイル作成 終了。\n");
  image.release();
  logBetweenBreaks(log, rule.endOfItemText);
  return problems ? ItemOutcome::kDoneWithProblems : ItemOutcome::kDone;
}

}  // namespace

OutputPaths makeOutputPaths(const std::string& fileName, char separator) {
  const auto in = [&](std::string_view folder, std::string_view prefix, std::string_view suffix) {
    std::string path = ".";
    path += separator;
    path += folder;
    path += separator;
    path += prefix;
    path += fileName;
    path += suffix;
    return path;
  };
  return {in("HEXFiles", "HEX_", ".txt"), in("CSVFiles", "CSV_", ".CSV"),
          in("CHKFiles", "CHK_", ".txt")};
}

BatchResult BatchConverter::run(const std::vector<std::string>& targets,
                                const std::string& startDirectory, LogPane& log,
                                BatchView& view) {
  BatchResult result;
  log.setLimit(kLogLimit);
  std::error_code ignored;
  std::filesystem::current_path(startDirectory, ignored);

  for (std::size_t i = 0; i < targets.size(); ++i) {
    view.selectEntry(i);
    const std::string& path = targets[i];
    const ObservationFileName name = parseObservationFileName(path, directorySeparator());
    view.showFields(name);
    const std::optional<ConversionRule> rule = selectConversionRule(name);
    if (!rule) {
      logBetweenBreaks(log, "変換対象ではありません。\n");
      continue;
    }
    switch (convertItem(path, name, *rule, log, view)) {
      case ItemOutcome::kDone:
        break;
      case ItemOutcome::kDoneWithProblems:
        result.problemsReported = true;
        break;
      case ItemOutcome::kBatchEnds:
        return result;
    }
  }
  logBetweenBreaks(log, "作業終了。\n");
  result.finished = true;
  return result;
}

}  // namespace fenmarq
