#include <windows.h>

#include <string>

#include "platform/cp932.h"

namespace fenmarq {

// The Win32 conversion needs no state; the object exists for the interface.
struct Cp932Encoder::Converter {};

Cp932Encoder::Cp932Encoder() : converter_(std::make_unique<Converter>()) {}

Cp932Encoder::~Cp932Encoder() = default;

std::string Cp932Encoder::encode(std::string_view utf8) {
  if (utf8.empty()) return {};
  // UTF-8 to UTF-16 (malformed bytes become U+FFFD), then UTF-16 to code page
  // 932 with "?" for every character it cannot hold.
  const int wideLength =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                      wideLength);
  const int length =
      WideCharToMultiByte(932, 0, wide.data(), wideLength, nullptr, 0, "?", nullptr);
  std::string out(static_cast<std::size_t>(length), '\0');
  WideCharToMultiByte(932, 0, wide.data(), wideLength, out.data(), length, "?", nullptr);
  return out;
}

}  // namespace fenmarq
