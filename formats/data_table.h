// The analysis table of a record format: one header row and one row per
// record, UTF-8, RFC 4180, for programs rather than for Excel. Its columns
// are `file`, `record`, `time` (where each record carries its own time stamp)
// and one column per field of the format table, station block first, in the
// sheet's column order. By default each field holds its physical value as
// its decoding gives it; a raw table holds the stored integers, as the sheet
// does.
#ifndef FENMARQ_FORMATS_DATA_TABLE_H_
#define FENMARQ_FORMATS_DATA_TABLE_H_

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/record_format.h"
#include "formats/record_time.h"

namespace fenmarq {

class CsvSheet;

// What a column's cells hold: text, integers, decimal numbers or a time with
// its offset from UTC.
enum class ColumnType : std::uint8_t { kString, kInteger, kNumber, kDateTime };

struct TableColumn {
  // The group, the label and the unit of the values: "風/前10秒間最大瞬間風速[m/s]"
  // (in a raw table the unit cell's: "[0.1m/s]").
  std::string name = {};
  // An identifier of letters, digits and "_": "g03_05" is the fifth column
  // of the third group.
  std::string asciiName = {};
  // The name without its unit: "風/前10秒間最大瞬間風速".
  std::string title = {};
  std::string_view unit = {};  // of the values written; empty for none
  ColumnType type = ColumnType::kString;
  // The field the column shows and its column in the sheet (from 1);
  // nullptr and 0 for file, record and time.
  const Field* field = nullptr;
  std::size_t sheetColumn = 0;
  bool fromStationBlock = false;
  // True when the column's values are decoded rather than stored integers.
  bool decoded = false;
  // True when some cells are empty: a time stamp whose fields are all zero,
  // and, in the 2008 sfc layout, the fields of the first row that lie on the
  // station block's bytes.
  bool mayBeMissing = false;
};

// Japan Standard Time, the time of every record, as ISO 8601 writes it.
inline constexpr std::string_view kRecordTimeOffset = "+09:00";

class DataTable {
 public:
  // `raw`: the stored integers, exactly as the sheet's cells hold them.
  explicit DataTable(const RecordFormat& format, bool raw = false);

  const RecordFormat& format() const { return *format_; }
  bool raw() const { return raw_; }
  // Every column, `file` and `record` first.
  const std::vector<TableColumn>& columns() const { return columns_; }
  bool hasTime() const { return hasTime_; }

  // The time stamp of the record at `record` (all zeros without one).
  TimeStamp timeOf(const std::uint8_t* record) const;
  // Whether `field` of the record `index` is missing from the table: it lies
  // on bytes that the record shares with the station block, which the sheet
  // prints as that record's values but which hold the station's.
  bool isMissing(const Field& field, std::size_t index) const;
  // The records that may have such fields: the first ones, or none.
  std::size_t recordsOnStationBlock() const { return recordsOnStationBlock_; }

  void writeHeader(bool asciiNames, CsvSheet& sheet) const;
  // One row per record of `image`, the whole input file, read as the sheet
  // reads it: bytes beyond its end read as zeros, bytes beyond the layout
  // are ignored. `fileName` is UTF-8.
  void writeRows(std::span<const std::uint8_t> image, std::string_view fileName,
                 CsvSheet& sheet) const;

 private:
  const RecordFormat* format_;
  bool raw_;
  std::vector<TableColumn> columns_;
  // The fields of a record's year, month, day, hour, minute and second, each
  // nullptr where the record has none.
  std::array<const Field*, 6> timeFields_{};
  bool hasTime_ = false;
  // Records before this one may share bytes with the station block.
  std::size_t recordsOnStationBlock_ = 0;
};

// `text` as one RFC 4180 field: quoted, with its quotes doubled, when it
// holds a comma, a quote or a line break.
void appendCsvField(std::string_view text, std::string& out);

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_DATA_TABLE_H_
