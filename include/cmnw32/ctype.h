#ifndef CMNW32_CTYPE_H
#define CMNW32_CTYPE_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

CMNW_END_DECLS

#endif
