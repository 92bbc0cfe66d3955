#include <stdio.h>

#include "platform/file_system.h"
#include "platform/utf16_win32.h"

namespace fenmarq {

std::filesystem::path pathFromUtf8(std::string_view utf8) { return utf16FromUtf8(utf8); }

std::string utf8FromPath(const std::filesystem::path& path) { return utf8FromUtf16(path.native()); }

std::FILE* openStream(std::string_view path, const char* mode) {
  return _wfopen(utf16FromUtf8(path).c_str(), utf16FromUtf8(mode).c_str());
}

}  // namespace fenmarq
