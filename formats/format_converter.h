// The generic sheet writer shared by every observation file format.
#ifndef FENMARQ_FORMATS_FORMAT_CONVERTER_H_
#define FENMARQ_FORMATS_FORMAT_CONVERTER_H_

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "formats/record_format.h"

namespace fenmarq {

class CsvSheet;
class Cp932Encoder;

// Writes the CSV sheet of one observation file from its format table: the
// file-name row, the group, label and unit rows, one data row per record and
// the notes block. Holds nothing but a reference to its (constant) table.
class FormatConverter {
 public:
  constexpr explicit FormatConverter(const RecordFormat& format) : format_(&format) {}

  // `image` is the whole input file. Records are read at their fixed offsets
  // whatever its length; bytes beyond the end of `image` read as zeros, and
  // bytes beyond the layout are ignored. The texts of the sheet are written
  // in CP932 through `cp932`.
  void writeSheet(std::span<const std::uint8_t> image, std::string_view fileName,
                  Cp932Encoder& cp932, CsvSheet& sheet) const;

  const RecordFormat& format() const { return *format_; }
  std::size_t layoutSize() const { return fenmarq::layoutSize(*format_); }
  std::size_t recordCount() const { return format_->recordCount; }
  std::size_t columnCount() const { return fenmarq::columnCount(*format_); }

 private:
  void writeRows(std::span<const std::uint8_t> image, CsvSheet& sheet) const;

  const RecordFormat* format_;
};

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_FORMAT_CONVERTER_H_
