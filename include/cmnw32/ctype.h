/* Character classes, case mapping and case-insensitive strings.
 *
 * Byte characters (0-255, code page 1252 by default) are classified, case
 * mapped and collated through one process-wide, replaceable class table of
 * 1024 unsigned 16-bit entries in four blocks of 256, each indexed by the
 * byte value:
 *   [0..255]     class flags (CT_* below)
 *   [256..511]   upper-case form
 *   [512..767]   lower-case form
 *   [768..1023]  collation weight
 * Codes above 255 (UTF-16 code units or code points passed as integers) are
 * classified and case mapped by Unicode character properties. Whether a code
 * is at most 255 is decided on it as an unsigned number, so a negative value
 * (a sign-extended byte) takes the path for large codes: pass bytes as
 * unsigned values.
 *
 * None of these functions allocates or reports errors. The table pointer is
 * process-wide; each function reads it once per call.
 *
 * Threads: every function here may run on any number of threads at once,
 * also while another thread installs a table with SetCTypeTable: a call uses
 * the old table or the new one, never both. A table replaced may still be
 * read by calls that began before; keep it readable. */
#ifndef CMNW32_CTYPE_H
#define CMNW32_CTYPE_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* Class flag bits of the first block. */
#define CT_XDIGIT 0x001 /* hexadecimal digit */
#define CT_DIGIT 0x002  /* decimal digit */
#define CT_BLANK 0x004  /* blank */
#define CT_SPACE 0x008  /* white space */
#define CT_PUNCT 0x010  /* punctuation */
#define CT_CNTRL 0x020  /* control */
#define CT_LOWER 0x040  /* lower-case letter */
#define CT_UPPER 0x080  /* upper-case letter */
#define CT_ALPHA 0x100  /* letter */

/* Number of entries of a class table, and the offsets of its blocks. */
#define CT_TABLE_SIZE 1024
#define CT_UPPER_MAP 256
#define CT_LOWER_MAP 512
#define CT_COLLATE 768

/* Installs table (CT_TABLE_SIZE entries) as the class table in force and
 * returns the one in force before; passing that back restores it. The table
 * is not copied: it must stay valid and unchanged while installed. A null
 * table is refused: nothing changes and null is returned. */
CMNW_API const uint16_t *SetCTypeTable(const uint16_t *table) CMNW_NOEXCEPT;

/* The class table in force (the built-in table until SetCTypeTable). */
CMNW_API const uint16_t *GetCTypeTable(void) CMNW_NOEXCEPT;

/* Classification: zero when c is not in the class, non-zero when it is. For c
 * at most 255 the result is the flag word masked with the class's bits (so
 * UTLisalpha('A') is 0x100 with the built-in table): alnum 0x102, alpha 0x100,
 * cntrl 0x020, digit 0x002, graph 0x112, lower 0x040, print 0x116, punct
 * 0x010, space 0x008, upper 0x080, xdigit 0x001. Above 255 the Unicode
 * property decides and the result is 0 or 1, except UTLispunct, which gives
 * a non-zero category bit for dash, open, close, connector, other,
 * initial-quote and final-quote punctuation. UTLisgraph and UTLisxdigit look
 * at the low 16 bits of a large c only: graph is a letter, mark, number,
 * punctuation or symbol of the Basic Multilingual Plane, xdigit an ASCII or
 * full-width hexadecimal digit. */
CMNW_API int32_t UTLisalnum(int32_t c) CMNW_NOEXCEPT;
CMNW_API int32_t UTLisalpha(int32_t c) CMNW_NOEXCEPT;
CMNW_API int32_t UTLiscntrl(int32_t c) CMNW_NOEXCEPT;
CMNW_API int32_t UTLisdigit(int32_t c) CMNW_NOEXCEPT;
CMNW_API int32_t UTLisgraph(int32_t c) CMNW_NOEXCEPT;
CMNW_API int32_t UTLislower(int32_t c) CMNW_NOEXCEPT;
CMNW_API int32_t UTLisprint(int32_t c) CMNW_NOEXCEPT;
CMNW_API int32_t UTLispunct(int32_t c) CMNW_NOEXCEPT;
CMNW_API int32_t UTLisspace(int32_t c) CMNW_NOEXCEPT;
CMNW_API int32_t UTLisupper(int32_t c) CMNW_NOEXCEPT;
CMNW_API int32_t UTLisxdigit(int32_t c) CMNW_NOEXCEPT;

