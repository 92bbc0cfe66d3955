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

// How the analysis table turns a field's stored integer into a physical
// value. The sheet never applies it: it prints every field as stored.
enum class Encoding : std::uint8_t {
  // An integer in its own unit (a count, flag, code, direction in degrees,
  // percentage): written as stored.
  kAsStored,
  // (stored - offset) / scale, in `unit`.
  kLinear,
  // Degrees times 1000 plus minutes in tenths (42517 is 42 degrees 51.7
  // minutes): written as decimal degrees.
  kDegreesAndTenthMinutes,
  // Written as stored because the format does not say how to decode it: a
  // note with an offset but no scale, a mark without a note, or a unit cell
  // that the quantity contradicts. `doubt` says which.
  kUnclear,
};

struct Decoding {
  Encoding encoding = Encoding::kAsStored;
  std::int32_t offset = 0;  // in stored units
  std::int32_t scale = 1;   // stored units per `unit`
  // The unit of the value the table writes. Empty for kAsStored: the unit
  // cell's (without a note mark); for kUnclear: none, the value is not known
  // to be in any.
  std::string_view unit;
  // The note of the sheet's notes block that the decoding follows, as the
  // sheet writes it; empty where the unit cell alone gives the scale.
  std::string_view note;
  std::string_view doubt;  // for kUnclear
};

// A unit cell such as "0.1m/s": `scale` stored units make one `unit`.
constexpr Decoding scaled(std::int32_t scale, std::string_view unit) {
  return {Encoding::kLinear, 0, scale, unit, {}, {}};
}

// Offset and scale as `note` gives them, or as it gives the offset and the
// unit cell the scale.
constexpr Decoding fromNote(std::string_view note, std::int32_t offset, std::int32_t scale,
                            std::string_view unit) {
  return {Encoding::kLinear, offset, scale, unit, note, {}};
}

constexpr Decoding degreesFromNote(std::string_view note) {
  return {Encoding::kDegreesAndTenthMinutes, 0, 1, "度", note, {}};
}

// An integer in a unit other than its unit cell's spelling ("１秒" is "s").
constexpr Decoding asStoredIn(std::string_view unit) {
  return {Encoding::kAsStored, 0, 1, unit, {}, {}};
}

// An integer as stored, which `note` describes without an encoding.
constexpr Decoding describedBy(std::string_view note) {
  return {Encoding::kAsStored, 0, 1, {}, note, {}};
}

constexpr Decoding unclear(std::string_view doubt, std::string_view note = {}) {
  return {Encoding::kUnclear, 0, 1, {}, note, doubt};
}

// One field of a record and, with it, one column of the sheet. Labels and
// units are UTF-8 here and written in CP932; an empty unit is an empty cell.
struct Field {
  std::size_t offset;
  FieldType type;
  std::string_view label;
  std::string_view unit;
  Decoding decoding = {};
};

// True when no unit cell that states a scale ("0.1m", "0.01KJ/m^2") is left
// undecoded: every such field says how its scale applies, or why it does not.
constexpr bool scaledUnitsAreDecoded(std::span<const Field> fields) {
  for (const Field& field : fields) {
    if (field.unit.starts_with("0.") && field.decoding.encoding == Encoding::kAsStored) {
      return false;
    }
  }
  return true;
}

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

// The last text of each latitude and longitude column of an analysis table,
// kept by its writer for one file.
class PositionTexts {
 public:
  static constexpr std::size_t kSlots = 4;
  // The cell of `stored` in the column of `slot`, from its last text when the
  // value is the same (decoding.h).
  char* append(std::size_t slot, std::int32_t stored, const Decoding& decoding, char* out);

 private:
  struct Text {
    std::int32_t stored = 0;
    std::uint8_t length = 0;  // 0: none yet
    char cell[28];
  };
  Text texts_[kSlots];
};

using TableCellWriter = char* (*)(const std::uint8_t* record, PositionTexts& positions, char* out);

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
  // Writes a record's cells of the analysis table, physical values where the
  // fields' decodings give them: writeTableCells<fields> (record_cells.h).
  TableCellWriter writeTableCells;
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
