#include "formats/record_time.h"

namespace fenmarq {
namespace {

constexpr bool isLeapYear(int year) {
  return year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
}

constexpr int daysInMonth(int year, int month) {
  constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && isLeapYear(year) ? 29 : kDays[month - 1];
}

// Days from 1970-01-01 to the proleptic Gregorian date, counted in 400-year
// eras from March on, so that the leap day ends a year.
constexpr std::int64_t daysFromCivil(int year, int month, int day) {
  const int y = month <= 2 ? year - 1 : year;
  const int era = (y >= 0 ? y : y - 399) / 400;
  const int yearOfEra = y - era * 400;
  const int dayOfYear = (153 * (month > 2 ? month - 3 : month + 9) + 2) / 5 + day - 1;
  const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return std::int64_t{era} * 146'097 + dayOfEra - 719'468;
}

static_assert(daysFromCivil(1970, 1, 1) == 0);
static_assert(daysFromCivil(2000, 3, 1) == 11'017);

}  // namespace

std::optional<TimeStamp> calendarTime(const TimeStamp& stamp) {
  TimeStamp time = stamp;
  if (time.year < 1 || time.year > 9999 || time.month < 1 || time.month > 12 || time.day < 1 ||
      time.day > daysInMonth(time.year, time.month) || time.minute < 0 || time.minute > 59 ||
      time.second < 0 || time.second > 59 || time.hour < 0 || time.hour > 24) {
    return std::nullopt;
  }
  if (time.hour == 24) {
    if (time.minute != 0 || time.second != 0) return std::nullopt;
    time.hour = 0;
    if (++time.day > daysInMonth(time.year, time.month)) {
      time.day = 1;
      if (++time.month > 12) {
        time.month = 1;
        if (++time.year > 9999) return std::nullopt;
      }
    }
  }
  return time;
}

std::int64_t utcSeconds(const TimeStamp& time) {
  constexpr int kJapanStandardTime = 9 * 3'600;
  return daysFromCivil(time.year, time.month, time.day) * 86'400 + time.hour * 3'600 +
         time.minute * 60 + time.second - kJapanStandardTime;
}

}  // namespace fenmarq
