/* Field format types and custom field masks.
 *
 * A field's format type is a one-character code (numeric, date, time,
 * alphanumeric, custom ...); some types carry a format text. A custom mask
 * splits a field's raw text into groups with fixed literal texts between them:
 * pairs of a count and a literal, "count,literal", separated by commas, e.g.
 * "3,-,2,-" shows 123456789 as 123-45-6789. A count is a decimal number
 * (leading white space allowed); a literal may be empty or hold blanks but no
 * comma. Every element but the last literal is followed by a comma, so a
 * mask that ends in a count is invalid. Raw characters left after the last
 * pair are shown unchanged. An empty or null mask means no mask. Masked and
 * unmasked texts are at most 1025 characters.
 *
 * Threads: every function here may run on several threads at once; the text
 * FMTFormatString returns belongs to the calling thread. */
#ifndef CMNW32_MASK_H
#define CMNW32_MASK_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* Longest masked or unmasked text. */
#define FMT_MASK_TEXT_MAX 1025
/* Longest display picture of FMTFormatString. */
#define FMT_DISPLAY_PICTURE_MAX 100

/* The display name of field type code ("y" -> "(Y)es or (N)o"), taken from
 * the message table (UTLErrorMsg), so a message replacer renames the types
 * too; "" for an unknown code. Codes are case-sensitive: A B C I K M T X a d
 * i k m n t x y. */
CMNW_API const char *FMTTypeString(char code) CMNW_NOEXCEPT;

/* Applies mask to raw and writes the masked text into out (outSize + 1
 * bytes). Groups take their count of raw characters, filled with blanks when
 * raw runs out. Returns 0; 2 when the result is longer than outSize
 * characters or out is null (out untouched); 3 when the mask is invalid or
 * the result would exceed 1025 characters. A null raw is taken as "". */
CMNW_API int FMTFmtString(const char *raw, char *out, unsigned outSize,
                          const char *mask) CMNW_NOEXCEPT;

/* Removes mask from masked and writes the raw text into out (outSize + 1
 * bytes): the same results as FMTFmtString, and 3 also when masked does not
 * hold a literal of the mask where the mask puts it. */
CMNW_API int FMTDefmtString(const char *masked, char *out, unsigned outSize,
                            const char *mask) CMNW_NOEXCEPT;

/* A display picture for a field of type code with format text format: for
 * "C" the custom mask's picture ("3,-,2,-" gives "XXX-XX-"; "" for an invalid
 * mask or a picture over 100 characters); for "n" the numeric picture itself
 * (cut at its first blank) when FMTValidNumericFormat accepts it, else "";
 * for "d" and "T" the date or time picture of the descriptor in format; ""
 * for other codes. The text lives in a buffer of the calling thread that its
 * next call overwrites: copy it. */
CMNW_API const char *FMTFormatString(char code, const char *format) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
