// Fields are packed without alignment, so they are read byte by byte at their
// offsets and assembled with shifts: least-significant byte first.
#ifndef FENMARQ_FORMATS_BYTE_READERS_H_
#define FENMARQ_FORMATS_BYTE_READERS_H_

#include <cstdint>

namespace fenmarq {

inline std::uint16_t readU16(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::int32_t readS32(const std::uint8_t* p) {
  const std::uint32_t bits = std::uint32_t{p[0]} | (std::uint32_t{p[1]} << 8) |
                             (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[3]} << 24);
  return static_cast<std::int32_t>(bits);  // two's complement, as C++20 defines it
}

inline std::int8_t readS8(const std::uint8_t* p) { return static_cast<std::int8_t>(p[0]); }

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_BYTE_READERS_H_
