#include "convert/conversion_rule.h"

#include <gtest/gtest.h>

#include "formats/amd_10sec.h"
#include "formats/amd_1min.h"
#include "formats/format_converter.h"
#include "formats/sfc_10sec.h"
#include "formats/sfc_10sec_2008.h"
#include "formats/sfc_1min.h"

namespace fenmarq {
namespace {

struct RuleCase {
  std::string_view fileName;
  int order;  // 0: no rule
};

const RuleCase kRuleCases[] = {
    {"amd_1min_20160412.62078", 1},
    {"amd_1min_20081118.62078", 1},
    {"amd_1min_20081117.62078", 0},
    {"amd_10sec_20150303.62078", 2},
    {"amd_10sec_20150302.62078", 0},
    {"sfc_10sec_20150303.47662", 3},
    {"sfc_10sec_20150302.47662", 4},
    {"sfc_10sec_20080725.47662", 4},
    {"sfc_10sec_20080724.47662", 0},
    {"sfc_1min_20080625.47662", 5},
    {"sfc_1min_20080624.47662", 0},
    {"amd_1min20160412.62078", 0},
    {"AMD_1min_20160412.62078", 0},
    {"sfc_5min_20160412.47662", 0},
    {"readme.txt", 0},
    // Dates are compared as text, not as numbers or calendar dates.
    {"amd_1min_2016.62078", 1},
    {"amd_1min_20160412", 1},
    {"amd_1min_2009", 1},
    {"amd_1min_2008", 0},
    {"sfc_10sec_2015030", 4},
    // Bytes above 0x7F sort after the digits.
    {"amd_1min_２０１６０４１２.62078", 1},
    {"sfc_10sec_20159999.47662", 3},
};

// The format and the end-of-item text of each row. Full-width parentheses
// (U+FF08, U+FF09) in rows 1 and 5, ASCII ones in rows 3 and 4, a full-width
// tilde (U+FF5E) in row 4.
const struct {
  const RecordFormat* format;
  std::string_view endOfItemText;
} kRows[] = {
    {&kAmd1MinFormat,
     "amd 1min \xEF\xBC\x88"
     "2008 年 11 月 18 日以降\xEF\xBC\x89ファイル変換 終了。\n"},
    {&kAmd10SecFormat, "amd 10sec ファイル変換 終了。\n"},
    {&kSfc10SecFormat, "sfc 10sec (2015 年 3 月 3 日以降) ファイル変換 終了。\n"},
    {&kSfc10Sec2008Format,
     "sfc 10sec (2008 年 7 月 25 日\xEF\xBD\x9E"
     "2015 年 3 月 2 日) ファイル変換 終了。\n"},
    {&kSfc1MinFormat,
     "sfc 1min \xEF\xBC\x88"
     "2008 年 6 月 25 日以降\xEF\xBC\x89 ファイル変換 終了。\n"},
};

void PrintTo(const RuleCase& c, std::ostream* out) { *out << c.fileName; }

class ConversionRuleTest : public ::testing::TestWithParam<RuleCase> {};

TEST_P(ConversionRuleTest, SelectsFirstMatchingRow) {
  const RuleCase& c = GetParam();
  const auto rule = selectConversionRule(parseObservationFileName(c.fileName, "/"));
  ASSERT_EQ(rule ? rule->order : 0, c.order) << c.fileName;
  if (!rule) return;
  EXPECT_EQ(&rule->converter->format(), kRows[c.order - 1].format);
  EXPECT_EQ(rule->endOfItemText, kRows[c.order - 1].endOfItemText);
}

INSTANTIATE_TEST_SUITE_P(Dates, ConversionRuleTest, ::testing::ValuesIn(kRuleCases));

TEST(ConversionRuleTest, EmptyIntervalMatchesNoRow) {
  EXPECT_FALSE(
      selectConversionRule({"amd__20160412.1", "amd", "", "2016", "0412", "1", "20160412"}));
  EXPECT_FALSE(selectConversionRule({"x", "sfc", "", "", "", "", ""}));
}

}  // namespace
}  // namespace fenmarq
