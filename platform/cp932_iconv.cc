#include <errno.h>
#include <iconv.h>

#include <stdexcept>

#include "platform/cp932.h"

namespace fenmarq {
namespace {

// The length of the well-formed UTF-8 sequence at the start of `bytes`
// (`size` of them), or 0 when they do not start with one. The second byte's
// range rules out overlong forms, surrogates and code points past U+10FFFF.
std::size_t wellFormedLength(const unsigned char* bytes, std::size_t size) {
  const unsigned char lead = bytes[0];
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

}  // namespace

struct Cp932Encoder::Converter {
  iconv_t cd;
};

Cp932Encoder::Cp932Encoder() : converter_(std::make_unique<Converter>()) {
  converter_->cd = iconv_open("CP932", "UTF-8");
  // Without the codec no sheet can be written; this is an installation fault.
  if (converter_->cd == reinterpret_cast<iconv_t>(-1)) {
    throw std::runtime_error("the CP932 codec is not available (iconv_open failed)");
  }
}

Cp932Encoder::~Cp932Encoder() { iconv_close(converter_->cd); }

std::string Cp932Encoder::encode(std::string_view utf8) {
  std::string out;
  // No character takes more bytes in CP932 than in UTF-8, and a replaced
  // character or byte shrinks to one "?", so the output fits.
  out.resize(utf8.size());
  char* in = const_cast<char*>(utf8.data());
  std::size_t inLeft = utf8.size();
  char* dst = out.data();
  std::size_t outLeft = out.size();
  iconv(converter_->cd, nullptr, nullptr, nullptr, nullptr);
  while (inLeft > 0) {
    if (iconv(converter_->cd, &in, &inLeft, &dst, &outLeft) != static_cast<std::size_t>(-1)) {
      break;
    }
    if (errno == E2BIG || outLeft == 0) {  // cannot happen by the above; stay safe anyway
      const std::size_t used = static_cast<std::size_t>(dst - out.data());
      out.resize(out.size() * 2 + 16);
      dst = out.data() + used;
      outLeft = out.size() - used;
      if (errno == E2BIG) continue;
    }
    // EILSEQ or EINVAL: a character without a CP932 form, or bytes that are
    // not valid UTF-8. A whole valid character becomes one "?"; otherwise
    // only its first byte does, and the search goes on after it.
    const auto* bytes = reinterpret_cast<const unsigned char*>(in);
    const std::size_t length = wellFormedLength(bytes, inLeft);
    const std::size_t skip = length != 0 ? length : 1;
    *dst++ = '?';
    --outLeft;
    in += skip;
    inLeft -= skip;
  }
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace fenmarq
