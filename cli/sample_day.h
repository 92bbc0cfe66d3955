// Plausible observation day files for demonstrations, tests and benchmarks,
// laid out from the same format tables that the converters read.
#ifndef FENMARQ_CLI_SAMPLE_DAY_H_
#define FENMARQ_CLI_SAMPLE_DAY_H_

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "formats/record_format.h"

namespace fenmarq {

struct SampleFile {
  std::string_view fileName;  // kind_interval_YYYYMMDD.station, of its usual date
  const RecordFormat& format;
  int secondsPerRecord;
};

// One sample per record format, each named so that it selects its own rule.
std::span<const SampleFile> sampleFiles();

// Whether `date` is YYYYMMDD of a day of the calendar (years 1 to 9999).
bool isCalendarDate(std::string_view date);

// The name of `sample` with `date` (YYYYMMDD) in place of its own.
std::string sampleFileName(const SampleFile& sample, std::string_view date);

// Whether the conversion rules give a file of `sample`'s kind and interval
// dated `date` the sample's record format (the earlier sfc ten-second
// layout, for one, covers 2008-07-25 to 2015-03-02 only).
bool sampleCoversDate(const SampleFile& sample, std::string_view date);

// The bytes of a day file for `sample`, named `fileName` (by default its own
// name): the station of the name in every record, consecutive time stamps
// from midnight of its date, a diurnal swing of temperature and wind, an
// afternoon shower and daytime sunshine. Every value is stored as its field's
// unit cell and notes say, so that it decodes to a plausible spring day.
std::vector<std::uint8_t> makeSampleDay(const SampleFile& sample, std::string_view fileName = {});

}  // namespace fenmarq

#endif  // FENMARQ_CLI_SAMPLE_DAY_H_
