#include "convert/output_folders.h"

#include <filesystem>
#include <system_error>

#include "platform/file_system.h"

namespace fenmarq {

std::vector<std::string_view> missingOutputFolders(std::string_view startDirectory) {
  std::vector<std::string_view> missing;
  for (const std::string_view folder : kOutputFolders) {
    std::error_code error;
    if (!std::filesystem::is_directory(pathFromUtf8(startDirectory) / folder, error)) {
      missing.push_back(folder);
    }
  }
  return missing;
}

std::string missingFoldersHint(std::string_view startDirectory) {
  const std::vector<std::string_view> missing = missingOutputFolders(startDirectory);
  if (missing.empty()) return {};
  std::string names;
  for (std::size_t i = 0; i < missing.size(); ++i) {
    if (i > 0) names += i + 1 == missing.size() ? " と " : "、";
    names += missing[i];
  }
  return "出力フォルダ " + names + " がありません。\n" + std::string(startDirectory) +
         "\nの中に作ってから、もう一度「変換開始」を押してください。\n";
}

}  // namespace fenmarq
