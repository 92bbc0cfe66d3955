#include "convert/batch_converter.h"

#include <filesystem>
#include <string_view>
#include <system_error>

#include "convert/conversion_rule.h"
#include "convert/item_converter.h"
#include "platform/paths.h"

namespace fenmarq {
namespace {

// The log pane keeps everything a batch appends.
constexpr std::size_t kLogLimit = 0x7FFFFFFF;

void logBetweenBreaks(LogPane& log, std::string_view text) {
  log.append("\r\n");
  log.append(text);
  log.append("\r\n");
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
                                const std::string& startDirectory, LogPane& log, BatchView& view) {
  BatchResult result;
  log.setLimit(kLogLimit);
  std::error_code ignored;
  std::filesystem::current_path(startDirectory, ignored);

  ItemScratch scratch;
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
    switch (convertItem(path, name, *rule, scratch, log, view)) {
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
