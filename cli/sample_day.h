// Plausible observation day files for demonstrations, tests and benchmarks,
// laid out from the same format tables that the converters read.
#ifndef FENMARQ_CLI_SAMPLE_DAY_H_
#define FENMARQ_CLI_SAMPLE_DAY_H_

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "formats/record_format.h"

namespace fenmarq {

struct SampleFile {
  std::string_view fileName;  // kind_interval_YYYYMMDD.station
  const RecordFormat& format;
  int secondsPerRecord;
};

// One sample per record format, each named so that it selects its own rule.
std::span<const SampleFile> sampleFiles();

// The bytes of a day file for `sample`: the station of its name in every
// record, consecutive time stamps from midnight of its date, a diurnal swing
// of temperature and wind, an afternoon shower and daytime sunshine.
std::vector<std::uint8_t> makeSampleDay(const SampleFile& sample);

}  // namespace fenmarq

#endif  // FENMARQ_CLI_SAMPLE_DAY_H_
