/* Paper sizes: the built-in table of named papers (US, ISO A, B and C
 * series, JIS B series and "Custom"), lookups by paper id and the choice of
 * the smallest paper a page fits on. Sizes are in 1/2400 inch. Paper ids are
 * those of the paperSize field of LocaleSettings (see locale.h): US sizes
 * 0-8 (2 is "ISO A4"), ISO A 20-30, 32, 34, ISO B 40-50, 52, 54, ISO C 60-70,
 * "ISO DL" 71, JIS B 80-90, "Custom" 98.
 *
 * Threads: the paper table is constant data; every function here may run on
 * several threads at once. */
#ifndef CMNW32_PAPER_H
#define CMNW32_PAPER_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* Paper ids used by the library itself. */
#define UTL_PAPER_US_LETTER 0
#define UTL_PAPER_ISO_A4 2
#define UTL_PAPER_CUSTOM 98

/* One paper table entry: 33 bytes, packed, entries one after the other. The
 * table ends with an entry whose bytes are all zero. */
#pragma pack(push, 1)
typedef struct PaperType {
    char name[21];  /* NUL-terminated, the rest zero */
    int32_t id;     /* paper id */
    int32_t width;  /* 1/2400 inch */
    int32_t height; /* 1/2400 inch */
} PaperType;
#pragma pack(pop)

/* The first entry of the paper table (constant, owned by the library). */
CMNW_API const PaperType *UTLGetPageSizesArray(void) CMNW_NOEXCEPT;

/* The entry with paper id id, or null. "Custom" (98) is never found. */
CMNW_API const PaperType *UTLGetPaperType(int32_t id) CMNW_NOEXCEPT;

/* Looks up paper id id: 0 when found, with its height in *height and its
 * width in *width (either pointer may be null; note the order: height
 * first); -1 when the id is unknown. Id 98 ("Custom") gives 0 at once and
 * writes nothing. */
CMNW_API int16_t UTLGetPageSize(int32_t id, int32_t *height, int32_t *width) CMNW_NOEXCEPT;

/* Chooses the paper for a page of the given height and width and stores its
 * id in *id: the default locale's paper (UTLGetDefPaperSize) when the page is
 * strictly smaller in both directions; otherwise the entry of smallest width,
 * then smallest height, that holds the page (equal sizes fit; the first in
 * table order on a tie). Returns 0, or -1 when no paper holds the page or id
 * is null. */
CMNW_API int16_t UTLGetClosestPaperType(int32_t height, int32_t width, int32_t *id) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
