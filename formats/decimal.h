// Decimal formatting of sheet values without printf or streams.
//
// A value from -128 to 127, the most common in sheets, is one eight-byte word
// from a table. Any other is written as base-100 limbs: the leading limb
// without a leading zero, every later one as two digits, each stored as one
// four-byte word from a table. The limbs come from one multiplication by a
// scaled reciprocal of a power of 100 and one multiplication by 100 per
// further limb. The branches test the magnitude only, which in a sheet column
// changes little from row to row (and in random data hardly at all: nearly
// every value has as many digits as its type allows).
#ifndef FENMARQ_FORMATS_DECIMAL_H_
#define FENMARQ_FORMATS_DECIMAL_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace fenmarq {

// The longest text: "-2147483648".
inline constexpr int kMaxDecimalLength = 11;
// The bytes a writer below may write at `out`: the longest text, its comma
// and one byte more, the rest of the last table word stored whole.
inline constexpr int kDecimalWriteRoom = kMaxDecimalLength + 2;

namespace decimal_internal {

// Four bytes per limb value 0 to 99: the digits, a comma and fillers.
using LimbText = std::array<char, 4>;

// The limbs 0 to 99 followed by a comma, with or without a leading zero.
constexpr std::array<LimbText, 100> limbTexts(bool leadingZero) {
  std::array<LimbText, 100> limbs{};
  for (int n = 0; n < 100; ++n) {
    const char tens = static_cast<char>('0' + n / 10), ones = static_cast<char>('0' + n % 10);
    limbs[n] =
        n < 10 && !leadingZero ? LimbText{ones, ',', ',', ','} : LimbText{tens, ones, ',', ','};
  }
  return limbs;
}

// "0," to "99,": the leading limb.
constexpr std::array<LimbText, 100> kLeadingLimbs = limbTexts(false);
// "00," to "99,": a later limb, always two digits.
constexpr std::array<LimbText, 100> kLaterLimbs = limbTexts(true);

static_assert(sizeof(kLeadingLimbs) == 400 && sizeof(kLaterLimbs) == 400,
              "one four-byte word per limb, stored whole");
static_assert(kLeadingLimbs[7][0] == '7' && kLeadingLimbs[7][1] == ',' &&
              kLeadingLimbs[42][0] == '4' && kLeadingLimbs[42][1] == '2' &&
              kLeadingLimbs[42][2] == ',');
static_assert(kLaterLimbs[7][0] == '0' && kLaterLimbs[7][1] == '7' && kLaterLimbs[7][2] == ',');

// "-128," to "127,": the cell of every one-byte value whole in one eight-byte
// word, indexed by the value's byte, with its length in the last byte.
using ByteCell = std::array<char, 8>;
inline constexpr std::size_t kByteCellLength = 7;

constexpr std::array<ByteCell, 256> kByteCells = [] {
  std::array<ByteCell, 256> cells{};
  for (int value = -128; value < 128; ++value) {
    ByteCell& cell = cells[static_cast<std::uint8_t>(value)];
    std::size_t length = 0;
    if (value < 0) cell[length++] = '-';
    const int magnitude = value < 0 ? -value : value;
    if (magnitude >= 100) cell[length++] = static_cast<char>('0' + magnitude / 100);
    if (magnitude >= 10) cell[length++] = static_cast<char>('0' + magnitude / 10 % 10);
    cell[length++] = static_cast<char>('0' + magnitude % 10);
    cell[length++] = ',';
    cell[kByteCellLength] = static_cast<char>(length);
  }
  return cells;
}();

static_assert(sizeof(kByteCells) == 256 * 8, "one eight-byte word per cell, stored whole");
static_assert(kByteCells[0x80][0] == '-' && kByteCells[0x80][3] == '8' &&
              kByteCells[0x80][4] == ',' && kByteCells[0x80][kByteCellLength] == 5 &&
              kByteCells[0][0] == '0' && kByteCells[0][kByteCellLength] == 2);

inline char* putByteCell(std::int8_t value, char* out) {
  const ByteCell& cell = kByteCells[static_cast<std::uint8_t>(value)];
  std::memcpy(out, cell.data(), 8);
  return out + cell[kByteCellLength];
}

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

// appendUnsignedCell for values of seven digits or more. Out of line: they are
// rare in most columns, and the record writer of a format inlines the rest
// once per column.
[[gnu::noinline]] inline char* appendLongUnsignedCell(std::uint32_t value, char* out) {
  using namespace decimal_internal;
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
// kDecimalWriteRoom bytes at `out`.
inline char* appendUnsignedCell(std::uint32_t value, char* out) {
  using namespace decimal_internal;
  if (value < 128) return putByteCell(static_cast<std::int8_t>(value), out);
  if (value < 10'000) {
    out = putLeadingLimb(value / 100, out);
    return putLaterLimb(value % 100, out) + 1;
  }
  if (value < 1'000'000) {
    const std::uint64_t scaled = value * scaledReciprocal(10'000);
    return putFractionLimbs<2>(scaled, putLeadingLimb(integerPart(scaled), out)) + 1;
  }
  return appendLongUnsignedCell(value, out);
}

// The same for a signed value, "-" first when it is negative.
inline char* appendSignedCell(std::int32_t value, char* out) {
  if (value >= -128 && value < 128) {
    return decimal_internal::putByteCell(static_cast<std::int8_t>(value), out);
  }
  *out = '-';
  out += value < 0 ? 1 : 0;
  const std::uint32_t magnitude =
      value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
  return appendUnsignedCell(magnitude, out);
}

// Writes `value` in decimal at `out`: no leading zeros, "-" for negative
// values, nothing else. Returns the end of what was written, and may write
// anywhere in the kDecimalWriteRoom bytes at `out`.
inline char* formatDecimal(std::int32_t value, char* out) {
  return appendSignedCell(value, out) - 1;
}

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_DECIMAL_H_
