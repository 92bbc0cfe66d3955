// amd files at ten-second interval, dated from 2015-03-03.
#ifndef FENMARQ_FORMATS_AMD_10SEC_H_
#define FENMARQ_FORMATS_AMD_10SEC_H_

#include "formats/format_converter.h"
#include "formats/record_format.h"

namespace fenmarq {

extern const RecordFormat kAmd10SecFormat;

class Amd10SecConverter final : public FormatConverter {
 public:
  constexpr Amd10SecConverter() : FormatConverter(kAmd10SecFormat) {}
};

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_AMD_10SEC_H_
