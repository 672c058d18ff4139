#ifndef CMNW32_ENCODE_H
#define CMNW32_ENCODE_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

CMNW_END_DECLS

#endif
