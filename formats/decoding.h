// Physical values from stored integers, as a field's Decoding says, and their
// shortest decimal text.
#ifndef FENMARQ_FORMATS_DECODING_H_
#define FENMARQ_FORMATS_DECODING_H_

#include <charconv>
#include <cstdint>

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

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_DECODING_H_
