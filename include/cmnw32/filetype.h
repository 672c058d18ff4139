/* File type detection from content (never from the name).
 *
 * Threads: may run on several threads at once. */
#ifndef CMNW32_FILETYPE_H
#define CMNW32_FILETYPE_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* The type number of the document or image in the file named name, from
 * signature tests tried in a fixed order, the first match deciding:
 *   1 PDF, 2 TIFF, 3 "H,2400" data, 5 bitmap, 9 JPEG, 10 PNG, 12 and 7 (two
 *   header layouts, optionally behind a 128-byte header marked by "*" at
 *   offset 127), 4 PCX, 11 Windows metafile, 6 MO:DCA (AFP), 8 ("p" at
 *   offset 512, or 640 behind the header).
 * Returns 0 when no test recognises the content, and -1 when name is null or
 * empty or the file cannot be opened or read. Only the first 1024 bytes and
 * the file's length are looked at, so the cost does not grow with the file. */
CMNW_API int32_t UTLFileType(const char *name) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
