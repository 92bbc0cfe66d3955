// The byte-level grammar of a CSV sheet: cells end in ",", rows in "\n"
// alone, nothing is quoted or escaped. Texts are written as given (the
// converters hand over CP932). Output is gathered in a block buffer and
// passed to the sink in large writes.
#ifndef FENMARQ_FORMATS_CSV_SHEET_H_
#define FENMARQ_FORMATS_CSV_SHEET_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "formats/byte_sink.h"
#include "formats/decimal.h"

namespace fenmarq {

class CsvSheet {
 public:
  static constexpr std::size_t kDefaultBufferSize = 256 * 1024;
  static constexpr std::size_t kMinBufferSize = 64;

  // With a buffer of its own.
  explicit CsvSheet(ByteSink& sink);
  // With a borrowed buffer (kept by the caller for reuse), at least
  // kMinBufferSize bytes.
  CsvSheet(ByteSink& sink, std::span<char> buffer);
  // Passes what is still buffered to the sink.
  ~CsvSheet();
  CsvSheet(const CsvSheet&) = delete;
  CsvSheet& operator=(const CsvSheet&) = delete;

  // Text then ",".
  void writeCell(std::string_view text) {
    writeText(text);
    put(',');
  }
  // `n` commas.
  void writeEmptyCells(std::size_t n);
  // Text then `span` commas: the label stands in the first of `span` columns.
  void writeGroupLabel(std::string_view text, std::size_t span) {
    writeText(text);
    writeEmptyCells(span);
  }
  // Text alone.
  void writeText(std::string_view text);
  // Signed decimal then ",".
  void writeValue(std::int32_t value) {
    reserve(kDecimalWriteRoom);
    endValueRow(appendValue(value, buffer_.data() + used_));
  }
  void endRow() { put('\n'); }

  // Rows of value cells, the bulk of every sheet, are formatted straight into
  // the buffer: beginValueRow returns room for `cells` value cells (or empty
  // cells) and a row end, appendValue fills it, endValueRow takes it in.
  char* beginValueRow(std::size_t cells) { return beginRow(valueRowRoom(cells)); }
  // Room for a row of `room` bytes, for rows that hold more than value cells.
  char* beginRow(std::size_t room);
  // The room beginValueRow needs for a row of `cells` cells: the longest cell
  // and its comma each, and the row end. The one byte more that a cell may
  // write (kDecimalWriteRoom) falls in the next cell or in the row end.
  static constexpr std::size_t valueRowRoom(std::size_t cells) {
    static_assert(kDecimalWriteRoom == kMaxDecimalLength + 2);
    return cells * (kMaxDecimalLength + 1) + 1;
  }
  static char* appendValue(std::int32_t value, char* out) { return appendSignedCell(value, out); }
  void endValueRow(char* end) { used_ = static_cast<std::size_t>(end - buffer_.data()); }
  // Text then "\n": one row of the notes block (an empty text is an empty row).
  void writeNote(std::string_view text) {
    writeText(text);
    endRow();
  }

  void flush();

 private:
  void put(char c) {
    reserve(1);
    buffer_[used_++] = c;
  }
  void reserve(std::size_t n) {
    if (buffer_.size() - used_ < n) flush();
  }

  ByteSink& sink_;
  std::vector<char> owned_;
  std::span<char> buffer_;
  std::size_t used_ = 0;
};

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_CSV_SHEET_H_
