// Physical values from stored integers, as a field's Decoding says, and their
// shortest decimal text.
#ifndef FENMARQ_FORMATS_DECODING_H_
#define FENMARQ_FORMATS_DECODING_H_

#include <charconv>
#include <cstdint>
#include <cstring>

#include "formats/decimal.h"
#include "formats/record_format.h"

namespace fenmarq {

// Whether the table writes a value other than the stored integer.
constexpr bool isDecoded(const Decoding& decoding) {
  return decoding.encoding == Encoding::kLinear ||
         decoding.encoding == Encoding::kDegreesAndTenthMinutes;
}

// The physical value of `stored`. The offset is subtracted in integers and
// the result divided once, so the value is the double nearest the exact
// quotient: 544 at offset 500 and scale 10 is the double nearest 4.4.
// Latitude and longitude come out the same way, as a count of tenths of a
// minute divided by the 600 tenths of a degree.
inline double decodedValue(const Decoding& decoding, std::int32_t stored) {
  if (decoding.encoding == Encoding::kDegreesAndTenthMinutes) {
    const std::int64_t degrees = stored / 1000, tenthMinutes = stored % 1000;
    return static_cast<double>(degrees * 600 + tenthMinutes) / 600.0;
  }
  return static_cast<double>(std::int64_t{stored} - decoding.offset) /
         static_cast<double>(decoding.scale);
}

// The longest text appendNumberCell writes, its comma included: a quotient
// of an s32 by 600 has at most 7 integer and 17 significant digits.
inline constexpr int kMaxNumberCellLength = 28;

// Writes `value` and a comma at `out`: the shortest fixed-point text that
// reads back as the same double ("4.4", never "4.3999999999999995"; "20",
// never "20.0" or "2e+01"). Returns the end of the comma.
inline char* appendNumberCell(double value, char* out) {
  out = std::to_chars(out, out + kMaxNumberCellLength - 1, value, std::chars_format::fixed).ptr;
  *out = ',';
  return out + 1;
}

// Writes `units` / 10^`places` (places 1 to 3) and a comma at `out`: the
// exact decimal, trailing zeros of the fraction dropped. For the quotients of
// the stored integers this is the text appendNumberCell writes for the
// nearest double, since no shorter decimal lies within that double's
// rounding distance (far below 0.001 for any such quotient), without its
// search for the shortest digits.
inline char* appendDecimalCell(std::int64_t units, int places, char* out) {
  static constexpr std::uint32_t kPowers[] = {1, 10, 100, 1000};
  if (units < 0) *out++ = '-';
  const std::uint64_t magnitude =
      units < 0 ? 0 - static_cast<std::uint64_t>(units) : static_cast<std::uint64_t>(units);
  const std::uint32_t power = kPowers[places];
  out = appendUnsignedCell(static_cast<std::uint32_t>(magnitude / power), out) - 1;
  std::uint32_t fraction = static_cast<std::uint32_t>(magnitude % power);
  if (fraction != 0) {
    *out++ = '.';
    for (std::uint32_t digit = power / 10; fraction != 0; digit /= 10) {
      *out++ = static_cast<char>('0' + fraction / digit);
      fraction %= digit;
    }
  }
  *out = ',';
  return out + 1;
}

// The decimal places of a linear decoding whose scale is 10, 100 or 1000;
// 0 for any other.
constexpr int decimalPlaces(const Decoding& decoding) {
  if (decoding.encoding != Encoding::kLinear) return 0;
  switch (decoding.scale) {
    case 10:
      return 1;
    case 100:
      return 2;
    case 1000:
      return 3;
  }
  return 0;
}

// The table's cell of a decoded field: its physical value and a comma.
inline char* appendDecodedCell(const Decoding& decoding, std::int32_t stored, char* out) {
  if (const int places = decimalPlaces(decoding); places > 0) {
    return appendDecimalCell(std::int64_t{stored} - decoding.offset, places, out);
  }
  return appendNumberCell(decodedValue(decoding, stored), out);
}

inline char* PositionTexts::append(std::size_t slot, std::int32_t stored, const Decoding& decoding,
                                   char* out) {
  static_assert(sizeof(Text::cell) == kMaxNumberCellLength);
  Text& text = texts_[slot];
  if (text.length == 0 || text.stored != stored) {
    text.stored = stored;
    text.length =
        static_cast<std::uint8_t>(appendDecodedCell(decoding, stored, text.cell) - text.cell);
  }
  std::memcpy(out, text.cell, kMaxNumberCellLength);
  return out + text.length;
}

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_DECODING_H_
