/* Combined date-time conversion: one point in time between the forms the
 * suite stores and exchanges.
 *
 * Forms (compared without regard to case):
 *   "X"   (first character X) hextime text, 8 hexadecimal digits (time.h);
 *   "S1"  struct tm of local time: the nine int fields tm_sec .. tm_isdst
 *         (36 bytes; only those are read and written);
 *   "S2"  the 16-byte date-time record FMTDateTimeRec (time.h);
 *   "DB2" timestamp text year-month-day-hour.minute.second.fraction, e.g.
 *         2007-5-24-14.5.9.0;
 *   anything else a combined descriptor: a date descriptor (date.h), "%",
 *         one separator character and a time descriptor (time.h), e.g.
 *         "1/4% 1:" for 05/24/2007 14:05:09. A date or time descriptor
 *         beginning with "N" or "n" stands for the stored default of its
 *         kind (FMTDefDateFormat, FMTDefTimeFormat).
 * Conversions other than between DB2 and S2 go through the hextime, so they
 * work in whole seconds and in local time (TZ).
 *
 * Threads: conversions may run on any number of threads at once, also while
 * another thread changes the current locale or the stored default
 * descriptors; each conversion reads them as they stood before or after the
 * change. */
#ifndef CMNW32_DATETIME_H
#define CMNW32_DATETIME_H

#include "cmnw32/api.h"
#include "cmnw32/time.h"

CMNW_BEGIN_DECLS

/* Converts source, in form fromForm, into target in form toForm. target
 * holds 9 bytes for a hextime, 36 for S1, 16 for S2 and 80 for texts. Equal
 * forms copy source (texts up to their NUL, S1 and S2 records whole). A
 * combined text is split at the first separator character whose left part
 * is a valid date under the date descriptor; the date is taken as local
 * midnight without daylight saving (the day's first instant when the clock
 * jumped over its midnight) and the time of day added to it. A local time
 * (S1, S2, DB2) the clock jumped over gives the first instant of its day
 * (FMTMakeXATime).
 * Returns 0, or 1 for a null argument, a source text of 80 characters or
 * more, a form of 67 characters or more, a combined descriptor without "%"
 * and separator, or a text whose date or time does not parse (target may
 * then hold partial output). */
CMNW_API int FMTDateTime2DateTime(const void *source, const char *fromForm, void *target,
                                  const char *toForm) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
