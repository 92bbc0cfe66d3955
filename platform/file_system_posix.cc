#include "platform/file_system.h"

namespace fenmarq {

std::filesystem::path pathFromUtf8(std::string_view utf8) { return std::string(utf8); }

std::string utf8FromPath(const std::filesystem::path& path) { return path.string(); }

std::FILE* openStream(std::string_view path, const char* mode) {
  return std::fopen(std::string(path).c_str(), mode);
}

}  // namespace fenmarq
