// amd files at ten-second interval, dated from 2015-03-03.
#ifndef FENMARQ_FORMATS_AMD_10SEC_H_
#define FENMARQ_FORMATS_AMD_10SEC_H_

#include "formats/record_format.h"

namespace fenmarq {

extern const RecordFormat kAmd10SecFormat;

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_AMD_10SEC_H_
