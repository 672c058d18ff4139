/* Message templates with numbered inserts, configured name substitution, a
 * few string helpers and the placeholder entries of the form-object family.
 *
 * Name substitution maps a program, module or help-file name written for the
 * old platform to the file that replaces it here: first the key of that name
 * in the [Window32Subs] section of the configuration, then a built-in table
 * of 132 pairs (old name -> this platform's file, e.g. "CFGW32.DLL" ->
 * "libcfgw32.so"). A built-in answer is written back into the configuration
 * so that later lookups find it there.
 *
 * Threads: formatting and the string helpers may run on several threads at
 * once; substitutes are read from the configuration in force, which must not
 * change meanwhile. */
#ifndef CMNW32_MESSAGES_H
#define CMNW32_MESSAGES_H

#include "cmnw32/api.h"
#include "cmnw32/mem.h"

CMNW_BEGIN_DECLS

/* Number of pairs in the built-in substitution table. */
#define UTL_SUBLIST_COUNT 132

/* Fills buffer (bufferSize bytes, always terminated when bufferSize > 0) from
 * message, replacing %1..%99 by the records of inserts (a MEM list of
 * zero-terminated texts, insert 1 first). Two digits are taken when both are
 * digits (%123 is insert 12 then "3"). A missing insert, or a null list,
 * leaves the percent sign and digits as written. %n gives a newline, %0 a
 * zero byte (counted), "%" followed by any other character gives that
 * character, and a "%" at the very end ends the output. Returns the bytes
 * written without the terminator; 0 when buffer is null. */
CMNW_API int32_t UTLFormatMessage(char *buffer, uint32_t bufferSize, const char *message,
                                  MEMLIST inserts) CMNW_NOEXCEPT;

/* As UTLFormatMessage, with the inserts given as count texts after count
 * (null texts count as empty). */
CMNW_API int32_t UTLFmtMsgString(char *buffer, uint32_t bufferSize, const char *message,
                                 int32_t count, ...) CMNW_NOEXCEPT;

/* Puts the substitute of name into out (cut to outSize - 1): the configured
 * one, else the built-in one (then also stored in the configuration), else
 * name itself. An empty or null name gives "". */
CMNW_API void UTLGetINISubs(const char *name, char *out, uint32_t outSize) CMNW_NOEXCEPT;

/* As UTLGetINISubs, but out stays "" when no substitute is known. */
CMNW_API void UTLGetINISubsNoDef(const char *name, char *out, uint32_t outSize) CMNW_NOEXCEPT;

/* The replacement text of built-in pair index (0 to UTL_SUBLIST_COUNT - 1);
 * any other index gives the empty text of the table's end marker. */
CMNW_API const char *UTLAccessSublist(int32_t index) CMNW_NOEXCEPT;

/* Writes exactly count bytes to dest: source up to its terminator, then
 * zeros. dest is not terminated when source has count or more characters.
 * Reads nothing after source's terminator. Returns dest. */
CMNW_API char *UTLstrncpy(char *dest, const char *source, size_t count) CMNW_NOEXCEPT;

/* First occurrence of part in text ignoring case (C library tolower), or
 * null; null arguments give null, an empty part gives text. */
CMNW_API char *UTLstristr(const char *text, const char *part) CMNW_NOEXCEPT;

/* Last occurrence of part in text found by a left-to-right scan that does
 * not see overlapping occurrences ("aa" in "aaa" is at 0). Null or empty text
 * gives null; a null or empty part gives text. */
CMNW_API char *UTLstrrstr(const char *text, const char *part) CMNW_NOEXCEPT;

/* Placeholder parameter setters of the form-object family: each ignores its
 * arguments and returns 0. */
CMNW_API int32_t QRMPARMB(void *object, int32_t parameter, uint8_t value) CMNW_NOEXCEPT;
CMNW_API int32_t QRMPARMW(void *object, int32_t parameter, uint16_t value) CMNW_NOEXCEPT;
CMNW_API int32_t QRMPARMDW(void *object, int32_t parameter, uint32_t value) CMNW_NOEXCEPT;
CMNW_API int32_t QRMPARMPFN(void *object, int32_t parameter, void (*value)(void)) CMNW_NOEXCEPT;
CMNW_API int32_t QRMPARMPTR(void *object, int32_t parameter, void *value) CMNW_NOEXCEPT;
CMNW_API int32_t QRMPARMMEMH(void *object, int32_t parameter, MEMLIST value) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
