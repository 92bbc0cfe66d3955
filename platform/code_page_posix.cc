#include <errno.h>
#include <iconv.h>

#include <string>

#include "platform/code_page.h"

namespace fenmarq {

unsigned systemCodePage() { return 0; }

bool appendUtf8FromCodePage(unsigned codePage, std::string_view bytes, std::string& out) {
  const std::string name = "CP" + std::to_string(codePage);
  const iconv_t cd = iconv_open("UTF-8", name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  // A byte of a code page never gives more than four bytes of UTF-8.
  std::string utf8(bytes.size() * 4, '\0');
  char* in = const_cast<char*>(bytes.data());
  std::size_t inLeft = bytes.size();
  char* dst = utf8.data();
  std::size_t outLeft = utf8.size();
  const bool converted =
      iconv(cd, &in, &inLeft, &dst, &outLeft) != static_cast<std::size_t>(-1) &&
      iconv(cd, nullptr, nullptr, &dst, &outLeft) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!converted) return false;
  out.append(utf8.data(), utf8.size() - outLeft);
  return true;
}

}  // namespace fenmarq
