// Observation files are recognised by their name alone:
// kind_interval_YYYYMMDD.station, for example amd_1min_20160412.62078.
#ifndef FENMARQ_CONVERT_OBSERVATION_FILE_NAME_H_
#define FENMARQ_CONVERT_OBSERVATION_FILE_NAME_H_

#include <string>
#include <string_view>

namespace fenmarq {

struct ObservationFileName {
  std::string fileName;  // the path after its last separator
  std::string kind;      // "amd", "sfc", or empty (and then so is every field below)
  std::string interval;
  std::string year;
  std::string monthDay;
  std::string station;
  std::string date;  // year followed by monthDay

  bool operator==(const ObservationFileName&) const = default;
};

// Cuts `path` (UTF-8) into its fields; the file name is the text after the
// last of the `separators`. Never fails: any text yields a name. Separators
// are found byte by byte, which is safe in UTF-8: every byte of a multi-byte
// character is 0x80 or above, so none equals "/", "\" or "_".
ObservationFileName parseObservationFileName(std::string_view path, std::string_view separators);

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_OBSERVATION_FILE_NAME_H_
