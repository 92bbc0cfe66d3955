// The value cells of a record: each field's bytes read and written as a
// decimal cell ("-5,"), by code specialised for the field's type.
#ifndef FENMARQ_FORMATS_RECORD_CELLS_H_
#define FENMARQ_FORMATS_RECORD_CELLS_H_

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <utility>

#include "formats/byte_readers.h"
#include "formats/decimal.h"
#include "formats/decoding.h"
#include "formats/record_format.h"

namespace fenmarq {

template <FieldType type>
inline char* appendFieldCell(const std::uint8_t* at, char* out) {
  if constexpr (type == FieldType::kU16) {
    return appendUnsignedCell(readU16(at), out);
  } else if constexpr (type == FieldType::kS32) {
    return appendSignedCell(readS32(at), out);
  } else {
    return appendSignedCell(readS8(at), out);
  }
}

// The cell of `field` in the record or block that starts at `base`.
inline char* appendFieldCell(const Field& field, const std::uint8_t* base, char* out) {
  const std::uint8_t* at = base + field.offset;
  switch (field.type) {
    case FieldType::kU16:
      return appendFieldCell<FieldType::kU16>(at, out);
    case FieldType::kS32:
      return appendFieldCell<FieldType::kS32>(at, out);
    case FieldType::kS8:
      return appendFieldCell<FieldType::kS8>(at, out);
  }
  return out;
}

// The cells of every field of `kFields`, one record's row but for its end,
// compiled for that one table: the offsets and types are constants, and each
// column has branches of its own, which learn that column's usual magnitude.
// A format table names it as its RecordFormat::writeCells.
//
// An instantiation is named after its table, and GCC 14 gives instantiations
// for internal tables one weak symbol per name across files, which the linker
// then shares: each format keeps its tables in a namespace of its own, so
// that no two formats' tables, nor their writers, share a name.
template <const auto& kFields>
char* writeRecordCells(const std::uint8_t* record, char* out) {
  [&]<std::size_t... i>(std::index_sequence<i...>) {
    ((out = appendFieldCell<kFields[i].type>(record + kFields[i].offset, out)), ...);
  }
  (std::make_index_sequence<std::size(kFields)>());
  return out;
}

// The analysis table's cell of a field: its physical value where its
// decoding gives one, otherwise the stored integer.
template <FieldType type, Encoding encoding>
inline char* appendTableCell(const std::uint8_t* at, const Decoding& decoding, char* out) {
  if constexpr (encoding == Encoding::kLinear || encoding == Encoding::kDegreesAndTenthMinutes) {
    std::int32_t stored;
    if constexpr (type == FieldType::kU16) {
      stored = readU16(at);
    } else if constexpr (type == FieldType::kS32) {
      stored = readS32(at);
    } else {
      stored = readS8(at);
    }
    return appendDecodedCell(decoding, stored, out);
  } else {
    return appendFieldCell<type>(at, out);
  }
}

inline char* appendTableCell(const Field& field, const std::uint8_t* base, char* out) {
  if (!isDecoded(field.decoding)) return appendFieldCell(field, base, out);
  return appendDecodedCell(field.decoding, readField(field, base), out);
}

// The analysis table's cells of a record, compiled for one table as
// writeRecordCells is. Latitude and longitude, which repeat on every record
// of a station, are formatted once per change (their shortest text costs a
// search) and copied from `positions` otherwise. A format table names it as
// its RecordFormat::writeTableCells.
template <const auto& kFields>
char* writeTableCells(const std::uint8_t* record, PositionTexts& positions, char* out) {
  // The slot of field i among the table's position fields.
  constexpr auto slotOf = [](std::size_t i) {
    std::size_t slot = 0;
    for (std::size_t j = 0; j < i; ++j) {
      slot += kFields[j].decoding.encoding == Encoding::kDegreesAndTenthMinutes ? 1 : 0;
    }
    return slot;
  };
  static_assert(slotOf(std::size(kFields)) <= PositionTexts::kSlots);
  [&]<std::size_t... i>(std::index_sequence<i...>) {
    ((out =
          kFields[i].decoding.encoding == Encoding::kDegreesAndTenthMinutes
              ? positions.append(slotOf(i), readField(kFields[i], record), kFields[i].decoding, out)
              : appendTableCell<kFields[i].type, kFields[i].decoding.encoding>(
                    record + kFields[i].offset, kFields[i].decoding, out)),
     ...);
  }
  (std::make_index_sequence<std::size(kFields)>());
  return out;
}

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_RECORD_CELLS_H_
