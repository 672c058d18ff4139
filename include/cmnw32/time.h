#ifndef CMNW32_TIME_H
#define CMNW32_TIME_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

CMNW_END_DECLS

#endif
