/* Numeric pictures: fitting plain numbers into form field pictures, checking
 * pictures, converting them between the canonical form and a locale's
 * presentation, and reading formatted numbers back.
 *
 * A canonical picture (at most 32 characters) is written with:
 *   9        digit position, a zero shows as "0"
 *   Z z      digit position, leading zeros show as blanks
 *   $        currency position and digit position: one "$" floats to the
 *            left of the first digit, two or more fill the left side with "$"
 *   *        check-protection fill left of the digits (only after a "$")
 *   ,        thousands separator, blanked when no digit stands left of it
 *   .        decimal point (the first one; a second one is a literal)
 *   0        fraction position whose trailing zero is suppressed
 *   + -      sign position; after another sign or marker character a "+" or
 *            "-" is a literal
 *   ( )      parentheses shown for negative amounts
 *   CR DB DR credit and debit markers
 *   %        copied
 *   / : _ b  literals: a picture holding one is a mask (see FMTValNumFormat)
 *
 * Functions taking localeArg read the settings of the locale it names (its
 * first character is ignored, the rest is the name, e.g. " DEM"; "DEM" would
 * name "EM", an unknown locale with the "USD" values); the current locale
 * is not changed. Without one (null, or nothing after the first character)
 * they read the current locale.
 *
 * Encoding: pictures and plain numbers are ASCII; texts that come from a
 * locale (currency, markers, separators) and every presentation made from
 * them are single-byte code page 1252 / ISO 8859-1 ("\xA3" is the pound
 * sign). Widen a result with AnsiToUtf8 (unicode.h) to show it as UTF-8;
 * narrow UTF-8 input with UTLUtf8ToAnsi before FMTDeformatNum.
 *
 * Showing an amount in a locale's presentation takes two steps: fit the
 * plain number into the canonical picture, then convert the fitted value as
 * if it were a picture (digits and blanks are copied, the rest maps as the
 * picture's characters do). Fitting into a converted picture does not work
 * (it returns 3: "DM" or "," are not picture characters where they stand).
 *     char value[40] = "1234.5";
 *     char shown[64];
 *     if (FMTValNumFormat(10, "$ZZ,ZZ9.99", value) == 0)    (" $1,234.50")
 *         FMTConvertNumFormat(value, " DEM", sizeof shown - 1, shown);
 *     (shown is now " 1.234,50DM")
 * The presentation FMTConvertNumFormat makes of a text of n characters has
 *     n + (c - 1) * h + (r - 2) * m - t * k - d * p
 * characters, where c is the length of the locale's currency text (at most
 * 5) and h is 1 when the text holds a "$" (else 0); m is the number of CR,
 * DB and DR markers and r the length of the locale's marker text for each
 * (at most 3; sum them when they differ); k and p count the "," and "." of
 * the text, and t (d) is 1 when the locale's thousands (decimal) separator
 * is empty. So a text of at most 32 characters never gives more than 52: a
 * dst of 64 bytes passed with size 63 always receives it whole.
 *
 * Functions that cut or rewrite a text in place write to it only when it
 * changes, so a picture or value already in its final form may be a constant
 * (FMTValidNumericFormat("ZZ9.99") is safe).
 *
 * Threads: every function here may run on any number of threads at once,
 * with or without a locale argument, also while another thread changes the
 * current locale; each call reads one locale's settings from start to end. */
#ifndef CMNW32_NUMBER_H
#define CMNW32_NUMBER_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* Longest numeric picture. */
#define FMT_NUM_PICTURE_MAX 32

/* Fits the plain number in value ("-1234.5", "+12", "0.25"; blanks around it
 * allowed) into picture and rewrites value in place with the len characters
 * of the formatted field. picture is cut in place at its first blank and
 * value at len characters (its buffer holds len + 1 bytes).
 * Returns 0 when the value fits (also, without any change, for an empty
 * value); 1 when value is not a number the picture can take, or len is above
 * 32; 2 when value has more integer digits than the picture has room for; 3
 * when the picture is invalid or len differs from its length.
 * Fraction digits beyond the picture's fraction positions are dropped, never
 * rounded; the sign is the one written in value, so "-0.001" shows as a
 * negative amount of 0.00. A picture without sign or marker positions and with two or more
 * "Z" shows a negative amount with a leading "-" (its first "Z" gives up its
 * place). CR, DB, DR, "+", "-" and parentheses after the last digit position
 * show by the amount's sign, with or without a ".": CR, "-" and parentheses
 * only for negative amounts, DB and DR for others (a negative amount shows
 * CR in their place), "+" as the sign.
 * A mask picture (one holding a literal) is laid over the characters of value
 * position by position: "9" shows a blank as "0", "Z", "z" and "0" show a
 * "0" as a blank, "B" and "b" show a blank; every other picture character
 * ("(", ")", "+", "-", ".", "/", ":", "_", "$", ",", "*", "%", "C", "D", "R")
 * is shown as itself and steps over the same character in value. Value
 * characters other than digits, blanks, "-+_()/:." and the picture's own
 * character at that position return 1, as do values shorter than the mask or
 * with anything but blanks after it. */
