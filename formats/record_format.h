// Record formats as data: each observation file format is described by a
// table of its fields, its column groups and its closing notes, and one
// generic writer (FormatConverter) turns any such table into a CSV sheet.
#ifndef FENMARQ_FORMATS_RECORD_FORMAT_H_
#define FENMARQ_FORMATS_RECORD_FORMAT_H_

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "formats/byte_readers.h"

namespace fenmarq {

// How a field's bytes are read: u16 is two bytes little-endian (0 to 65535),
// s32 four bytes little-endian two's complement, s8 one byte two's complement.
enum class FieldType : std::uint8_t { kU16, kS32, kS8 };

constexpr std::size_t fieldWidth(FieldType type) {
  switch (type) {
    case FieldType::kU16:
      return 2;
    case FieldType::kS32:
      return 4;
    case FieldType::kS8:
      return 1;
  }
  return 0;
}

// One field of a record and, with it, one column of the sheet. Labels and
// units are UTF-8 here and written in CP932; an empty unit is an empty cell.
struct Field {
  std::size_t offset;
  FieldType type;
  std::string_view label;
  std::string_view unit;
};

// The value of `field` in the record or block that starts at `base`.
inline std::int32_t readField(const Field& field, const std::uint8_t* base) {
  const std::uint8_t* at = base + field.offset;
  switch (field.type) {
    case FieldType::kU16:
      return readU16(at);
    case FieldType::kS32:
      return readS32(at);
    case FieldType::kS8:
      return readS8(at);
  }
  return 0;
}

// A group label of the sheet's first header row and the number of columns it
// spans (the label followed by that many commas).
struct Group {
  std::string_view label;
  std::size_t span;
};

// Writes the cells of one record, which starts at `record`, from `out` on and
// returns their end. The row end is not included.
using RecordCellWriter = char* (*)(const std::uint8_t* record, char* out);

struct RecordFormat {
  // Fields read once from fixed image offsets and printed in the first data
  // row only; every later row has an empty cell in each of their columns.
  // Empty for formats that repeat the station description in every record.
  std::span<const Field> stationBlock;
  // The record's fields in column order, at offsets within the record.
  std::span<const Field> fields;
  // Writes a record's cells: writeRecordCells<fields> (formats/record_cells.h),
  // the generic cell writer compiled for this table.
  RecordCellWriter writeCells;
  std::size_t recordSize;
  std::size_t recordCount;
  std::size_t firstRecordOffset;
  std::span<const Group> groups;
  // The notes block after the data rows, one row per entry; an empty entry is
  // an empty row (the block always starts with one).
  std::span<const std::string_view> notes;
};

// The end of the station block in the image (0 when there is none).
constexpr std::size_t stationBlockEnd(const RecordFormat& format) {
  std::size_t end = 0;
  for (const Field& field : format.stationBlock) {
    end = std::max(end, field.offset + fieldWidth(field.type));
  }
  return end;
}

// The number of image bytes the format reads: the end of its last record or
// of its station block, whichever lies further.
constexpr std::size_t layoutSize(const RecordFormat& format) {
  return std::max(format.firstRecordOffset + format.recordCount * format.recordSize,
                  stationBlockEnd(format));
}

constexpr std::size_t columnCount(const RecordFormat& format) {
  return format.stationBlock.size() + format.fields.size();
}

// True when the fields follow one another from `begin` without gap or
// overlap and end exactly at `end`.
constexpr bool layoutIsContiguous(std::span<const Field> fields, std::size_t begin,
                                  std::size_t end) {
  std::size_t next = begin;
  for (const Field& field : fields) {
    if (field.offset != next) return false;
    next += fieldWidth(field.type);
  }
  return next == end;
}

constexpr bool layoutIsContiguous(std::span<const Field> fields, std::size_t size) {
  return layoutIsContiguous(fields, 0, size);
}

constexpr std::size_t countFields(std::span<const Field> fields, FieldType type) {
  return static_cast<std::size_t>(std::count_if(fields.begin(), fields.end(),
                                                [type](const Field& f) { return f.type == type; }));
}

constexpr std::size_t totalSpan(std::span<const Group> groups) {
  std::size_t total = 0;
  for (const Group& group : groups) total += group.span;
  return total;
}

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_RECORD_FORMAT_H_
