#include "formats/data_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "cli/sample_day.h"
#include "convert/conversion_rule.h"
#include "formats/decoding.h"
#include "tests/support/sheet_of.h"

namespace fenmarq {
namespace {

using testing::StringSink;

// The cells of one CSV line (no quoting: neither the sheet nor these rows
// need it).
std::vector<std::string> cellsOf(std::string_view line) {
  std::vector<std::string> cells;
  for (std::size_t comma; (comma = line.find(',')) != std::string_view::npos;
       line.remove_prefix(comma + 1)) {
    cells.emplace_back(line.substr(0, comma));
  }
  cells.emplace_back(line);
  return cells;
}

std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  for (std::size_t end; (end = text.find('\n')) != std::string_view::npos;
       text.remove_prefix(end + 1)) {
    lines.push_back(text.substr(0, end));
  }
  EXPECT_EQ(text, "") << "the table ends in a line end";
  return lines;
}

bool isIdentifier(std::string_view name) {
  if (name.empty() || (name[0] >= '0' && name[0] <= '9')) return false;
  for (const char c : name) {
    if (!(c == '_' || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z'))) return false;
  }
  return true;
}

struct TableCase {
  std::string_view firstTime;  // "" where the records carry no time stamp
  std::string_view lastTime;
};

// In the order of the samples.
constexpr TableCase kCases[] = {
    {"2016-04-12T00:00:00+09:00", "2016-04-12T23:59:00+09:00"},
    {"2016-04-12T00:00:00+09:00", "2016-04-12T23:59:50+09:00"},
    {"2016-04-12T00:00:00+09:00", "2016-04-12T23:59:50+09:00"},
    {"", ""},
    {"2016-04-12T00:00:00+09:00", "2016-04-12T23:59:00+09:00"},
};

// Two day files in one raw table: unique names, one row per record of each,
// the time of the first and last record, and for every record the values of
// the sheet's data row (station-block values repeated on every row).
TEST(DataTableTest, RowsHoldTheSheetsValuesUnderUniqueNames) {
  ASSERT_EQ(sampleFiles().size(), std::size(kCases));
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    const SampleFile& sample = sampleFiles()[i];
    SCOPED_TRACE(sample.fileName);
    const TableCase& c = kCases[i];
    const DataTable table(sample.format, /*raw=*/true);
    EXPECT_EQ(table.hasTime(), !c.firstTime.empty());
    const std::size_t leading = table.hasTime() ? 3 : 2;
    ASSERT_EQ(table.columns().size(), leading + columnCount(sample.format));
    std::set<std::string> names, asciiNames;
    for (const TableColumn& column : table.columns()) {
      EXPECT_TRUE(names.insert(column.name).second) << column.name;
      EXPECT_TRUE(asciiNames.insert(column.asciiName).second) << column.asciiName;
      EXPECT_TRUE(isIdentifier(column.asciiName)) << column.asciiName;
    }

    const std::vector<std::uint8_t> image = makeSampleDay(sample);
    StringSink sink;
    {
      CsvSheet sheet(sink);
      table.writeHeader(false, sheet);
      table.writeRows(image, sample.fileName, sheet);
      table.writeRows(image, "copy", sheet);
    }
    const std::vector<std::string_view> rows = linesOf(sink.text);
    const std::size_t records = sample.format.recordCount;
    ASSERT_EQ(rows.size(), 1 + 2 * records);
    std::vector<std::string> header = cellsOf(rows[0]);
    EXPECT_EQ(std::set<std::string>(header.begin(), header.end()), names);
    EXPECT_EQ(cellsOf(rows[1 + records]).at(0), "copy");
    if (table.hasTime()) {
      EXPECT_EQ(cellsOf(rows[1]).at(2), c.firstTime);
      EXPECT_EQ(cellsOf(rows[records]).at(2), c.lastTime);
    }

    const auto rule = selectConversionRule(parseObservationFileName(sample.fileName, "/"));
    ASSERT_TRUE(rule);
    const std::string sheet = testing::sheetOf(*rule->converter, image, sample.fileName);
    const std::vector<std::string_view> sheetRows = linesOf(sheet);
    const std::size_t stationCells = sample.format.stationBlock.size();
    std::vector<std::string> station;
    for (std::size_t r = 0; r < records; ++r) {
      std::vector<std::string> expected = cellsOf(sheetRows.at(4 + r));
      expected.pop_back();  // after the sheet's trailing comma
      if (r == 0) station.assign(expected.begin(), expected.begin() + stationCells);
      std::copy(station.begin(), station.end(), expected.begin());
      std::vector<std::string> cells = cellsOf(rows[1 + r]);
      ASSERT_EQ(cells.at(0), sample.fileName);
      ASSERT_EQ(cells.at(1), std::to_string(r));
      cells.erase(cells.begin(), cells.begin() + static_cast<std::ptrdiff_t>(leading));
      ASSERT_EQ(cells, expected) << "record " << r;
    }
  }
}

// Repeated groups and labels are numbered, note marks dropped, units kept;
// a file name that needs quoting is quoted.
TEST(DataTableTest, NamesAndQuoting) {
  const DataTable sfc(sampleFiles()[2].format, /*raw=*/true);
  const auto nameAt = [&](std::string_view ascii) {
    for (const TableColumn& column : sfc.columns()) {
      if (column.asciiName == ascii) return column.name;
    }
    return std::string();
  };
  EXPECT_EQ(nameAt("g01_05"), "地点情報/緯度[度+0.1分]");
  EXPECT_EQ(nameAt("g01_17"), "地点情報/予備_2");
  EXPECT_EQ(nameAt("g03_04"), "風/前10秒間最大瞬間風速[0.1m/s]");
  EXPECT_EQ(nameAt("g03_10"), "風/前10秒間積算風向ベクトルX成分");
  EXPECT_EQ(nameAt("g11_01"), "風_2/障害状況識別符");
  EXPECT_EQ(DataTable(sampleFiles()[3].format).columns().at(2 + 32).name, "日射/列33");
  EXPECT_EQ(DataTable(sampleFiles()[2].format).columns().at(3 + 4).name, "地点情報/緯度[度]");

  std::string field;
  appendCsvField("a,\"b\"", field);
  EXPECT_EQ(field, "\"a,\"\"b\"\"\"");
}

// Writes `value` into `image` as `field` stores it in the record at `base`.
void store(const Field& field, std::int32_t value, std::uint8_t* base) {
  for (std::size_t i = 0; i < fieldWidth(field.type); ++i) {
    base[field.offset + i] = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> 8 * i);
  }
}

// The cells of record `index` under the header, from a table of `image`.
std::vector<std::string> rowOf(const DataTable& table, std::span<const std::uint8_t> image,
                               std::size_t index) {
  StringSink sink;
  {
    CsvSheet sheet(sink);
    table.writeRows(image, "f", sheet);
  }
  return cellsOf(linesOf(sink.text).at(index));
}

// Each quantity decoded as its format's notes and unit cells say, checked
// against the notes' own examples; the columns the format leaves unclear
// keep the stored integer and carry no unit.
TEST(DataTableTest, DecodesWhatTheNotesAndUnitsSay) {
  enum Sample { kAmd1Min, kAmd10Sec, kSfc10Sec, kSfc10Sec2008, kSfc1Min };
  const struct {
    Sample sample;
    std::size_t sheetColumn;
    std::int32_t stored;
    std::string_view cell;
    std::string_view name;
  } cases[] = {
      // 42 degrees 51.7 minutes.
      {kAmd1Min, 5, 42517, "42.861666666666665", "地点情報/緯度[度]"},
      {kSfc10Sec2008, 6, 42517, "42.861666666666665", "地点情報/経度[度]"},
      // 2.1 m plus 2000 m, times 10.
      {kAmd1Min, 7, 20021, "2.1", "地点情報/標高[m]"},
      {kAmd10Sec, 7, 20021, "2.1", "地点情報/標高[m]"},
      {kSfc1Min, 13, 20021, "2.1", "地点情報/気圧計の高さ[m]"},
      {kSfc10Sec2008, 7, 20021, "2.1", "地点情報/標高[m]"},
      // 34.810 times 1000 plus 50000.
      {kSfc10Sec, 37, 84810, "34.81", "風/前10秒間積算風向ベクトルX成分"},
      {kSfc10Sec, 72, 15190, "-34.81", "風_2/前１０秒間積算風向ベクトルY成分"},
      {kSfc10Sec2008, 17, 84810, "34.81", "風/10秒間積算風向ベクトルX成分[m/s]"},
      // 4.4 and -10 degrees plus 50, times 10.
      {kAmd10Sec, 40, 544, "4.4", "気温/気温データ[℃]"},
      {kSfc10Sec, 40, 400, "-10", "気温/気温データ[℃]"},
      {kSfc10Sec2008, 37, 544, "4.4", "気温/気温[℃]"},
      // Scaled unit cells.
      {kSfc1Min, 69, 123, "12.3", "気温/気温[℃]"},
      {kAmd1Min, 25, 5, "0.5", "雨/前１分間降水量[mm]"},
      {kSfc1Min, 84, 12345, "123.45", "日射量/直達日射量[KJ/m^2]"},
      {kSfc1Min, 119, 20000, "20", "視程/視程[km]"},
      {kSfc10Sec2008, 13, 95, "9.5", "風/10秒間の最大瞬間風速[m/s]"},
      // Integers in their own unit stay integers.
      {kSfc10Sec, 29, 359, "359", "風/前10秒間CW風向の最大値[度]"},
      {kSfc1Min, 80, 60, "60", "日照/日照時間[s]"},
      {kSfc1Min, 26, -1, "-1", "雨/利用フラグ"},
      // A mark without a note, a note without a scale, a unit cell that the
      // quantity contradicts.
      {kSfc1Min, 50, 15, "15", "風/最大瞬間風速（３秒間移動平均）時の風向（16方位）"},
      {kSfc1Min, 51, 35, "35", "風/最大瞬間風速（３秒間移動平均）時の風向（36方位）"},
      {kSfc1Min, 95, 9798, "9798", "気圧/重力加速度"},
      {kAmd1Min, 35, 270, "270", "風/CW風向の最大値"},
      {kSfc10Sec2008, 19, 192, "192", "風/CW風向の最大値(0.25秒値処理)"},
      {kSfc10Sec2008, 20, 192, "192", "風/CCW風向の最大値(0.25秒値処理)"},
      {kSfc10Sec2008, 21, 95, "95", "風/10秒間の最大瞬間風速(0.25秒値処理)"},
  };
  for (const auto& c : cases) {
    const RecordFormat& format = sampleFiles()[c.sample].format;
    SCOPED_TRACE(std::string(sampleFiles()[c.sample].fileName) + " column " +
                 std::to_string(c.sheetColumn));
    const DataTable table(format);
    const auto column =
        std::ranges::find(table.columns(), c.sheetColumn, &TableColumn::sheetColumn);
    ASSERT_NE(column, table.columns().end());
    EXPECT_EQ(column->name, c.name);
    std::vector<std::uint8_t> image(layoutSize(format));
    const bool station = column->fromStationBlock;
    store(*column->field, c.stored,
          image.data() + (station ? 0 : format.firstRecordOffset + format.recordSize));
    const std::size_t cell = static_cast<std::size_t>(column - table.columns().begin());
    EXPECT_EQ(rowOf(table, image, 1).at(cell), c.cell);
  }
}

// The decimal text of a quotient by 10, 100 or 1000 is the shortest text of
// the nearest double, as std::to_chars writes it.
TEST(DataTableTest, DecimalCellsAreTheShortestTextOfTheDouble) {
  std::vector<std::int32_t> values = {INT32_MIN, INT32_MIN + 1, INT32_MAX, -1, 0, 1};
  for (std::int32_t v = -300'000; v <= 300'000; v += 7) values.push_back(v);
  for (std::int32_t v = 1; v < INT32_MAX / 3; v *= 3) values.insert(values.end(), {v, -v, v + 5});
  for (const std::int32_t scale : {10, 100, 1000}) {
    for (const std::int32_t offset : {0, 500, 20000, 50000}) {
      const Decoding decoding = fromNote("", offset, scale, "");
      for (const std::int32_t stored : values) {
        char fast[kMaxNumberCellLength], oracle[kMaxNumberCellLength];
        const char* end = appendDecodedCell(decoding, stored, fast);
        const char* oracleEnd = appendNumberCell(decodedValue(decoding, stored), oracle);
        ASSERT_EQ(std::string_view(fast, end), std::string_view(oracle, oracleEnd))
            << stored << " " << offset << " " << scale;
      }
    }
  }
}

// The 2008 sfc layout's first row leaves empty the fields that read the
// station block's bytes (columns 11 to 14), not the ones after them; a time
// stamp of zeros is empty. The raw table keeps both as the sheet has them.
TEST(DataTableTest, StationBytesAndZeroTimesAreMissing) {
  const RecordFormat& format2008 = sampleFiles()[3].format;
  const std::vector<std::uint8_t> image = makeSampleDay(sampleFiles()[3]);
  const std::vector<std::string> first = rowOf(DataTable(format2008), image, 0);
  const std::vector<std::string> second = rowOf(DataTable(format2008), image, 1);
  const std::vector<std::string> raw = rowOf(DataTable(format2008, true), image, 0);
  for (std::size_t column = 11; column <= 15; ++column) {
    const std::size_t cell = 2 + column - 1;
    EXPECT_EQ(first.at(cell).empty(), column <= 14) << column;
    EXPECT_FALSE(second.at(cell).empty()) << column;
    EXPECT_FALSE(raw.at(cell).empty()) << column;
  }

  const RecordFormat& amd = sampleFiles()[0].format;
  const std::vector<std::uint8_t> zeros(layoutSize(amd));
  for (const bool raw : {false, true}) {
    const DataTable table(amd, raw);
    EXPECT_TRUE(table.columns().at(2).mayBeMissing);
    EXPECT_EQ(rowOf(table, zeros, 0).at(2), "") << raw;
  }
}

}  // namespace
}  // namespace fenmarq
