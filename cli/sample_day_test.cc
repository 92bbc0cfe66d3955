#include "cli/sample_day.h"

#include <gtest/gtest.h>

#include <string>

#include "convert/conversion_rule.h"
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

}  // namespace
}  // namespace fenmarq
