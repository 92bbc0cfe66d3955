// sfc files at ten-second interval, dated from 2015-03-03.
#ifndef FENMARQ_FORMATS_SFC_10SEC_H_
#define FENMARQ_FORMATS_SFC_10SEC_H_

#include "formats/record_format.h"

namespace fenmarq {

extern const RecordFormat kSfc10SecFormat;

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_SFC_10SEC_H_
