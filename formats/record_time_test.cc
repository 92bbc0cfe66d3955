#include "formats/record_time.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>

namespace fenmarq {
namespace {

constexpr TimeStamp kNone{-1};  // the expectation of a stamp that names no time

const struct {
  TimeStamp stamp;
  TimeStamp time;  // kNone where there is none
} kStamps[] = {
    {{2016, 4, 12, 9, 5, 30}, {2016, 4, 12, 9, 5, 30}},
    {{1, 1, 1, 0, 0, 0}, {1, 1, 1, 0, 0, 0}},
    {{9999, 12, 31, 23, 59, 59}, {9999, 12, 31, 23, 59, 59}},
    {{2016, 2, 29, 0, 0, 0}, {2016, 2, 29, 0, 0, 0}},
    {{2000, 2, 29, 0, 0, 0}, {2000, 2, 29, 0, 0, 0}},
    {{2015, 2, 29, 0, 0, 0}, kNone},
    {{1900, 2, 29, 0, 0, 0}, kNone},
    {{2016, 4, 31, 0, 0, 0}, kNone},
    {{2016, 4, 0, 0, 0, 0}, kNone},
    {{2016, 0, 12, 0, 0, 0}, kNone},
    {{2016, 13, 12, 0, 0, 0}, kNone},
    {{0, 4, 12, 0, 0, 0}, kNone},
    {{10000, 1, 1, 0, 0, 0}, kNone},
    // The end of a day is the next day's start, across months and years.
    {{2016, 4, 12, 24, 0, 0}, {2016, 4, 13, 0, 0, 0}},
    {{2016, 2, 28, 24, 0, 0}, {2016, 2, 29, 0, 0, 0}},
    {{2016, 12, 31, 24, 0, 0}, {2017, 1, 1, 0, 0, 0}},
    {{9999, 12, 31, 24, 0, 0}, kNone},
    {{2016, 4, 12, 24, 5, 0}, kNone},
    {{2016, 4, 12, 25, 0, 0}, kNone},
    {{2016, 4, 12, 0, 60, 0}, kNone},
    {{2016, 4, 12, 0, 0, 60}, kNone},
    {{}, kNone},  // zeros: no observation
    {{65535, 65535, 65535, 65535, 65535, 65535}, kNone},
};

TEST(RecordTimeTest, NamesTheCalendarTimeOfEveryValidStamp) {
  for (const auto& [stamp, expected] : kStamps) {
    const std::optional<TimeStamp> time = calendarTime(stamp);
    SCOPED_TRACE(::testing::Message() << stamp.year << "-" << stamp.month << "-" << stamp.day << " "
                                      << stamp.hour << ":" << stamp.minute << ":" << stamp.second);
    ASSERT_EQ(time.has_value(), expected.year != kNone.year);
    if (!time) continue;
    EXPECT_EQ(
        (std::array{time->year, time->month, time->day, time->hour, time->minute, time->second}),
        (std::array{expected.year, expected.month, expected.day, expected.hour, expected.minute,
                    expected.second}));
  }
}

TEST(RecordTimeTest, InstantsAreJapanStandardTime) {
  const struct {
    TimeStamp time;
    std::int64_t utcSeconds;
  } kInstants[] = {
      {{2016, 4, 12, 9, 0, 0}, 1'460'419'200},
      {{1970, 1, 1, 9, 0, 0}, 0},
      {{1, 1, 1, 0, 0, 0}, -62'135'596'800 - 9 * 3'600},
      {{9999, 12, 31, 23, 59, 59}, 253'402'300'799 - 9 * 3'600},
  };
  for (const auto& [time, seconds] : kInstants) EXPECT_EQ(utcSeconds(time), seconds);
}

}  // namespace
}  // namespace fenmarq
