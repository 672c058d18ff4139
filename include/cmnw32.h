/* CMNW32: every exported family. Include this, or one family header. */
#ifndef CMNW32_H
#define CMNW32_H

#include "cmnw32/errors.h"
#include "cmnw32/trace.h"
#include "cmnw32/messages.h"
#include "cmnw32/ctype.h"
#include "cmnw32/ebcdic.h"
#include "cmnw32/unicode.h"
#include "cmnw32/codepage.h"
#include "cmnw32/date.h"
#include "cmnw32/time.h"
#include "cmnw32/datetime.h"
#include "cmnw32/locale.h"
#include "cmnw32/paper.h"
#include "cmnw32/number.h"
#include "cmnw32/mask.h"
#include "cmnw32/barcode.h"
#include "cmnw32/file.h"
#include "cmnw32/lock.h"
#include "cmnw32/process.h"
#include "cmnw32/unique.h"
#include "cmnw32/filetype.h"
#include "cmnw32/keyword.h"
#include "cmnw32/encode.h"
#include "cmnw32/version.h"
#include "cmnw32/cfg.h"
#include "cmnw32/mem.h"
#include "cmnw32/sys.h"
#include "cmnw32/sysver.h"

#endif
