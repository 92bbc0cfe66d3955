// The analysis table of a record format: one header row and one row per
// record, UTF-8, RFC 4180, for programs rather than for Excel. Its columns
// are `file`, `record`, `time` (where each record carries its own time stamp)
// and one column per field of the format table, station block first, in the
// sheet's column order.
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

namespace fenmarq {

class CsvSheet;

struct TableColumn {
  // The group, the label and the unit: "風/前10秒間最大瞬間風速[0.1m/s]".
  std::string name;
  // An identifier of letters, digits and "_": "g03_05" is the fifth column
  // of the third group.
  std::string asciiName;
};

class DataTable {
 public:
  explicit DataTable(const RecordFormat& format);

  const RecordFormat& format() const { return *format_; }
  // Every column, `file` and `record` first.
  const std::vector<TableColumn>& columns() const { return columns_; }
  bool hasTime() const { return hasTime_; }

  void writeHeader(bool asciiNames, CsvSheet& sheet) const;
  // One row per record of `image`, the whole input file, read as the sheet
  // reads it: bytes beyond its end read as zeros, bytes beyond the layout
  // are ignored. `fileName` is UTF-8.
  void writeRows(std::span<const std::uint8_t> image, std::string_view fileName,
                 CsvSheet& sheet) const;

 private:
  const RecordFormat* format_;
  std::vector<TableColumn> columns_;
  // The fields of a record's year, month, day, hour, minute and second, each
  // nullptr where the record has none.
  std::array<const Field*, 6> timeFields_{};
  bool hasTime_ = false;
};

// `text` as one RFC 4180 field: quoted, with its quotes doubled, when it
// holds a comma, a quote or a line break.
void appendCsvField(std::string_view text, std::string& out);

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_DATA_TABLE_H_
