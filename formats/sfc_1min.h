// sfc files at one-minute interval, dated from 2008-06-25.
#ifndef FENMARQ_FORMATS_SFC_1MIN_H_
#define FENMARQ_FORMATS_SFC_1MIN_H_

#include "formats/record_format.h"

namespace fenmarq {

extern const RecordFormat kSfc1MinFormat;

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_SFC_1MIN_H_
