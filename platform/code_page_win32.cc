#include <windows.h>

#include <string>

#include "platform/code_page.h"
#include "platform/utf16_win32.h"

namespace fenmarq {

unsigned systemCodePage() {
  const UINT codePage = GetACP();
  return codePage == CP_UTF8 ? 0 : codePage;
}

bool appendUtf8FromCodePage(unsigned codePage, std::string_view bytes, std::string& out) {
  if (bytes.empty()) return true;
  const int size = static_cast<int>(bytes.size());
  const int length =
      MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
  if (length == 0) return false;
  std::wstring wide(static_cast<std::size_t>(length), L'\0');
  MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(), length);
  out += utf8FromUtf16(wide);
  return true;
}

}  // namespace fenmarq
