#include "formats/data_table.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>

#include "formats/csv_sheet.h"
#include "formats/decimal.h"
#include "formats/decoding.h"
#include "formats/record_cells.h"

namespace fenmarq {
namespace {

constexpr std::string_view kNoteMark = "※";
constexpr std::string_view kIdeographicSpace = "　";

bool isNoteNumber(std::string_view text) {
  if (text.empty()) return false;
  for (std::size_t i = 0; i < text.size();) {
    if (text[i] >= '0' && text[i] <= '9') {
      ++i;
    } else if (text.substr(i, 2) == "\xEF\xBC" && i + 2 < text.size() &&
               static_cast<unsigned char>(text[i + 2]) >= 0x90 &&
               static_cast<unsigned char>(text[i + 2]) <= 0x99) {
      i += 3;  // a full-width digit, U+FF10 to U+FF19
    } else {
      return false;
    }
  }
  return true;
}

// A label or unit without the note mark at its end ("緯度　※１" is "緯度"): the
// mark points into the sheet's notes block, which the table does not carry.
std::string_view withoutNoteMark(std::string_view text) {
  const std::size_t mark = text.rfind(kNoteMark);
  if (mark == std::string_view::npos || !isNoteNumber(text.substr(mark + kNoteMark.size()))) {
    return text;
  }
  text = text.substr(0, mark);
  while (true) {
    if (text.ends_with(' ')) {
      text.remove_suffix(1);
    } else if (text.ends_with(kIdeographicSpace)) {
      text.remove_suffix(kIdeographicSpace.size());
    } else {
      return text;
    }
  }
}

// The n-th use of a name (from 1) keeps it; later ones get "_n".
std::string numbered(std::string name, int n) {
  if (n > 1) name.append("_").append(std::to_string(n));
  return name;
}

// Two digits at least, so that the names sort in column order.
void appendTwoDigits(std::size_t n, std::string& out) {
  if (n < 10) out.push_back('0');
  out.append(std::to_string(n));
}

std::string asciiName(std::size_t group, std::size_t column) {
  std::string name = "g";
  appendTwoDigits(group, name);
  name.push_back('_');
  appendTwoDigits(column, name);
  return name;
}

// Writes `value` with at least `width` digits, zeros in front; a value the
// width cannot hold, or a negative one, is written as it is.
char* appendPadded(std::int32_t value, int width, char* out) {
  static constexpr std::int32_t kLimits[] = {1, 10, 100, 1'000, 10'000};
  if (value < 0 || value >= kLimits[width]) return formatDecimal(value, out);
  for (int i = width - 1; i >= 0; --i, value /= 10) out[i] = static_cast<char>('0' + value % 10);
  return out + width;
}

// "2016-04-12T00:00:10+09:00": the longest is six values of eleven
// characters, five separators and the offset.
constexpr std::size_t kMaxTimeLength = 6 * kMaxDecimalLength + 5 + kRecordTimeOffset.size();

// The unit of a field's values in the table.
std::string_view unitOf(const Field& field, bool raw) {
  const Decoding& decoding = field.decoding;
  if (raw || (decoding.encoding == Encoding::kAsStored && decoding.unit.empty())) {
    return withoutNoteMark(field.unit);
  }
  return decoding.unit;
}

std::size_t beginOf(std::span<const Field> fields) {
  std::size_t begin = SIZE_MAX;
  for (const Field& field : fields) begin = std::min(begin, field.offset);
  return begin;
}

}  // namespace

void appendCsvField(std::string_view text, std::string& out) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    out.append(text);
    return;
  }
  out.push_back('"');
  for (const char c : text) {
    if (c == '"') out.push_back('"');
    out.push_back(c);
  }
  out.push_back('"');
}

DataTable::DataTable(const RecordFormat& format, bool raw) : format_(&format), raw_(raw) {
  columns_.push_back({.name = "file", .asciiName = "file", .title = "file"});
  columns_.push_back(
      {.name = "record", .asciiName = "record", .title = "record", .type = ColumnType::kInteger});

  static constexpr std::string_view kTimeLabels[] = {"年", "月", "日", "時", "分", "秒"};
  for (std::size_t part = 0; part < std::size(kTimeLabels); ++part) {
    const auto found = std::find_if(format.fields.begin(), format.fields.end(),
                                    [&](const Field& f) { return f.label == kTimeLabels[part]; });
    if (found != format.fields.end()) timeFields_[part] = &*found;
  }
  // Year to minute make a time stamp; a record without them (its day only in
  // a station block) has none of its own.
  hasTime_ = std::all_of(timeFields_.begin(), timeFields_.begin() + 5,
                         [](const Field* f) { return f != nullptr; });
  if (hasTime_) {
    columns_.push_back({.name = "time",
                        .asciiName = "time",
                        .title = "time",
                        .type = ColumnType::kDateTime,
                        .mayBeMissing = true});
  }

  // Records that begin before the station block ends read some of its bytes
  // as their own fields (in the 2008 sfc layout, row 0 from image offset 26).
  const std::size_t stationEnd = stationBlockEnd(format);
  if (!raw && format.firstRecordOffset < stationEnd) {
    recordsOnStationBlock_ =
        (stationEnd - format.firstRecordOffset + format.recordSize - 1) / format.recordSize;
  }

  // The groups span the station block and then the record's fields.
  std::vector<const Field*> fields;
  for (const auto& part : {format.stationBlock, format.fields}) {
    for (const Field& field : part) fields.push_back(&field);
  }
  std::map<std::string_view, int> groupUses;
  std::size_t column = 0;
  for (std::size_t g = 0; g < format.groups.size(); ++g) {
    const Group& group = format.groups[g];
    const std::string groupName =
        numbered(std::string(group.label), ++groupUses[group.label]) + "/";
    std::map<std::string, int> labelUses;
    for (std::size_t k = 0; k < group.span && column < fields.size(); ++k, ++column) {
      const Field& field = *fields[column];
      std::string label(withoutNoteMark(field.label));
      // An unlabelled column is named by its place in the sheet.
      if (label.empty()) label = "列" + std::to_string(column + 1);
      TableColumn entry;
      entry.title = groupName + numbered(label, ++labelUses[label]);
      entry.unit = unitOf(field, raw);
      entry.name = entry.title;
      if (!entry.unit.empty()) entry.name.append("[").append(entry.unit).append("]");
      entry.asciiName = asciiName(g + 1, k + 1);
      entry.field = &field;
      entry.sheetColumn = column + 1;
      entry.fromStationBlock = column < format.stationBlock.size();
      entry.decoded = !raw && isDecoded(field.decoding);
      entry.type = entry.decoded ? ColumnType::kNumber : ColumnType::kInteger;
      entry.mayBeMissing =
          !entry.fromStationBlock && recordsOnStationBlock_ > 0 && isMissing(field, 0);
      columns_.push_back(std::move(entry));
    }
  }
}

