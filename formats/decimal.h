// Decimal formatting of sheet values without printf or streams.
//
// Sheets of random or noisy data mix values of every length and sign, so the
// formatting avoids branches that depend on the value: the digits are made
// eight at a time in one 64-bit word and stored whole, and the sign and the
// leading zeros are dropped by moving the write position instead of testing.
#ifndef FENMARQ_FORMATS_DECIMAL_H_
#define FENMARQ_FORMATS_DECIMAL_H_

#include <bit>
#include <cstdint>
#include <cstring>

namespace fenmarq {

static_assert(std::endian::native == std::endian::little,
              "the digit words below are laid out for little-endian memory");

// The longest text: "-2147483648". The formatters below may write anywhere
// in the kMaxDecimalLength bytes at `out`, past the end they return.
inline constexpr int kMaxDecimalLength = 11;

// The number of decimal digits of `value` (1 for 0): an estimate from the
// bit width (1233 / 4096 is just above log10(2)), corrected by one compare.
inline int decimalDigits(std::uint32_t value) {
  static constexpr std::uint32_t kPowersOf10[] = {
      0, 10, 100, 1'000, 10'000, 100'000, 1'000'000, 10'000'000, 100'000'000, 1'000'000'000};
  const int estimate = (std::bit_width(value | 1) * 1233) >> 12;
  return estimate + 1 - (value < kPowersOf10[estimate] ? 1 : 0);
}

// The eight decimal digits of `value` (below 100'000'000), leading zeros
// included, as ASCII with the first digit in the lowest byte. The value is
// split in lanes (two of four digits, four of two, eight of one), each step
// dividing every lane at once by a multiply and shift exact for its range.
inline std::uint64_t eightDigits(std::uint32_t value) {
  std::uint64_t lanes = value / 10'000 | std::uint64_t{value % 10'000} << 32;
  const std::uint64_t hundreds = ((lanes * 10'486) >> 20) & 0x0000'007F'0000'007F;
  lanes = hundreds | (lanes - 100 * hundreds) << 16;
  const std::uint64_t tens = ((lanes * 103) >> 10) & 0x000F'000F'000F'000F;
  lanes = tens | (lanes - 10 * tens) << 8;
  return lanes + 0x3030'3030'3030'3030;
}

// Writes `value` (below 100'000'000) in decimal at `out`, without leading
// zeros. Returns the end of what was written.
inline char* formatSmallDecimal(std::uint32_t value, char* out) {
  if (value < 10) {
    *out = static_cast<char>('0' + value);
    return out + 1;
  }
  const int digits = decimalDigits(value);
  const std::uint64_t word = eightDigits(value) >> (8 * (8 - digits));
  std::memcpy(out, &word, 8);
  return out + digits;
}

// Writes `value` in decimal at `out`: no leading zeros, "-" for negative
// values, nothing else. Returns the end of what was written.
inline char* formatDecimal(std::int32_t value, char* out) {
  *out = '-';
  out += value < 0 ? 1 : 0;
  std::uint32_t magnitude = static_cast<std::uint32_t>(value);
  const std::uint32_t negative = value < 0 ? ~0u : 0u;
  magnitude = (magnitude ^ negative) - negative;  // also right for -2147483648
  if (magnitude < 100'000'000) return formatSmallDecimal(magnitude, out);

  // Nine or ten digits: the leading one or two, then eight. The ones digit
  // of the lead lands on its tens digit when there is no tens digit.
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "4041424344454647484950515253545556575859";
  const std::uint32_t lead = magnitude / 100'000'000;  // 1 to 42
  const int digits = lead < 10 ? 9 : 10;
  out[0] = kPairs[2 * lead];
  out[digits - 9] = kPairs[2 * lead + 1];
  const std::uint64_t rest = eightDigits(magnitude % 100'000'000);
  std::memcpy(out + digits - 8, &rest, 8);
  return out + digits;
}

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_DECIMAL_H_
