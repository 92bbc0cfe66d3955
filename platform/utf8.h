// Well-formed UTF-8, as both CP932 codecs read it: every byte that does not
// belong to a well-formed sequence counts on its own.
#ifndef FENMARQ_PLATFORM_UTF8_H_
#define FENMARQ_PLATFORM_UTF8_H_

#include <cstddef>

namespace fenmarq {

// The length of the well-formed UTF-8 sequence at the start of `bytes`
// (`size` of them, at least one), or 0 when they do not start with one. The
// second byte's range rules out overlong forms, surrogates and code points
// past U+10FFFF.
inline std::size_t wellFormedLength(const unsigned char* bytes, std::size_t size) {
  const unsigned char lead = bytes[0];
  if (lead < 0x80) return 1;
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  }
  if (length == 0 || size < length || bytes[1] < low || bytes[1] > high) return 0;
  for (std::size_t i = 2; i < length; ++i) {
    if ((bytes[i] & 0xC0) != 0x80) return 0;
  }
  return length;
}

// The code point of the well-formed sequence of `length` bytes at `bytes`.
inline char32_t decodeUtf8(const unsigned char* bytes, std::size_t length) {
  constexpr unsigned char kLeadBits[] = {0, 0x7F, 0x1F, 0x0F, 0x07};
  char32_t code = bytes[0] & kLeadBits[length];
  for (std::size_t i = 1; i < length; ++i) code = code << 6 | (bytes[i] & 0x3F);
  return code;
}

}  // namespace fenmarq

#endif  // FENMARQ_PLATFORM_UTF8_H_
