#ifndef CMNW32_BARCODE_H
#define CMNW32_BARCODE_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

CMNW_END_DECLS

#endif
