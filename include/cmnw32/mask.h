#ifndef CMNW32_MASK_H
#define CMNW32_MASK_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

CMNW_END_DECLS

#endif
