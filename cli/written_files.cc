#include "cli/written_files.h"

#include <system_error>

#include "cli/command_output.h"
#include "convert/output_folders.h"
#include "convert/replacement_file.h"
#include "platform/file_system.h"

namespace fenmarq {
namespace {

constexpr Text kFolderNotCreatedText = {"cannot create {}: {}", "{} を作れません: {}"};

}  // namespace

bool makeOutputFolders(const std::filesystem::path& directory) {
  for (const std::string_view folder : kOutputFolders) {
    std::error_code error;
    std::filesystem::create_directories(directory / folder, error);
    if (error) {
      printError(fill(kFolderNotCreatedText, {utf8FromPath(directory / folder), error.message()}));
      return false;
    }
  }
  return true;
}

bool writeWhole(const std::string& path, std::string_view text) {
  ReplacementFile out(path);
  if (!out.open()) return false;
  out.file().write(text);
  return out.commit();
}

}  // namespace fenmarq
