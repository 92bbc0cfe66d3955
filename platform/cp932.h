// Conversion of UTF-8 text to code page 932 (Shift-JIS with the Windows
// extensions), the encoding of every text in a CSV sheet. One implementation
// per platform: iconv on POSIX, the Win32 code page conversion on Windows.
#ifndef FENMARQ_PLATFORM_CP932_H_
#define FENMARQ_PLATFORM_CP932_H_

#include <memory>
#include <string>
#include <string_view>

namespace fenmarq {

class Cp932Encoder {
 public:
  // The codec, or none when the system cannot convert to CP932 (an
  // installation fault: no sheet can be written then).
  static std::unique_ptr<Cp932Encoder> open();
  // Which conversion the platform does it with, for --version.
  static std::string_view codecName();
  ~Cp932Encoder();
  Cp932Encoder(const Cp932Encoder&) = delete;
  Cp932Encoder& operator=(const Cp932Encoder&) = delete;

  // Returns `utf8` in CP932. A character that CP932 cannot hold, and every
  // byte that is not part of a valid UTF-8 sequence, becomes one "?".
  std::string encode(std::string_view utf8);

 private:
  struct Converter;
  explicit Cp932Encoder(std::unique_ptr<Converter> converter);
  std::unique_ptr<Converter> converter_;
};

}  // namespace fenmarq

#endif  // FENMARQ_PLATFORM_CP932_H_
