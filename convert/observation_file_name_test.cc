#include "convert/observation_file_name.h"

#include <gtest/gtest.h>

namespace fenmarq {
namespace {

struct NameCase {
  std::string_view path;
  std::string_view separators;
  std::string_view fields;  // fileName|kind|interval|year|monthDay|station
};

const NameCase kNameCases[] = {
    {"/obs/amd_1min_20160412.62078", "/", "amd_1min_20160412.62078|amd|1min|2016|0412|62078"},
    {"C:\\obs\\sfc_10sec_20120601.44132", "\\",
     "sfc_10sec_20120601.44132|sfc|10sec|2012|0601|44132"},
    {"amd_1min_20160412.62078", "/", "amd_1min_20160412.62078|amd|1min|2016|0412|62078"},
    // Only the given separators cut the path; any other is an ordinary byte.
    // Names that are not amd or sfc keep their file name and nothing else.
    {"C:/obs/amd_1min_20160412.62078", "\\", "C:/obs/amd_1min_20160412.62078|||||"},
    {"obs\\amd_1min_20160412.62078", "/", "obs\\amd_1min_20160412.62078|||||"},
    // On Windows either separator cuts, whichever comes last.
    {"C:\\obs/観測\\amd_1min_20160412.62078", "\\/",
     "amd_1min_20160412.62078|amd|1min|2016|0412|62078"},
    {"C:\\obs\\観測/sfc_1min_20080625.47662", "\\/",
     "sfc_1min_20080625.47662|sfc|1min|2008|0625|47662"},
    {"/obs/AMD_1min_20160412.62078", "/", "AMD_1min_20160412.62078|||||"},
    {"/obs/amd1min_20160412.62078", "/", "amd1min_20160412.62078|||||"},
    {"/obs/readme.txt", "/", "readme.txt|||||"},
    {"/obs/", "/", "|||||"},
    {"", "/", "|||||"},
    // Irregular names are cut by byte counts whatever they hold.
    {"amd_1min20160412.62078", "/", "amd_1min20160412.62078|amd||1min|2016|412.6"},
    {"amd_1min_2016.62078", "/", "amd_1min_2016.62078|amd|1min|2016|.620|8"},
    {"amd_1min_20160412", "/", "amd_1min_20160412|amd|1min|2016|0412|"},
    {"amd_1min_20160412.", "/", "amd_1min_20160412.|amd|1min|2016|0412|"},
    {"sfc_1min_20160412.6", "/", "sfc_1min_20160412.6|sfc|1min|2016|0412|6"},
    {"amd_1min_20160412.62078.bak", "/", "amd_1min_20160412.62078.bak|amd|1min|2016|0412|62078"},
    {"sfc_", "/", "sfc_|sfc||||"},
    {"amd__201", "/", "amd__201|amd||201||"},
    {"amd_1", "/", "amd_1|amd||1||"},
    // Multi-byte text: folder names with "_" and "ソ" end nowhere but at the
    // separator, and a multi-byte interval is kept whole.
    {"/観測_ソ表/amd_1min_20160412.62078", "/", "amd_1min_20160412.62078|amd|1min|2016|0412|62078"},
    {"C:\\観測ソ\\sfc_1min_20080625.47662", "\\",
     "sfc_1min_20080625.47662|sfc|1min|2008|0625|47662"},
    {"/obs/amd_分_20160412.62078", "/", "amd_分_20160412.62078|amd|分|2016|0412|62078"},
};

// Test names come from this text, where a backslash would be taken for an
// escape: it is shown as %5C.
void PrintTo(const NameCase& c, std::ostream* out) {
  const auto print = [&](std::string_view text) {
    for (char ch : text) *out << (ch == '\\' ? std::string_view("%5C") : std::string_view(&ch, 1));
  };
  print(c.path);
  *out << " cut at ";
  print(c.separators);
}

class ObservationFileNameTest : public ::testing::TestWithParam<NameCase> {};

// Every field as the case spells it, and the date: the year followed by the
// month and day.
TEST_P(ObservationFileNameTest, CutsFields) {
  const NameCase& c = GetParam();
  const ObservationFileName name = parseObservationFileName(c.path, c.separators);
  EXPECT_EQ(name.fileName + "|" + name.kind + "|" + name.interval + "|" + name.year + "|" +
                name.monthDay + "|" + name.station,
            c.fields);
  EXPECT_EQ(name.date, name.year + name.monthDay);
}

INSTANTIATE_TEST_SUITE_P(Names, ObservationFileNameTest, ::testing::ValuesIn(kNameCases));

}  // namespace
}  // namespace fenmarq
