/* Compiled as strict C11: every public header must be valid C. */
#include "cmnw32.h"
#include "cmnw32/cfg.h"
#include "cmnw32/mem.h"
#include "cmnw32/sys.h"

int cmnw32_c11_check(void);
int cmnw32_c11_check(void) { return CMNW_MAX_PATH; }
