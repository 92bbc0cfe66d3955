// UTF-8 and UTF-16 at the Windows API boundary. Bytes that are not valid
// UTF-8 become U+FFFD, as do unpaired surrogates on the way back.
#ifndef FENMARQ_PLATFORM_UTF16_WIN32_H_
#define FENMARQ_PLATFORM_UTF16_WIN32_H_

#include <windows.h>

#include <string>
#include <string_view>

namespace fenmarq {

inline std::wstring utf16FromUtf8(std::string_view utf8) {
  if (utf8.empty()) return {};
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), length);
  return wide;
}

inline std::string utf8FromUtf16(std::wstring_view wide) {
  if (wide.empty()) return {};
  const int size = static_cast<int>(wide.size());
  const int length =
      WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), size, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

}  // namespace fenmarq

#endif  // FENMARQ_PLATFORM_UTF16_WIN32_H_
