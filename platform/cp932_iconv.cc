#include <errno.h>
#include <iconv.h>

#include <utility>

#include "platform/cp932.h"
#include "platform/utf8.h"

namespace fenmarq {

struct Cp932Encoder::Converter {
  iconv_t cd;
};

Cp932Encoder::Cp932Encoder(std::unique_ptr<Converter> converter)
    : converter_(std::move(converter)) {}

std::string_view Cp932Encoder::codecName() { return "iconv (CP932)"; }

std::unique_ptr<Cp932Encoder> Cp932Encoder::open() {
  const iconv_t cd = iconv_open("CP932", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return nullptr;
  auto converter = std::make_unique<Converter>();
  converter->cd = cd;
  return std::unique_ptr<Cp932Encoder>(new Cp932Encoder(std::move(converter)));
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
