#ifndef CMNW32_PAPER_H
#define CMNW32_PAPER_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

CMNW_END_DECLS

#endif
