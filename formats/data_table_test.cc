#include "formats/data_table.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cli/sample_day.h"
#include "convert/conversion_rule.h"
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
    {"2016-04-12T00:00:00", "2016-04-12T23:59:00"}, {"2016-04-12T00:00:00", "2016-04-12T23:59:50"},
    {"2016-04-12T00:00:00", "2016-04-12T23:59:50"}, {"", ""},
    {"2016-04-12T00:00:00", "2016-04-12T23:59:00"},
};

// Two day files in one table: unique names, one row per record of each, the
// time of the first and last record, and for every record the values of the
// sheet's data row (station-block values repeated on every row).
TEST(DataTableTest, RowsHoldTheSheetsValuesUnderUniqueNames) {
  ASSERT_EQ(sampleFiles().size(), std::size(kCases));
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    const SampleFile& sample = sampleFiles()[i];
    SCOPED_TRACE(sample.fileName);
    const TableCase& c = kCases[i];
    const DataTable table(sample.format);
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
  const DataTable sfc(sampleFiles()[2].format);
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

  std::string field;
  appendCsvField("a,\"b\"", field);
  EXPECT_EQ(field, "\"a,\"\"b\"\"\"");
}

}  // namespace
}  // namespace fenmarq
