#include "convert/observation_file_name.h"

namespace fenmarq {
namespace {

// Removes and returns the first `count` bytes of `rest` (all of it if shorter).
std::string_view takeFront(std::string_view& rest, std::size_t count) {
  std::string_view front = rest.substr(0, count);
  rest.remove_prefix(front.size());
  return front;
}

}  // namespace

ObservationFileName parseObservationFileName(std::string_view path, std::string_view separators) {
  ObservationFileName name;
  const std::size_t lastSeparator = path.find_last_of(separators);
  std::string_view rest =
      lastSeparator == std::string_view::npos ? path : path.substr(lastSeparator + 1);
  name.fileName = rest;

  const std::size_t kindEnd = rest.find('_');
  if (kindEnd == std::string_view::npos) return name;
  const std::string_view kind = rest.substr(0, kindEnd);
  if (kind != "amd" && kind != "sfc") return name;
  name.kind = kind;
  rest.remove_prefix(kindEnd + 1);

  // A missing second "_" leaves the interval empty and cuts the year, the
  // month-day and the station from what follows the kind.
  const std::size_t intervalEnd = rest.find('_');
  if (intervalEnd != std::string_view::npos) {
    name.interval = rest.substr(0, intervalEnd);
    rest.remove_prefix(intervalEnd + 1);
  }
  name.year = takeFront(rest, 4);
  name.monthDay = takeFront(rest, 4);
  // The byte in front of the station, normally the dot, is skipped unread.
  if (rest.size() > 1) name.station = rest.substr(1, 5);
  name.date = name.year + name.monthDay;
  return name;
}

}  // namespace fenmarq
