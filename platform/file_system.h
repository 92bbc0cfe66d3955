// The file system at the platform boundary. Paths inside Fenmarq are UTF-8
// text; on Windows they become UTF-16 here and reach the system through its
// wide-character functions (never the ANSI code page), on POSIX their bytes
// pass unchanged.
#ifndef FENMARQ_PLATFORM_FILE_SYSTEM_H_
#define FENMARQ_PLATFORM_FILE_SYSTEM_H_

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

namespace fenmarq {

std::filesystem::path pathFromUtf8(std::string_view utf8);
std::string utf8FromPath(const std::filesystem::path& path);

// std::fopen for a UTF-8 path; nullptr when the file cannot be opened.
std::FILE* openStream(std::string_view path, const char* mode);

}  // namespace fenmarq

#endif  // FENMARQ_PLATFORM_FILE_SYSTEM_H_
