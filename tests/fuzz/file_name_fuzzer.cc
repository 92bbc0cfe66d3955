// Arbitrary bytes as a target path, cut at "/", at "\", and at either (as on
// Windows), then matched against the rule table.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "convert/conversion_rule.h"
#include "convert/observation_file_name.h"
#include "tests/fuzz/fuzz_check.h"

namespace fenmarq {
namespace {

bool within(std::string_view part, std::string_view whole) {
  return whole.find(part) != std::string_view::npos;
}

void checkName(std::string_view path, std::string_view separators) {
  const ObservationFileName name = parseObservationFileName(path, separators);
  const std::string_view fileName = name.fileName;

  // The file name is what follows the last separator, or the whole path.
  FUZZ_CHECK(path.ends_with(fileName));
  FUZZ_CHECK(fileName.find_first_of(separators) == std::string_view::npos);
  FUZZ_CHECK(fileName.size() == path.size() ||
             separators.find(path[path.size() - fileName.size() - 1]) != std::string_view::npos);

  FUZZ_CHECK(name.kind == "amd" || name.kind == "sfc" || name.kind.empty());
  // Every field is cut from the file name, by the counts of the name's shape;
  // a name of no kind has none.
  for (const std::string* field : {&name.interval, &name.year, &name.monthDay, &name.station}) {
    FUZZ_CHECK(within(*field, fileName));
    FUZZ_CHECK(!name.kind.empty() || field->empty());
  }
  FUZZ_CHECK(name.kind.empty() || fileName.starts_with(name.kind + "_"));
  FUZZ_CHECK(name.interval.find('_') == std::string::npos);
  FUZZ_CHECK(name.year.size() <= 4);
  FUZZ_CHECK(name.monthDay.size() <= 4);
  FUZZ_CHECK(name.station.size() <= 5);
  FUZZ_CHECK(name.monthDay.empty() || name.year.size() == 4);
  FUZZ_CHECK(name.station.empty() || name.monthDay.size() == 4);
  FUZZ_CHECK(name.date == name.year + name.monthDay);

  // A selected rule holds for the name it was selected for.
  const std::optional<ConversionRule> rule = selectConversionRule(name);
  if (!rule) return;
  FUZZ_CHECK(!name.kind.empty());
  FUZZ_CHECK(rule->order >= 1 && rule->order <= 5);
  FUZZ_CHECK(rule->kind == name.kind);
  FUZZ_CHECK(rule->interval == name.interval);
  FUZZ_CHECK(name.date >= rule->firstDate);
  FUZZ_CHECK(rule->endDate.empty() || name.date < rule->endDate);
  FUZZ_CHECK(rule->converter != nullptr);
  FUZZ_CHECK(!rule->endOfItemText.empty());
}

}  // namespace
}  // namespace fenmarq

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view path(reinterpret_cast<const char*>(data), size);
  for (const std::string_view separators : {"/", "\\", "\\/"}) {
    fenmarq::checkName(path, separators);
  }
  return 0;
}