TimeStamp DataTable::timeOf(const std::uint8_t* record) const {
  if (!hasTime_) return {};
  int parts[6] = {};
  for (int part = 0; part < 6; ++part) {
    if (timeFields_[part]) parts[part] = readField(*timeFields_[part], record);
  }
  return {parts[0], parts[1], parts[2], parts[3], parts[4], parts[5]};
}

bool DataTable::isMissing(const Field& field, std::size_t index) const {
  if (index >= recordsOnStationBlock_) return false;
  const std::size_t begin = format_->firstRecordOffset + index * format_->recordSize + field.offset;
  return begin < stationBlockEnd(*format_) &&
         begin + fieldWidth(field.type) > beginOf(format_->stationBlock);
}

void DataTable::writeHeader(bool asciiNames, CsvSheet& sheet) const {
  std::string row;
  for (const TableColumn& column : columns_) {
    appendCsvField(asciiNames ? column.asciiName : column.name, row);
    row.push_back(',');
  }
  row.back() = '\n';
  sheet.writeText(row);
}

void DataTable::writeRows(std::span<const std::uint8_t> image, std::string_view fileName,
                          CsvSheet& sheet) const {
  const RecordFormat& format = *format_;
  // The layout in full: an image that ends early is read from a copy padded
  // with zeros.
  std::vector<std::uint8_t> padded;
  if (image.size() < layoutSize(format)) {
    padded.assign(layoutSize(format), 0);
    std::copy(image.begin(), image.end(), padded.begin());
    image = padded;
  }

  // What every row of the file begins with, and the station block's values
  // that every row repeats.
  std::string fileCells;
  appendCsvField(fileName, fileCells);
  fileCells.push_back(',');
  std::string stationCells(format.stationBlock.size() * kMaxNumberCellLength, '\0');
  char* end = stationCells.data();
  for (const Field& field : format.stationBlock) {
    end = raw_ ? appendFieldCell(field, image.data(), end)
               : appendTableCell(field, image.data(), end);
  }
  stationCells.resize(static_cast<std::size_t>(end - stationCells.data()));

  const std::size_t room = fileCells.size() + kMaxDecimalLength + 1 + kMaxTimeLength + 1 +
                           stationCells.size() + format.fields.size() * kMaxNumberCellLength + 1;
  PositionTexts positions;
  for (std::size_t k = 0; k < format.recordCount; ++k) {
    const std::uint8_t* record = image.data() + format.firstRecordOffset + k * format.recordSize;
    char* out = sheet.beginRow(room);
    out = std::copy(fileCells.begin(), fileCells.end(), out);
    out = CsvSheet::appendValue(static_cast<std::int32_t>(k), out);
    if (hasTime_) {
      // A stamp of zeros marks a record that holds no observation; one that
      // names no calendar time is left empty too.
      if (const std::optional<TimeStamp> time = calendarTime(timeOf(record))) {
        static constexpr char kSeparators[] = "--T::";
        const int parts[] = {time->year, time->month,  time->day,
                             time->hour, time->minute, time->second};
        out = appendPadded(parts[0], 4, out);
        for (int part = 1; part < 6; ++part) {
          *out++ = kSeparators[part - 1];
          out = appendPadded(parts[part], 2, out);
        }
        out = std::copy(kRecordTimeOffset.begin(), kRecordTimeOffset.end(), out);
      }
      *out++ = ',';
    }
    out = std::copy(stationCells.begin(), stationCells.end(), out);
    if (k < recordsOnStationBlock_) {
      for (const Field& field : format.fields) {
        if (isMissing(field, k)) {
          *out++ = ',';
        } else {
          out = appendTableCell(field, record, out);
        }
      }
    } else if (raw_) {
      out = format.writeCells(record, out);
    } else {
      out = format.writeTableCells(record, positions, out);
    }
    out[-1] = '\n';  // the last cell ends the row, not a trailing comma
    sheet.endValueRow(out);
  }
}

}  // namespace fenmarq
