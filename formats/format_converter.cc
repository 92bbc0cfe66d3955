#include "formats/format_converter.h"

#include <algorithm>
#include <vector>

#include "formats/byte_readers.h"
#include "formats/csv_sheet.h"
#include "platform/cp932.h"

namespace fenmarq {
namespace {

// Reads one field at `at` with its type and appends its value cell.
char* appendField(const Field& field, const std::uint8_t* at, char* out) {
  switch (field.type) {
    case FieldType::kU16:
      return CsvSheet::appendValue(readU16(at), out);
    case FieldType::kS32:
      return CsvSheet::appendValue(readS32(at), out);
    case FieldType::kS8:
      return CsvSheet::appendValue(readS8(at), out);
  }
  return out;
}

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
                                 CsvSheet& sheet) const {
  const RecordFormat& format = *format_;
  // A file shorter than the layout is read as if padded with zeros.
  std::vector<std::uint8_t> padded;
  if (image.size() < layoutSize()) {
    padded.assign(layoutSize(), 0);
    std::copy(image.begin(), image.end(), padded.begin());
    image = padded;
  }

  Cp932Encoder cp932;
  // The file-name row has no comma after the name.
  sheet.writeCell(cp932.encode("ファイル名"));
  sheet.writeText(cp932.encode(fileName));
  sheet.endRow();
  for (const Group& group : format.groups) {
    sheet.writeGroupLabel(cp932.encode(group.label), group.span);
  }
  sheet.endRow();
  writeLabelAndUnitRows(format, cp932, sheet);

  const std::size_t cells = columnCount(format);
  for (std::size_t k = 0; k < format.recordCount; ++k) {
    char* out = sheet.beginValueRow(cells);
    // Station-block values stand in the first data row only; later rows keep
    // their columns with empty cells.
    if (k == 0) {
      for (const Field& field : format.stationBlock) {
        out = appendField(field, image.data() + field.offset, out);
      }
    } else {
      out = std::fill_n(out, format.stationBlock.size(), ',');
    }
    const std::uint8_t* record = image.data() + format.firstRecordOffset + k * format.recordSize;
    for (const Field& field : format.fields) out = appendField(field, record + field.offset, out);
    *out++ = '\n';
    sheet.endValueRow(out);
  }

  for (std::string_view note : format.notes) sheet.writeNote(cp932.encode(note));
  sheet.flush();
}

}  // namespace fenmarq
