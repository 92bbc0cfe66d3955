#include "cli/sample_day.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>
#include <string>
#include <string_view>

#include "convert/conversion_rule.h"
#include "formats/data_table.h"
#include "formats/decoding.h"
#include "tests/support/sheet_of.h"

namespace fenmarq {
namespace {

struct SampleCase {
  std::size_t size;
  int secondsPerRecord;
  // 1-based columns of year, month, day, hour, minute and second in the
  // first data row; 0 where the format has no such column.
  int columns[6];
};

// In the order of the conversion rules, one sample for each.
const SampleCase kSamples[] = {
    {246'240, 60, {18, 19, 20, 21, 22, 0}},    {1'252'800, 10, {18, 19, 20, 21, 22, 23}},
    {2'263'680, 10, {18, 19, 20, 21, 22, 23}}, {1'537'946, 10, {8, 9, 10, 0, 0, 0}},
    {367'200, 60, {18, 19, 20, 21, 22, 0}},
};

// Each sample selects its own rule, and its sheet carries the date of its
// name and consecutive times from midnight.
TEST(SampleDayTest, SamplesSelectTheirRuleAndCarryTheDateAndConsecutiveTimes) {
  ASSERT_EQ(sampleFiles().size(), std::size(kSamples));
  for (std::size_t i = 0; i < std::size(kSamples); ++i) {
    const SampleCase& c = kSamples[i];
    const SampleFile& sample = sampleFiles()[i];
    SCOPED_TRACE(sample.fileName);
    const auto rule = selectConversionRule(parseObservationFileName(sample.fileName, "/"));
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->order, static_cast<int>(i + 1));
    EXPECT_EQ(&rule->converter->format(), &sample.format);
    const std::vector<std::uint8_t> bytes = makeSampleDay(sample);
    EXPECT_EQ(bytes.size(), c.size);

    const std::string sheet = testing::sheetOf(*rule->converter, bytes, sample.fileName);
    const std::string date(sample.fileName.substr(sample.fileName.rfind('_') + 1, 8));
    std::size_t at = 0;
    for (int header = 0; header < 4; ++header) at = sheet.find('\n', at) + 1;
    for (std::size_t r = 0; r < sample.format.recordCount; ++r, at = sheet.find('\n', at) + 1) {
      // Formats with a station block have their times in the first row only.
      if (r > 0 && !sample.format.stationBlock.empty()) break;
      std::vector<std::string> cells;
      for (std::size_t comma; (comma = sheet.find(',', at)) < sheet.find('\n', at);
           at = comma + 1) {
        cells.push_back(sheet.substr(at, comma - at));
      }
      const int t = static_cast<int>(r) * c.secondsPerRecord;
      const int expected[6] = {std::stoi(date.substr(0, 4)),
                               std::stoi(date.substr(4, 2)),
                               std::stoi(date.substr(6, 2)),
                               t / 3600,
                               t / 60 % 60,
                               t % 60};
      for (int k = 0; k < 6; ++k) {
        if (c.columns[k] == 0) continue;
        ASSERT_EQ(cells.at(c.columns[k] - 1), std::to_string(expected[k])) << "row " << r;
      }
    }
  }
}

// The bounds of a spring day in Tokyo that every record of a sample keeps in
// the table's column of that name: the value the field's decoding gives, or
// the stored integer in the unit of its unit cell where it has none.
struct Bounds {
  std::size_t sample;  // in the order of sampleFiles()
  std::string_view column;
  double low, high;
};

// Radiation is at most 1.2 kJ/m^2 a second: 12 in ten seconds, 72 in a minute.
constexpr Bounds kPlausible[] = {
    {0, "気温/気温[℃]", 5, 25},
    {0, "気温/最高気温（前1分間）[℃]", 5, 25},
    {0, "風/最大瞬間風速（３秒間移動平均）[m/s]", 0, 15},
    {0, "風/平均風速（10分移動平均）[m/s]", 0, 15},
    {1, "気温/気温データ[℃]", 5, 25},
    {1, "風/前10秒間最大瞬間風速[m/s]", 0, 15},
    {2, "気温/気温データ[℃]", 5, 25},
    {2, "風/前10秒間最大瞬間風速[m/s]", 0, 15},
    {2, "風_2/前１０秒間最大瞬間風速[m/s]", 0, 15},
    {2, "日射量/全天候日射量１[KJ/㎡]", 0, 12},
    {2, "気圧/気圧データ[hPa]", 1000, 1020},
    {2, "湿度/湿度データ[%]", 30, 95},
    {2, "視程/前１分間平均視程[Km]", 10, 30},
    {2, "視程/前10分間平均視程[Km]", 10, 30},
    {3, "気温/気温[℃]", 5, 25},
    {3, "風/10秒間の最大瞬間風速[m/s]", 0, 15},
    {3, "風/10秒間の最大瞬間風速(0.25秒値処理)", 0, 15},
    {3, "日射/機械温度１[℃]", 0, 50},
    {3, "日射/機械温度２[℃]", 0, 50},
    {3, "日射/前10秒間直達日射量[KJ/㎡]", 0, 12},
    {3, "日射/前10秒間全天日射量[KJ/㎡]", 0, 12},
    {3, "気圧/現地気圧[hPa]", 1000, 1020},
    {3, "湿度/湿度[%]", 30, 95},
    {3, "視程/視程(10分平均)[Km]", 10, 30},
    {4, "気温/気温[℃]", 5, 25},
    {4, "気温/最低気温（前１分間）[℃]", 5, 25},
    {4, "風/平均風速（10分間移動平均[m/s]", 0, 15},
    {4, "日射量/全天日射量[KJ/m^2]", 0, 72},
    {4, "気圧/現地気圧[hPa]", 1000, 1020},
    {4, "湿度/相対湿度[%]", 30, 95},
    {4, "湿度/露点温度[℃]", 0, 25},
    {4, "視程/視程[km]", 10, 30},
};

TEST(SampleDayTest, SamplesDecodeToASpringDayUnderTheirOwnUnits) {
  std::vector<std::uint8_t> image;
  for (std::size_t i = 0; i < std::size(kPlausible); ++i) {
    const Bounds& b = kPlausible[i];
    const SampleFile& sample = sampleFiles()[b.sample];
    if (i == 0 || kPlausible[i - 1].sample != b.sample) image = makeSampleDay(sample);
    SCOPED_TRACE(std::string(sample.fileName) + " " + std::string(b.column));
    const DataTable table(sample.format);
    const auto column = std::find_if(table.columns().begin(), table.columns().end(),
                                     [&](const TableColumn& c) { return c.name == b.column; });
    ASSERT_NE(column, table.columns().end());
    const Field& field = *column->field;
    double low = b.high, high = b.low;
    for (std::size_t r = 0; r < sample.format.recordCount; ++r) {
      if (table.isMissing(field, r)) continue;
      const std::int32_t stored = readField(
          field, image.data() + sample.format.firstRecordOffset + r * sample.format.recordSize);
      const double value =
          isDecoded(field.decoding) ? decodedValue(field.decoding, stored) : stored;
      low = std::min(low, value);
      high = std::max(high, value);
    }
    EXPECT_GE(low, b.low);
    EXPECT_LE(high, b.high);
  }
}

// A sample of another date carries that date, and is written only where the
// conversion rules give its kind and interval the sample's format on it.
TEST(SampleDayTest, DatesAreCalendarDaysThatTheFormatsCover) {
  const struct {
    std::string_view date;
    bool calendarDate;
    bool covers[5];  // in the order of sampleFiles()
  } cases[] = {
      {"20160412", true, {true, true, true, false, true}},
      {"20150303", true, {true, true, true, false, true}},
      {"20150302", true, {true, false, false, true, true}},
      {"20120601", true, {true, false, false, true, true}},
      {"20081117", true, {false, false, false, true, true}},
      {"20080725", true, {false, false, false, true, true}},
      {"20080724", true, {false, false, false, false, true}},
      {"20080624", true, {false, false, false, false, false}},
      {"20160229", true, {true, true, true, false, true}},
      {"20150229", false, {}},
      {"20161301", false, {}},
      {"20160400", false, {}},
      {"2016041", false, {}},
      {"2016-4-1", false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.date);
    ASSERT_EQ(isCalendarDate(c.date), c.calendarDate);
    if (!c.calendarDate) continue;
    for (std::size_t i = 0; i < sampleFiles().size(); ++i) {
      const SampleFile& sample = sampleFiles()[i];
      EXPECT_EQ(sampleCoversDate(sample, c.date), c.covers[i]) << sample.fileName;
      if (!c.covers[i]) continue;
      const std::string name = sampleFileName(sample, c.date);
      EXPECT_EQ(name.substr(name.size() - 14, 8), c.date);
      const std::vector<std::uint8_t> image = makeSampleDay(sample, name);
      const RecordFormat& format = sample.format;
      // The date fields: the station block's, or the first record's.
      const std::span<const Field> fields =
          format.stationBlock.empty() ? format.fields : format.stationBlock;
      const std::uint8_t* base =
          image.data() + (format.stationBlock.empty() ? format.firstRecordOffset : 0);
      int stamp = 0;
      for (const std::string_view part : {"年", "月", "日"}) {
        const auto field = std::find_if(fields.begin(), fields.end(),
                                        [&](const Field& f) { return f.label == part; });
        ASSERT_NE(field, fields.end());
        stamp = stamp * 100 + readField(*field, base);
      }
      EXPECT_EQ(std::to_string(stamp), c.date) << sample.fileName;
    }
  }
}

}  // namespace
}  // namespace fenmarq
