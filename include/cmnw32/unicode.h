/* Conversions between 8-bit text in code page 1252 ("ANSI"), UTF-8 and UTF-16
 * (16-bit code units in native byte order), on caller buffers, without
 * allocation.
 *
 * The buffer converters take the source and destination positions by
 * reference together with their end pointers, and on return both positions
 * stand where the conversion stopped, so that text can be converted in
 * pieces. They never read at or past the source end and never write at or
 * past the destination end. Decoding is lenient: malformed UTF-8 is passed
 * through or decoded as it stands, never rejected.
 *
 * Threads: no function here keeps state; all may run on several threads at
 * once. */
#ifndef CMNW32_UNICODE_H
#define CMNW32_UNICODE_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* The length of the UTF-8 sequence that the byte at p leads, from its value
 * alone: 2 for 0xC0-0xDF, 3 for 0xE0-0xEF, 4 for 0xF0-0xF4, otherwise 1
 * (continuation bytes and 0xF5-0xFF count as one-byte characters). 0 for a
 * null p. */
CMNW_API int32_t Utf8CharLen(const char *p) CMNW_NOEXCEPT;

/* Writes the UTF-8 form of the code point c to out (room for 4 bytes, no
 * terminator) and returns the number of bytes written: 1, 2, 3 or 4, or 0
 * (nothing written) for a negative c, a c of 0x110000 or more, or a null out.
 * Surrogate code points are encoded like any other three-byte value. */
CMNW_API int32_t Utf16CharToUtf8(int32_t c, char *out) CMNW_NOEXCEPT;

/* Converts bytes from *src up to srcEnd to UTF-8 at *dst, up to dstEnd, and
 * returns the number of bytes written. Bytes below 0x80 are copied; others
 * are taken as the code point of the same value (ISO 8859-1), except that
 * with bit 0 of flags set, 0x80-0x9F are read as code page 1252 (0x80 is
 * U+20AC; the undefined 0x81, 0x8D, 0x8F, 0x90 and 0x9D stay as they are).
 * Conversion stops at the source end or before the first character whose
 * UTF-8 form does not fit before dstEnd. A null pointer argument converts
 * nothing. AnsiToUtf8 is AnsiToUtf8Ex with flags 0. */
CMNW_API uint32_t AnsiToUtf8Ex(const char **src, const char *srcEnd, char **dst, char *dstEnd,
                               uint32_t flags) CMNW_NOEXCEPT;
CMNW_API uint32_t AnsiToUtf8(const char **src, const char *srcEnd, char **dst,
                             char *dstEnd) CMNW_NOEXCEPT;

/* Converts UTF-16 code units from *src up to srcEnd to UTF-8 at *dst. Each
 * code unit is encoded on its own, so a surrogate pair becomes two
 * three-byte sequences (CESU-8). A character is written only when at least
 * one byte of the destination stays free after it: the conversion stops
 * before a character that would reach dstEnd. A null pointer argument
 * converts nothing. */
CMNW_API void Utf16ToUtf8(const uint16_t **src, const uint16_t *srcEnd, char **dst,
                          char *dstEnd) CMNW_NOEXCEPT;

/* Converts UTF-8 bytes from *src up to srcEnd to UTF-16 code units at *dst,
 * up to dstEnd. Sequences are taken by the length their lead byte gives
 * (see Utf8CharLen); continuation bytes are not checked (only their low six
 * bits are used) and overlong forms are decoded as they stand; a four-byte
 * sequence becomes a surrogate pair. A byte that leads no sequence, and each
 * byte of a sequence cut short by srcEnd, becomes the code unit of the same
 * value (read as ISO 8859-1). The conversion stops at srcEnd, or before a
 * character whose units do not fit before dstEnd (a four-byte character when
 * one unit is left), so a destination of two units or more always makes
 * progress. A null pointer argument converts nothing. */
CMNW_API void Utf8ToUtf16(const char **src, const char *srcEnd, uint16_t **dst,
                          uint16_t *dstEnd) CMNW_NOEXCEPT;

/* The first UTF-16 code unit of the UTF-8 character at p, in the low 16 bits
 * of the result (-1 for a null p). The conversion is that of Utf8ToUtf16 over
 * at most the next 4 bytes, ending after a NUL byte, into two units preset to
 * 0xFFFF: the high 16 bits hold the trail surrogate of a four-byte character,
 * else the unit of what follows within those bytes, else 0xFFFF. */
CMNW_API int32_t Utf8ToUtf16Char(const char *p) CMNW_NOEXCEPT;

/* Converts the UTF-8 text s of len bytes to code page 1252 in place and
 * returns the new length (0 for a null s or a len of 0 or less). Each
 * sequence of a lead byte (0xC0 or more) and one, two or three (for leads
 * 0xF0-0xF4) following bytes of 0x80 or more, all within len, becomes one
 * byte: its code page 1252 byte where there is one, else "?" (so every
 * character beyond U+FFFF, and a three-byte lead with only one following
 * byte within len, gives "?"). Other bytes are copied as they stand, and
 * bytes that stay the same are not written (a text without such sequences
 * may be read-only). No terminator is written; the bytes between the new
 * and the old length keep their old values. */
CMNW_API int32_t UTLUtf8ToAnsi(char *s, int32_t len) CMNW_NOEXCEPT;

/* Widens the NUL-terminated code page 1252 text src into dst, followed by a
 * NUL code unit; the five undefined bytes become the code point of the same
 * value. dst must hold strlen(src) + 1 units. Returns dst, or null when
 * either pointer is null. */
CMNW_API uint16_t *UTLuastrcpy(uint16_t *dst, const char *src) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
