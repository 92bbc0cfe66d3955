#include "formats/format_converter.h"

#include <algorithm>
#include <vector>

#include "formats/csv_sheet.h"
#include "formats/record_cells.h"
#include "platform/cp932.h"

namespace fenmarq {
namespace {

// The label row, then the unit row; an empty unit is an empty cell.
void writeLabelAndUnitRows(const RecordFormat& format, Cp932Encoder& cp932, CsvSheet& sheet) {
  for (const auto& fields : {format.stationBlock, format.fields}) {
    for (const Field& field : fields) sheet.writeCell(cp932.encode(field.label));
  }
  sheet.endRow();
  for (const auto& fields : {format.stationBlock, format.fields}) {
    for (const Field& field : fields) sheet.writeCell(cp932.encode(field.unit));
  }
  sheet.endRow();
}

}  // namespace

void FormatConverter::writeSheet(std::span<const std::uint8_t> image, std::string_view fileName,
                                 Cp932Encoder& cp932, CsvSheet& sheet) const {
  const RecordFormat& format = *format_;
  // The file-name row has no comma after the name.
  sheet.writeCell(cp932.encode("ファイル名"));
  sheet.writeText(cp932.encode(fileName));
  sheet.endRow();
  for (const Group& group : format.groups) {
    sheet.writeGroupLabel(cp932.encode(group.label), group.span);
  }
  sheet.endRow();
  writeLabelAndUnitRows(format, cp932, sheet);
  writeRows(image, sheet);
  for (std::string_view note : format.notes) sheet.writeNote(cp932.encode(note));
}

void FormatConverter::writeRows(std::span<const std::uint8_t> image, CsvSheet& sheet) const {
  const RecordFormat& format = *format_;
  // Bytes the image lacks read as zeros: a record or station block that
  // reaches past its end is read from a zero-padded copy.
  std::vector<std::uint8_t> padded;
  const auto readable = [&](std::size_t offset, std::size_t size) {
    if (offset + size <= image.size()) return image.data() + offset;
    padded.assign(size, 0);
    if (offset < image.size()) std::copy(image.begin() + offset, image.end(), padded.begin());
    return static_cast<const std::uint8_t*>(padded.data());
  };

  const std::size_t cells = columnCount();
  for (std::size_t k = 0; k < format.recordCount; ++k) {
    char* out = sheet.beginValueRow(cells);
    // Station-block values stand in the first data row only; later rows keep
    // their columns with empty cells.
    if (k == 0) {
      const std::uint8_t* block = readable(0, stationBlockEnd(format));
      for (const Field& field : format.stationBlock) {
        out = appendFieldCell(field, block, out);
      }
    } else {
      out = std::fill_n(out, format.stationBlock.size(), ',');
    }
    const std::uint8_t* record =
        readable(format.firstRecordOffset + k * format.recordSize, format.recordSize);
    out = format.writeCells(record, out);
    *out++ = '\n';
    sheet.endValueRow(out);
  }
}

}  // namespace fenmarq
