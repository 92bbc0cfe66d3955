// amd files at one-minute interval, dated from 2008-11-18.
#ifndef FENMARQ_FORMATS_AMD_1MIN_H_
#define FENMARQ_FORMATS_AMD_1MIN_H_

#include "formats/record_format.h"

namespace fenmarq {

extern const RecordFormat kAmd1MinFormat;

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_AMD_1MIN_H_
