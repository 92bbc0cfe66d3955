// sfc files at ten-second interval, dated from 2008-07-25 up to 2015-03-02.
#ifndef FENMARQ_FORMATS_SFC_10SEC_2008_H_
#define FENMARQ_FORMATS_SFC_10SEC_2008_H_

#include "formats/record_format.h"

namespace fenmarq {

extern const RecordFormat kSfc10Sec2008Format;

}  // namespace fenmarq

#endif  // FENMARQ_FORMATS_SFC_10SEC_2008_H_
