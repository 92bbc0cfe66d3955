// The fixed, ordered table that maps an observation file's kind, interval and
// date to the converter of its record format.
#ifndef FENMARQ_CONVERT_CONVERSION_RULE_H_
#define FENMARQ_CONVERT_CONVERSION_RULE_H_

#include <optional>
#include <span>
#include <string_view>

#include "convert/observation_file_name.h"

namespace fenmarq {

class FormatConverter;

struct ConversionRule {
  int order;  // 1 to 5, the row of the table
  std::string_view kind;
  std::string_view interval;
  // Dates are compared as text: firstDate <= date, and date < endDate unless
  // endDate is empty.
  std::string_view firstDate;
  std::string_view endDate;
  const FormatConverter* converter;
  std::string_view endOfItemText;  // logged when an item of this rule is done
};

// The whole table, in order.
std::span<const ConversionRule> conversionRules();

// The first rule whose kind, interval and date condition all hold, if any.
std::optional<ConversionRule> selectConversionRule(const ObservationFileName& name);

}  // namespace fenmarq

#endif  // FENMARQ_CONVERT_CONVERSION_RULE_H_
