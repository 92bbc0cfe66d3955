#include "app/dialog_model.h"

#include <utility>

#include "convert/batch_converter.h"
#include "convert/output_folders.h"
#include "platform/paths.h"

namespace fenmarq {

DialogModel::DialogModel(std::string startDirectory) : startDirectory_(std::move(startDirectory)) {}

DialogModel::Fields DialogModel::fieldsOf(const ObservationFileName& name) {
  return {name.fileName, name.kind, name.interval, name.year, name.monthDay, name.station};
}

DialogModel::Fields DialogModel::fieldsOf(std::string_view path) {
  return fieldsOf(parseObservationFileName(path, directorySeparators()));
}

bool DialogModel::addTarget(std::string path) {
  if (path.empty()) return false;
  targets_.push_back(std::move(path));
  return true;
}

void DialogModel::select(std::optional<std::size_t> index) {
  selection_ = index && *index < targets_.size() ? index : std::nullopt;
}

std::optional<std::size_t> DialogModel::deleteSelected() {
  const std::optional<std::size_t> deleted = std::exchange(selection_, std::nullopt);
  if (deleted) targets_.erase(targets_.begin() + static_cast<std::ptrdiff_t>(*deleted));
  return deleted;
}

std::vector<std::string> DialogModel::startBatch() {
  batchSize_ = targets_.size();
  return targets_;
}

BatchResult DialogModel::runBatch(const std::vector<std::string>& targets, LogPane& log,
                                  BatchView& view) const {
  return BatchConverter().run(targets, startDirectory_, log, view);
}

void DialogModel::entryReached(std::size_t index) { select(index); }

std::vector<std::string> DialogModel::finishBatch(const BatchResult& result) {
  batchSize_.reset();
  std::vector<std::string> messages;
  if (!result.failure.empty()) messages.push_back(result.failure);
  if (!result.heldOpen.empty()) {
    messages.push_back("ファイル " + result.heldOpen +
                       " は、ほかのプログラム（エクセルなど）が開いているため書き込めません。\n"
                       "そのプログラムで閉じてから、もう一度「変換開始」を押してください。");
  }
  if (result.outputNotOpened) {
    std::string hint = missingFoldersHint(startDirectory_);
    if (!hint.empty()) messages.push_back(std::move(hint));
  }
  return messages;
}

std::string DialogModel::title() const {
  if (!batchSize_ || !selection_) return "Fenmarq";
  return "Fenmarq – " + std::to_string(*selection_ + 1) + " / " + std::to_string(*batchSize_);
}

}  // namespace fenmarq
