#ifndef CMNW32_FILETYPE_H
#define CMNW32_FILETYPE_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

CMNW_END_DECLS

#endif
