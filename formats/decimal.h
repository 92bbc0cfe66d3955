// Decimal formatting of sheet values without printf or streams.
#ifndef FENMARQ_FORMATS_DECIMAL_H_
#define FENMARQ_FORMATS_DECIMAL_H_

#include <cstdint>
#include <cstring>

namespace fenmarq {

// The longest text: "-2147483648".
inline constexpr int kMaxDecimalLength = 11;

// Writes `value` in decimal at `out`: no leading zeros, "-" for negative
// values, nothing else. Returns the end of what was written.
inline char* formatDecimal(std::int32_t value, char* out) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  std::uint32_t magnitude = static_cast<std::uint32_t>(value);
  if (value < 0) {
    *out++ = '-';
    magnitude = 0u - magnitude;  // also right for -2147483648
  }
  char digits[10];
  char* end = digits + sizeof digits;
  char* p = end;
  while (magnitude >= 100) {
    const std::uint32_t pair = magnitude % 100;
    magnitude /= 100;
    p -= 2;
    std::memcpy(p, kPairs + 2 * pair, 2);
  }
  if (magnitude >= 10) {
    p -= 2;
    std::memcpy(p, kPairs + 2 * magnitude, 2);
  } else {
    *--p = static_cast<char>('0' + magnitude);
  }
  const auto length = static_cast<std::size_t>(end - p);
  std::memcpy(out, p, length);
  return out + length;
}

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_DECIMAL_H_
