#include "app/start_folder.h"

#include <filesystem>
#include <system_error>

#include "platform/file_system.h"

namespace fenmarq {

std::string enterStartFolder(std::string_view folder) {
  std::error_code error;
  std::filesystem::current_path(pathFromUtf8(folder), error);
  if (!error) return {};
  return "cannot enter the start folder " + std::string(folder) + ": " + error.message();
}

}  // namespace fenmarq
