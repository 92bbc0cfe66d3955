#include <windows.h>

#include <algorithm>

#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/utf16_win32.h"

namespace fenmarq {

std::string_view directorySeparators() { return "\\/"; }

std::vector<std::string> expandFileArgument(std::string_view arg) {
  // The folder part ends at the last separator, or at the colon of a drive
  // ("C:*.62078" is relative to that drive's current folder).
  std::size_t nameAt = arg.find_last_of(directorySeparators());
  nameAt = nameAt != std::string_view::npos ? nameAt + 1 : arg.size() > 1 && arg[1] == ':' ? 2 : 0;
  if (arg.find_first_of("*?", nameAt) == std::string_view::npos) return {std::string(arg)};

  WIN32_FIND_DATAW found;
  const HANDLE search = FindFirstFileExW(utf16FromUtf8(arg).c_str(), FindExInfoBasic, &found,
                                         FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
  if (search == INVALID_HANDLE_VALUE) return {std::string(arg)};
  std::vector<std::string> names;
  do {
    const std::wstring_view name = found.cFileName;
    if (name != L"." && name != L"..") names.push_back(utf8FromUtf16(name));
  } while (FindNextFileW(search, &found));
  const bool complete = GetLastError() == ERROR_NO_MORE_FILES;
  FindClose(search);
  // A search that breaks off leaves the argument to be reported as the file
  // it names, which is none.
  if (!complete || names.empty()) return {std::string(arg)};

  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const int order = compareFileNames(a, b);
    return order != 0 ? order < 0 : a < b;
  });
  const std::string folder(arg.substr(0, nameAt));
  for (std::string& name : names) name.insert(0, folder);
  return names;
}

}  // namespace fenmarq
