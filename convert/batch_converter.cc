#include "convert/batch_converter.h"

#include <exception>
#include <filesystem>
#include <new>
#include <system_error>

#include "convert/log_texts.h"
#include "platform/cp932.h"
#include "platform/file_system.h"

namespace fenmarq {
namespace {

// The log pane keeps everything a batch appends.
constexpr std::size_t kLogLimit = 0x7FFFFFFF;

}  // namespace

BatchResult BatchConverter::run(const std::vector<std::string>& targets,
                                const std::string& startDirectory, LogPane& log, BatchView& view) {
  log.setLimit(kLogLimit);
  BatchResult result;
  std::error_code error;
  std::filesystem::current_path(pathFromUtf8(startDirectory), error);
  if (error) {
    result.failure = "cannot enter the start directory " + startDirectory + ": " + error.message();
    return result;
  }
  if (!Cp932Encoder::open()) {
    result.failure = "the CP932 codec is not available: no sheet can be written";
    return result;
  }
  try {
    result = runBatch(targets, options_, log, view);
  } catch (const std::bad_alloc&) {
    log.append(kOutOfMemoryText);  // as for an item whose memory cannot be had
    return result;
  } catch (const std::exception& failure) {
    result.failure = failure.what();
    return result;
  }
  if (result.finished) appendBetweenBreaks(log, kBatchEndText);
  return result;
}

}  // namespace fenmarq
