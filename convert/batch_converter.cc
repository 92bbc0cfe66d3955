#include "convert/batch_converter.h"

#include <exception>
#include <filesystem>
#include <new>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>

#include "convert/conversion_rule.h"
#include "convert/helper_thread.h"
#include "convert/item_converter.h"
#include "convert/parallel_batch.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/paths.h"

namespace fenmarq {
namespace {

// The log pane keeps everything a batch appends.
constexpr std::size_t kLogLimit = 0x7FFFFFFF;

// Whether the batch's sheets are large enough for a helper thread to pay:
// starting and ending one costs about as much as formatting the sheet of a
// single one-minute file.
bool worthAHelper(const std::vector<std::string>& targets) {
  constexpr std::size_t kCells = 250'000;
  std::size_t cells = 0;
  for (const std::string& path : targets) {
    const auto rule = selectConversionRule(parseObservationFileName(path, directorySeparators()));
    if (rule) cells += rule->converter->recordCount() * rule->converter->columnCount();
    if (cells >= kCells) return true;
  }
  return false;
}

BatchResult runInOrder(const std::vector<std::string>& targets, bool withHelper, LogPane& log,
                       BatchView& view) {
  BatchResult result;
  ItemResources resources;
  // A helper only pays where a second processor can run it, and for sheets
  // of some size. It loads the CP932 codec, which the first sheet's head
  // needs, while this thread opens and reads the first input.
  std::optional<HelperThread> helper;
  if (withHelper && std::thread::hardware_concurrency() != 1 && worthAHelper(targets)) {
    helper.emplace([] { Cp932Encoder load; });
  }
  if (helper && helper->running()) resources.helper = &*helper;
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const ItemOutcome outcome = processEntry(i, targets[i], resources, log, view);
    if (outcome == ItemOutcome::kBatchEnds) return result;
    result.problemsReported |= outcome == ItemOutcome::kDoneWithProblems;
  }
  result.finished = true;
  return result;
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
  log.setLimit(kLogLimit);
  std::error_code ignored;
  std::filesystem::current_path(pathFromUtf8(startDirectory), ignored);

  BatchResult result;
  try {
    result = jobs_ > 1 && targets.size() > 1 ? runConcurrently(targets, jobs_, log, view)
                                             : runInOrder(targets, jobs_ == 0, log, view);
  } catch (const std::bad_alloc&) {
    // Memory that cannot be had, wherever it was asked for, ends the batch
    // as the image's memory does.
    log.append(kOutOfMemoryText);
    return {};
  } catch (const std::exception& error) {
    result = {};
    result.failure = error.what();
    return result;
  }
  if (result.finished) appendBetweenBreaks(log, "作業終了。\n");
  return result;
}

}  // namespace fenmarq
