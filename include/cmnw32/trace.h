#ifndef CMNW32_TRACE_H
#define CMNW32_TRACE_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

CMNW_END_DECLS

#endif
