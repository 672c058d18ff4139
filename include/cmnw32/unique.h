/* Unique strings: texts unique across machines and time, for temporary file
 * names, archive keys and the like, each made from a new random GUID.
 *
 * Threads: may run on several threads at once. */
#ifndef CMNW32_UNIQUE_H
#define CMNW32_UNIQUE_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* Writes a unique text into output; the form depends on size (the buffer's
 * size in bytes, terminator included):
 *   below 33   nothing is written;
 *   33 to 40   32 upper-case hexadecimal digits of the GUID;
 *   41 to 45   40 characters: four groups of 8 of those digits, each followed
 *              by 2 hexadecimal check digits (the running byte sum of every
 *              character written before them);
 *   46 or more 45 characters of the text-form alphabet "0-9A-Za-z_-" holding
 *              the GUID scrambled (the whole buffer is cleared first).
 * Always returns 0; when no GUID can be had nothing is written, so callers
 * tell success by the text. */
CMNW_API int32_t UTLGetUniqueString(char *output, uint32_t size) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
