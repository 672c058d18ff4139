#ifndef CMNW32_FILE_H
#define CMNW32_FILE_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

CMNW_END_DECLS

#endif
