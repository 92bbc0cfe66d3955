#include "cli/sample_day.h"

#include <gtest/gtest.h>

#include <string>

#include "convert/conversion_rule.h"
#include "formats/amd_10sec.h"
#include "formats/amd_1min.h"
#include "formats/csv_sheet.h"
#include "formats/format_converter.h"
#include "formats/sfc_10sec.h"
#include "formats/sfc_10sec_2008.h"
#include "formats/sfc_1min.h"

namespace fenmarq {
namespace {

struct SampleCase {
  std::string_view fileName;
  const RecordFormat* format;
  std::size_t size;
  int rule;
  int secondsPerRecord;
  // 1-based columns of year, month, day, hour, minute and second in the
  // first data row; 0 where the format has no such column.
  int columns[6];
};

const SampleCase kSamples[] = {
    {"amd_1min_20160412.62078", &kAmd1MinFormat, 246'240, 1, 60, {18, 19, 20, 21, 22, 0}},
    {"amd_10sec_20160412.62078", &kAmd10SecFormat, 1'252'800, 2, 10, {18, 19, 20, 21, 22, 23}},
    {"sfc_10sec_20160412.47662", &kSfc10SecFormat, 2'263'680, 3, 10, {18, 19, 20, 21, 22, 23}},
    {"sfc_10sec_20120601.47662", &kSfc10Sec2008Format, 1'537'946, 4, 10, {8, 9, 10, 0, 0, 0}},
    {"sfc_1min_20160412.47662", &kSfc1MinFormat, 367'200, 5, 60, {18, 19, 20, 21, 22, 0}},
};

class StringSink final : public ByteSink {
 public:
  void write(std::string_view bytes) override { text.append(bytes); }
  std::string text;
};

// The data rows of a sheet, each cut into its cells.
std::vector<std::vector<std::string>> dataRows(const std::string& sheet, std::size_t count) {
  std::vector<std::vector<std::string>> rows;
  std::size_t at = 0;
  for (int header = 0; header < 4; ++header) at = sheet.find('\n', at) + 1;
  for (std::size_t r = 0; r < count; ++r) {
    const std::size_t end = sheet.find('\n', at);
    std::vector<std::string>& row = rows.emplace_back();
    for (std::size_t comma; (comma = sheet.find(',', at)) < end; at = comma + 1) {
      row.push_back(sheet.substr(at, comma - at));
    }
    at = end + 1;
  }
  return rows;
}

TEST(SampleDayTest, SamplesAreOnePerFormatAndSelectTheirRule) {
  ASSERT_EQ(sampleFiles().size(), std::size(kSamples));
  for (std::size_t i = 0; i < std::size(kSamples); ++i) {
    const SampleCase& c = kSamples[i];
    const SampleFile& sample = sampleFiles()[i];
    EXPECT_EQ(sample.fileName, c.fileName);
    EXPECT_EQ(&sample.format, c.format);
    const auto rule = selectConversionRule(parseObservationFileName(c.fileName, '/'));
    ASSERT_TRUE(rule) << c.fileName;
    EXPECT_EQ(rule->order, c.rule);
    EXPECT_EQ(&rule->converter->format(), c.format);
  }
}

TEST(SampleDayTest, SheetsCarryTheDateAndConsecutiveTimes) {
  for (std::size_t i = 0; i < std::size(kSamples); ++i) {
    const SampleCase& c = kSamples[i];
    const std::vector<std::uint8_t> bytes = makeSampleDay(sampleFiles()[i]);
    EXPECT_EQ(bytes.size(), c.size) << c.fileName;
    StringSink sink;
    {
      CsvSheet sheet(sink);
      FormatConverter(*c.format).writeSheet(bytes, c.fileName, sheet);
    }
    const auto rows = dataRows(sink.text, c.format->recordCount);
    const std::string date(c.fileName.substr(c.fileName.rfind('_') + 1, 8));
    for (std::size_t r = 0; r < rows.size(); ++r) {
      const int t = static_cast<int>(r) * c.secondsPerRecord;
      const std::string expected[6] = {std::to_string(std::stoi(date.substr(0, 4))),
                                       std::to_string(std::stoi(date.substr(4, 2))),
                                       std::to_string(std::stoi(date.substr(6, 2))),
                                       std::to_string(t / 3600),
                                       std::to_string(t / 60 % 60),
                                       std::to_string(t % 60)};
      for (int k = 0; k < 6; ++k) {
        if (c.columns[k] == 0 || (r > 0 && c.format->stationBlock.size() > 0)) continue;
        ASSERT_EQ(rows[r].at(c.columns[k] - 1), expected[k]) << c.fileName << " row " << r;
      }
    }
  }
}

}  // namespace
}  // namespace fenmarq
