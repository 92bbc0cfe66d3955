// The time stamps of records: which of them name a calendar time, and the
// instant they name. The analysis table and the Python module both read
// stamps through here, so that they agree on every record.
#ifndef FENMARQ_FORMATS_RECORD_TIME_H_
#define FENMARQ_FORMATS_RECORD_TIME_H_

#include <cstdint>
#include <optional>

namespace fenmarq {

// A record's time stamp as its fields hold it, in Japan Standard Time; all
// zeros where the record has none.
struct TimeStamp {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
  bool missing() const {
    return year == 0 && month == 0 && day == 0 && hour == 0 && minute == 0 && second == 0;
  }
};

// The calendar time that `stamp` names: year 1 to 9999, month 1 to 12, a day
// of that month in that year, hour 0 to 23, minute and second 0 to 59. A
// stamp of 24:00:00 is the end of its day, which is the next day's 00:00:00
// (records may be stamped at the end of their interval). Nothing for any
// other stamp, one of zeros among them.
std::optional<TimeStamp> calendarTime(const TimeStamp& stamp);

// Seconds since 1970-01-01 00:00:00 UTC of `time`, a calendar time in Japan
// Standard Time (UTC+9).
std::int64_t utcSeconds(const TimeStamp& time);

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_RECORD_TIME_H_
