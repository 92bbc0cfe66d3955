#include "app/start_folder.h"

#include <filesystem>

#include "platform/file_system.h"

namespace fenmarq {
namespace {

// The system's own texts are English here whatever the user's language (the
// C library's on Linux, the C runtime's on Windows): the usual reasons are
// said in Japanese, any other by its number.
std::string japaneseReason(std::error_code error) {
  if (error == std::errc::no_such_file_or_directory) return "フォルダがありません。";
  // Windows's C runtime says "invalid argument" for a file.
  if (error == std::errc::not_a_directory || error == std::errc::invalid_argument) {
    return "フォルダではありません。";
  }
  if (error == std::errc::permission_denied) return "アクセスが許可されていません。";
  return "エラー番号 " + std::to_string(error.value()) + "。";
}

}  // namespace

std::error_code enterStartFolder(std::string_view folder) {
  std::error_code error;
  std::filesystem::current_path(pathFromUtf8(folder), error);
  return error;
}

std::string startFolderFailure(std::string_view folder, std::error_code error, bool japanese) {
  if (japanese) {
    return "起動フォルダに移動できません。\n" + std::string(folder) + "\n" + japaneseReason(error);
  }
  return "cannot enter the start folder " + std::string(folder) + ": " + error.message();
}

}  // namespace fenmarq