/* Case mapping of one code. For c at most 255: the entry of the lower-case
 * (upper-case) block, read as a signed 16-bit value. Above 255: the Unicode
 * simple case mapping of c (unchanged when it has none or is out of range). */
CMNW_API int32_t UTLtolower(int32_t c) CMNW_NOEXCEPT;
CMNW_API int32_t UTLtoupper(int32_t c) CMNW_NOEXCEPT;

/* Replace each byte of the NUL-terminated s by the low byte of its lower-case
 * (upper-case) entry, in place; bytes that stay the same are not written, so
 * a text already in that case may be read-only. Return s (null for a null
 * s). */
CMNW_API char *UTLstrlwr(char *s) CMNW_NOEXCEPT;
CMNW_API char *UTLstrupr(char *s) CMNW_NOEXCEPT;

/* Case-insensitive comparisons by the lower-case block. The result is
 * negative, zero or positive, and is the difference of the two lower-case
 * entries compared last (UTLstricmp("abc", "ABD") is 'c' - 'd' = -1).
 * UTLmemicmp compares exactly n bytes, NUL bytes included. UTLstricmp stops at
 * the end of either string; UTLstrnicmp also after n bytes (n 0 gives 0). No
 * byte past either terminator is read, whatever table is installed. A null
 * string compares as the empty string; for UTLmemicmp a null pointer compares
 * below a non-null one. */
CMNW_API int32_t UTLmemicmp(const void *a, const void *b, size_t n) CMNW_NOEXCEPT;
CMNW_API int32_t UTLstricmp(const char *a, const char *b) CMNW_NOEXCEPT;
CMNW_API int32_t UTLstrnicmp(const char *a, const char *b, size_t n) CMNW_NOEXCEPT;

/* Collating comparisons by the collation block. Only the first differing
 * character decides: the result is its weight in a minus its weight in b; a
 * string that is a prefix of the other compares by the weight of NUL (0)
 * against the other's next character. The "i" forms first compare the
 * lower-case forms of differing bytes and go on when those are equal; when
 * they differ the result is the difference of the weights of the lower-case
 * forms. The "n" forms look at no more than n bytes (n 0 gives 0). A null
 * string compares as the empty string. */
CMNW_API int32_t UTLstrcoll(const char *a, const char *b) CMNW_NOEXCEPT;
CMNW_API int32_t UTLstricoll(const char *a, const char *b) CMNW_NOEXCEPT;
CMNW_API int32_t UTLstrncoll(const char *a, const char *b, size_t n) CMNW_NOEXCEPT;
CMNW_API int32_t UTLstrnicoll(const char *a, const char *b, size_t n) CMNW_NOEXCEPT;

/* Trailing clip of the first len characters of s: white space at the end is
 * overwritten with NUL and the new length is returned (0 when all were
 * white space, for len 0 or less, and for a null s). UTLStrClip tests the
 * CT_SPACE flag of the table in force, UTLStrClipW Unicode white space of each
 * UTF-16 code unit. UTLTrimSpace and UTLTrimSpaceW do the same but always keep
 * a no-break space (160, U+00A0) and what precedes it. */
CMNW_API int32_t UTLStrClip(char *s, int32_t len) CMNW_NOEXCEPT;
CMNW_API int32_t UTLStrClipW(uint16_t *s, int32_t len) CMNW_NOEXCEPT;
CMNW_API int32_t UTLTrimSpace(char *s, int32_t len) CMNW_NOEXCEPT;
CMNW_API int32_t UTLTrimSpaceW(uint16_t *s, int32_t len) CMNW_NOEXCEPT;

/* Removes the leading white space (no-break space included) of the
 * NUL-terminated UTF-16 s by moving the rest to the front, and returns the new
 * length. A string that is empty or all white space is left unchanged and its
 * length returned. 0 for a null s. */
CMNW_API int32_t UTLStrLeftW(uint16_t *s) CMNW_NOEXCEPT;

/* Removes leading (UTLStrLeftW) and then trailing (UTLTrimSpaceW) white
 * space of the NUL-terminated UTF-16 s; returns the new length, 0 for a null
 * s. An all-white-space string becomes empty, except that trailing no-break
 * spaces stay. */
CMNW_API int32_t UTLKillSpacesW(uint16_t *s) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
