/* EBCDIC/ASCII translation and zoned (sign-overpunched) number strings.
 *
 * Two replaceable 256-byte tables, indexed by the source byte, are in force:
 * EBCDIC-to-ASCII and ASCII-to-EBCDIC. At load they are code page 037 against
 * ISO 8859-1, each the inverse of the other, except that EBCDIC NL (0x15)
 * pairs with ASCII LF (0x0A) and EBCDIC LF (0x25) with 0x85. Installed tables
 * are not copied: they must stay valid while installed. The table pointers are
 * plain process-wide state: install tables before other threads translate.
 * Buffers are translated in place (only bytes that change are written);
 * their lengths are 16-bit byte counts.
 *
 * Threads: the translators and the zoned-sign conversion may run on several
 * threads at once, each on its own buffer; the table setters belong to
 * start-up. */
#ifndef CMNW32_EBCDIC_H
#define CMNW32_EBCDIC_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* Install a 256-byte EBCDIC-to-ASCII table and return the one in force
 * before. A null table is refused: nothing changes and null is returned. */
CMNW_API const uint8_t *SetEBC2ASCTable(const uint8_t *table) CMNW_NOEXCEPT;
/* The EBCDIC-to-ASCII table in force. */
CMNW_API const uint8_t *GetEBC2ASCTable(void) CMNW_NOEXCEPT;
/* One EBCDIC byte translated to ASCII through the table in force. */
CMNW_API uint8_t EBC2ASC(uint8_t c) CMNW_NOEXCEPT;
/* Translates len bytes of buffer from EBCDIC to ASCII in place. A null
 * buffer is ignored. */
CMNW_API void EBCDIC2ASCII(void *buffer, uint16_t len) CMNW_NOEXCEPT;

/* Install a 256-byte ASCII-to-EBCDIC table and return the one in force
 * before. A null table is refused: nothing changes and null is returned. */
CMNW_API const uint8_t *SetASC2EBCTable(const uint8_t *table) CMNW_NOEXCEPT;
/* The ASCII-to-EBCDIC table in force. */
CMNW_API const uint8_t *GetASC2EBCTable(void) CMNW_NOEXCEPT;
/* One ASCII byte translated to EBCDIC through the table in force; the two
 * names do the same. */
CMNW_API uint8_t ASC2EBC(uint8_t c) CMNW_NOEXCEPT;
CMNW_API uint8_t ForceASC2EBC(uint8_t c) CMNW_NOEXCEPT;
/* Translate len bytes of buffer from ASCII to EBCDIC in place; the two names
 * do the same. A null buffer is ignored. */
CMNW_API void ASCII2EBCDIC(void *buffer, uint16_t len) CMNW_NOEXCEPT;
CMNW_API void ForceASCII2EBCDIC(void *buffer, uint16_t len) CMNW_NOEXCEPT;
/* As ForceASCII2EBCDIC, except that each carriage return (0x0D) becomes the
 * EBCDIC space 0x40 whatever the table says. */
CMNW_API void ForceASCII2EBCDICCR2Space(void *buffer, uint16_t len) CMNW_NOEXCEPT;

/* Installs the built-in OS/400 ASCII-to-EBCDIC table (PC text, mostly code
 * page 850, to code page 037) and returns the table in force before. */
CMNW_API const uint8_t *UTLDef_OS400_A2Etable(void) CMNW_NOEXCEPT;
/* Installs the built-in MVS ASCII-to-EBCDIC table (the one in force at load)
 * and returns the table in force before, so it undoes UTLDef_OS400_A2Etable
 * and SetASC2EBCTable. */
CMNW_API const uint8_t *UTLDef_MVS_A2Etable(void) CMNW_NOEXCEPT;

/* Turns the zoned sign of the last digit of s (len bytes, index len-1) into
 * a plain ASCII digit and returns the sign: 1 for the positive zones (ASCII
 * digits, EBCDIC 0xA_, 0xC_, 0xE_, 0xF_; so "{" and "A".."I" are +0..+9),
 * -1 for the negative ones (EBCDIC 0xB_, 0xD_ and ASCII "p".."y"; so "}" and
 * "J".."R" are -0..-9), 0 for any other zone. A last character that is not an
 * ASCII digit or "p".."y" is first translated through the ASCII-to-EBCDIC
 * table in force. A digit value above 9 becomes "?". *error (when error is
 * not null) is set to 1 for an unknown zone, a digit above 9, a null s or a
 * len of 0 (which return 0 and change nothing), otherwise to 0.
 * With insertMinus non-zero and a sign of -1, the whole NUL-terminated
 * string s (strlen(s) characters and the NUL, not only len) moves one place
 * right behind a "-": "12}45" with len 3 becomes "-12045". s must then be
 * NUL-terminated and hold strlen(s) + 2 bytes (and at least len); nothing
 * past them is written. */
CMNW_API int32_t UTLSignedStrToStrExt(char *s, uint16_t len, int insertMinus,
                                      int *error) CMNW_NOEXCEPT;
/* UTLSignedStrToStrExt without the error flag. */
CMNW_API int32_t UTLSignedStrToStr(char *s, uint16_t len, int insertMinus) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
