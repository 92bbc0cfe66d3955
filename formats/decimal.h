// Decimal formatting of sheet values without printf or streams.
//
// A value is written as base-100 limbs: the leading limb without a leading
// zero, every later one as two digits, each stored as one four-byte word from
// a table. The limbs come from one multiplication by a scaled reciprocal of a
// power of 100 and one multiplication by 100 per further limb. The branches
// test the magnitude only, which in a sheet column changes little from row to
// row (and in random data hardly at all: nearly every value has as many digits
// as its type allows).
#ifndef FENMARQ_FORMATS_DECIMAL_H_
#define FENMARQ_FORMATS_DECIMAL_H_

#include <array>
#include <cstdint>
#include <cstring>

namespace fenmarq {

// The longest text: "-2147483648".
inline constexpr int kMaxDecimalLength = 11;

namespace decimal_internal {

// Four bytes per limb value 0 to 99: the digits, a comma and fillers.
using LimbText = std::array<char, 4>;

// "0," to "99,": the leading limb, without a leading zero.
constexpr std::array<LimbText, 100> kLeadingLimbs = [] {
  std::array<LimbText, 100> limbs{};
  for (int n = 0; n < 100; ++n) {
    if (n < 10) {
      limbs[n] = {static_cast<char>('0' + n), ',', ',', ','};
    } else {
      limbs[n] = {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10), ',', ','};
    }
  }
  return limbs;
}();

// "00," to "99,": a later limb, always two digits.
constexpr std::array<LimbText, 100> kLaterLimbs = [] {
  std::array<LimbText, 100> limbs{};
  for (int n = 0; n < 100; ++n) {
    limbs[n] = {static_cast<char>('0' + n / 10), static_cast<char>('0' + n % 10), ',', ','};
  }
  return limbs;
}();

static_assert(sizeof(kLeadingLimbs) == 400 && sizeof(kLaterLimbs) == 400,
              "one four-byte word per limb, stored whole");
static_assert(kLeadingLimbs[7][0] == '7' && kLeadingLimbs[7][1] == ',' &&
              kLeadingLimbs[42][0] == '4' && kLeadingLimbs[42][1] == '2' &&
              kLeadingLimbs[42][2] == ',');
static_assert(kLaterLimbs[7][0] == '0' && kLaterLimbs[7][1] == '7' && kLaterLimbs[7][2] == ',');

inline char* putLeadingLimb(std::uint32_t limb, char* out) {
  std::memcpy(out, kLeadingLimbs[limb].data(), 4);
  return out + 1 + (limb >= 10 ? 1 : 0);
}

inline char* putLaterLimb(std::uint32_t limb, char* out) {
  std::memcpy(out, kLaterLimbs[limb].data(), 4);
  return out + 2;
}

// value * ceil(2^47 / 100^k) holds value / 100^k scaled by 2^47: the integer
// part above bit 47, the fraction below it, too large by less than
// value * 2^-47. The k limbs of the fraction are taken one at a time (times
// 100, integer part, repeat), which multiplies that error by 100^k: while
// value * 100^k stays below 2^47 (every value below 10^8 with k = 3, 10^6
// with k = 2) it stays below one and every limb comes out exact.
inline constexpr int kFractionBits = 47;
inline constexpr std::uint64_t kFractionMask = (std::uint64_t{1} << kFractionBits) - 1;

constexpr std::uint64_t scaledReciprocal(std::uint64_t power) {
  return ((std::uint64_t{1} << kFractionBits) + power - 1) / power;
}

// The bounds the limbs rely on, and no product that overflows 64 bits.
static_assert(std::uint64_t{999'999} * 10'000 < kFractionMask &&
              std::uint64_t{99'999'999} * 1'000'000 < kFractionMask);
static_assert(std::uint64_t{99'999'999} * scaledReciprocal(1'000'000) < UINT64_MAX / 100 &&
              kFractionMask < UINT64_MAX / 100);

// Writes the `count` two-digit limbs of the fraction of `scaled`.
template <int count>
char* putFractionLimbs(std::uint64_t scaled, char* out) {
  for (int i = 0; i < count; ++i) {
    scaled = (scaled & kFractionMask) * 100;
    out = putLaterLimb(static_cast<std::uint32_t>(scaled >> kFractionBits), out);
  }
  return out;
}

inline std::uint32_t integerPart(std::uint64_t scaled) {
  return static_cast<std::uint32_t>(scaled >> kFractionBits);
}

}  // namespace decimal_internal

// appendUnsignedCell for values of five digits or more.
[[gnu::noinline]] inline char* appendLongUnsignedCell(std::uint32_t value, char* out) {
  using namespace decimal_internal;
  if (value < 1'000'000) {
    const std::uint64_t scaled = value * scaledReciprocal(10'000);
    return putFractionLimbs<2>(scaled, putLeadingLimb(integerPart(scaled), out)) + 1;
  }
  if (value < 100'000'000) {
    const std::uint64_t scaled = value * scaledReciprocal(1'000'000);
    return putFractionLimbs<3>(scaled, putLeadingLimb(integerPart(scaled), out)) + 1;
  }
  // Nine or ten digits: the leading limb, then eight digits of the rest, all
  // four limbs of two digits.
  const std::uint32_t lead = value / 100'000'000;  // 1 to 42
  out = putLeadingLimb(lead, out);
  const std::uint64_t scaled = (value - lead * 100'000'000) * scaledReciprocal(1'000'000);
  return putFractionLimbs<3>(scaled, putLaterLimb(integerPart(scaled), out)) + 1;
}

// Writes `value` in decimal and a comma at `out`: no leading zeros, nothing
// else. Returns the end of the comma. May write anywhere in the
// kMaxDecimalLength + 2 bytes at `out`, one byte past the longest comma.
inline char* appendUnsignedCell(std::uint32_t value, char* out) {
  using namespace decimal_internal;
  if (value < 100) return putLeadingLimb(value, out) + 1;
  if (value < 10'000) {
    out = putLeadingLimb(value / 100, out);
    return putLaterLimb(value % 100, out) + 1;
  }
  return appendLongUnsignedCell(value, out);
}

// The same for a signed value, "-" first when it is negative.
inline char* appendSignedCell(std::int32_t value, char* out) {
  *out = '-';
  out += value < 0 ? 1 : 0;
  const std::uint32_t magnitude =
      value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  return appendUnsignedCell(magnitude, out);
}

// Writes `value` in decimal at `out`: no leading zeros, "-" for negative
// values, nothing else. Returns the end of what was written, and may write
// anywhere in the kMaxDecimalLength + 2 bytes at `out`.
inline char* formatDecimal(std::int32_t value, char* out) {
  return appendSignedCell(value, out) - 1;
}

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_DECIMAL_H_