CMNW_API int FMTValNumFormat(int len, char *picture, char *value) CMNW_NOEXCEPT;

/* Checks a canonical picture, cut in place at its first blank: 0 valid, 1
 * longer than 32 characters, 3 a character outside the alphabet above (":"
 * included) or a broken placement rule: "$" after a digit position, ".",
 * literal or "*"; "*" without an earlier "$" or after "9", "Z", a literal or
 * "."; "0" before the "."; "9" after a fraction "0"; "Z" after a "9" of the
 * integer part. Here "+" and "-" are always sign positions. A null picture
 * gives 3. */
CMNW_API int FMTValidNumericFormat(char *picture) CMNW_NOEXCEPT;

/* Writes the canonical picture in the presentation of the locale named by
 * localeArg into dst: "," and "." become the locale's separators, CR, DB, DR
 * its marker texts, the first "$" its currency text (on the right, before any
 * trailing marker or sign, when the locale places it after the amount); a
 * leading "(", "-" or "+" moves right next to the first following non-blank.
 * A result of at most size characters is copied whole (dst holds size + 1
 * bytes); a longer one is cut to size - 1 characters. Nothing is written when
 * dst is null; a null picture converts as "". */
CMNW_API void FMTConvertNumFormat(const char *picture, const char *localeArg, unsigned size,
                                  char *dst) CMNW_NOEXCEPT;

/* The reverse of FMTConvertNumFormat: turns a locale presentation back into a
 * canonical picture of at most 32 characters, cut to size characters, into
 * dst (size + 1 bytes, terminated). Trailing white space of text is removed
 * in place. */
CMNW_API void FMTUnconvertNumFormat(char *text, const char *localeArg, unsigned size,
                                    char *dst) CMNW_NOEXCEPT;

/* Replaces text (its first 32 characters after leading blanks) with the plain
 * number it shows: "-" when it is negative (a leading or trailing "-",
 * enclosing parentheses, or a trailing "CR"), then its digits in order and
 * the first ".". With a localeArg the locale's separators, currency and
 * markers are read first; with a null one the text is read as canonical.
 * Returns 0. */
CMNW_API int FMTDeformatNum(char *text, const char *localeArg) CMNW_NOEXCEPT;

/* 1 when ch may be typed into a numeric field of picture in the locale:
 * ch is one of the locale's valid numeric characters, or picture holds a "$"
 * and ch is part of the currency text; else 0. */
CMNW_API int UTLIsValidNumChar(unsigned char ch, const char *picture,
                               const char *localeArg) CMNW_NOEXCEPT;

/* The upper-case form of ch when it is the first letter of the locale's word
 * for yes or no (compared in upper case), else 0. unused is not read. */
CMNW_API int UTLGetValidYesNo(unsigned char ch, const char *unused,
                              const char *localeArg) CMNW_NOEXCEPT;

/* 1 when text holds a character that is not white space; 0 for blank,
 * empty or null text. */
CMNW_API int FMTIsNotBlank(const char *text) CMNW_NOEXCEPT;

/* 1 for the digits "1" to "9", else 0. */
CMNW_API int FMTIs1_9(char ch) CMNW_NOEXCEPT;

/* Inserts "," between groups of three integer digits of text in place
 * ("1234567.891" -> "1,234,567.891"). The buffer must hold strlen + strlen / 3
 * + 1 bytes. Grouping stops at the first blank left of the fraction (the text
 * is cut there). Returns 1; 0 when no work buffer could be had or text is
 * null. */
CMNW_API int FMTAddCommas(char *text) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
