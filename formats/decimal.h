// Decimal formatting of sheet values without printf or streams.
#ifndef FENMARQ_FORMATS_DECIMAL_H_
#define FENMARQ_FORMATS_DECIMAL_H_

#include <bit>
#include <cstdint>
#include <cstring>

namespace fenmarq {

// The longest text: "-2147483648".
inline constexpr int kMaxDecimalLength = 11;

// The number of decimal digits of `value` (1 for 0): an estimate from the
// bit width (1233 / 4096 is just above log10(2)), corrected by one compare.
inline int decimalDigits(std::uint32_t value) {
  static constexpr std::uint32_t kPowersOf10[] = {
      0, 10, 100, 1'000, 10'000, 100'000, 1'000'000, 10'000'000, 100'000'000, 1'000'000'000};
  const int estimate = (std::bit_width(value | 1) * 1233) >> 12;
  return estimate + 1 - (value < kPowersOf10[estimate] ? 1 : 0);
}

// Writes `value` in decimal at `out`: no leading zeros, "-" for negative
// values, nothing else. Returns the end of what was written. The digits are
// written in place from the last pair backwards, two at a time.
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
  char* const end = out + decimalDigits(magnitude);
  char* p = end;
  while (magnitude >= 100) {
    p -= 2;
    std::memcpy(p, kPairs + 2 * (magnitude % 100), 2);
    magnitude /= 100;
  }
  if (magnitude >= 10) {
    std::memcpy(p - 2, kPairs + 2 * magnitude, 2);
  } else {
    p[-1] = static_cast<char>('0' + magnitude);
  }
  return end;
}

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_DECIMAL_H_
