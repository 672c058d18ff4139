/* Keyword option texts: entries such as KEYWORD(value), separated by commas
 * and white space, with bare keywords as flags.
 *
 * Each parser tries to take one named keyword (matched without regard to
 * case) from the front of the text at *cursor. When the text does not start
 * with the keyword, or starts with a longer word, it returns 0 and leaves the
 * cursor and the text untouched, so the same position can be offered to
 * several keywords in turn. On a match it returns 1 and moves *cursor past
 * the entry, the white space after it, one comma and the white space after
 * that.
 *
 * The value forms take "(value)"; parentheses inside the value nest, and
 * white space around the value is dropped. The text is cut in place: the
 * closing parenthesis and the white space before it become NUL bytes, so the
 * value is a NUL-terminated text inside the caller's buffer.
 *
 * Malformed entries are reported through UTLPlatformError (where: the
 * parser's own name, error number 0, detail 0; messages are cut to 255
 * characters) and give 0:
 *   no "(" after the keyword: "Error: Invalid parameter <...>.\n", cursor at
 *     the character found;
 *   no matching ")": "Error: Unbalanced parentheses on <...>.\n", cursor just
 *     past the "(";
 *   a value that does not convert: cursor already past the entry.
 * Null or empty arguments give 0 without a report.
 *
 * Threads: the parsers keep no state and may run on several threads at once;
 * their reports go through the error notifier (errors.h), which must then be
 * safe to call from those threads. */
#ifndef CMNW32_KEYWORD_H
#define CMNW32_KEYWORD_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* keyword(text): *value points at the value text inside the buffer. */
CMNW_API int32_t UTLParseKeywordStr(char **cursor, char **value,
                                    const char *keyword) CMNW_NOEXCEPT;

/* keyword(integer): a decimal number (sign allowed; an empty value is 0)
 * from -2147483648 to 2147483647. Other characters: "Error: Invalid interger
 * value <v>.\n"; out of range: "Error: Interger value is too large <v>.\n"
 * or "... too small <v>.\n". *value is set only on success. */
CMNW_API int32_t UTLParseKeywordInt(char **cursor, int32_t *value,
                                    const char *keyword) CMNW_NOEXCEPT;

/* The same as UTLParseKeywordInt, reporting under its own name. */
CMNW_API int32_t UTLParseKeywordLong(char **cursor, int32_t *value,
                                     const char *keyword) CMNW_NOEXCEPT;

/* A bare flag: the keyword followed by white space, a comma or the end of
 * the text (a following "(" does not match). Sets *value to 1. */
CMNW_API int32_t UTLParseKeywordBool(char **cursor, int32_t *value,
                                     const char *keyword) CMNW_NOEXCEPT;

/* keyword(number): a decimal floating-point number ("." as the decimal
 * point whatever the C locale; an empty value is 0). Anything else:
 * "Error: Invalid double value <v>.\n"; beyond the range of a double:
 * "Error: Value out of range <v>.\n". *value is set only on success. */
CMNW_API int32_t UTLParseKeywordDouble(char **cursor, double *value,
                                       const char *keyword) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
