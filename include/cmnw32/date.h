/* Dates: format descriptors, parsing and printing of date texts, calendar
 * rules, date arithmetic and the local clock.
 *
 * A date is three signed 32-bit integers: month 1..12, day 1..31 and year,
 * either a two-digit year 0..99 or a full year 1800..3000. Two-digit years
 * become full years through the century window (FMTCentury).
 *
 * A date format descriptor is a short text (at most 31 characters; only the
 * first 31 are ever read) made of:
 *   1. a format code "1".."9" or "A".."R" (either case) for the formats 1..27;
 *      any other character means format 1, and a descriptor beginning "99"
 *      means format 1 with "/" and year length 0 whatever follows;
 *   2. an optional separator, one of "/-., " or "b"/"B" for a blank;
 *   3. a year digit: "2" two digits (year length 2), "3" two digits, strict
 *      (-2), "4" four digits (4), "5" four digits, strict (-4); anything else
 *      gives year length 0;
 *   4. optionally, anywhere, "<" (print lower case) or ">" (upper case).
 * The built-in default descriptor is "1/4".
 *
 * Formats (order; month shown as; default separator):
 *    1 M-D-Y number "/"     2 D-M-Y number "/"      3 Y-M-D number "/"
 *    4 M-D-Y full name ","  5-7 as 1-3, numbers unpadded
 *    8-10 as 1-3, numbers blank-padded to 2         11-13 as 1-3, no separator
 *   14 M-D-Y abbrev none   15 D-M-Y abbrev none    16 Y-M-D abbrev none
 *   17 day of year, year "/"                       18 year, day of year "/"
 *   19 D-M-Y full name "," 20 Y-M-D full name ","
 *   21-23 as 14-16 with "-"   24-26 as 4/19/20 with abbreviations
 *   27 the full month name alone
 * Month and day names come from the current locale (see locale.h); names in
 * input are matched under the host locale when one is set (FMTSetHostLocale).
 *
 * Encoding: date texts in and out are single-byte code page 1252 (ISO 8859-1
 * for every letter the locales use), like the locale's names: March in
 * German is "M\xE4rz". A UTF-8 text must be narrowed first (UTLUtf8ToAnsi,
 * unicode.h; "M\xC3\xA4rz 3, 2008" as UTF-8 otherwise fails with 1) and a
 * result widened with AnsiToUtf8 to show it as UTF-8.
 *
 * Locale arguments (FMTIntlValDate, FMTDeformatDate) ignore their first
 * character: write " DEM", not "DEM" (which names the locale "EM"; see
 * locale.h). Functions that rewrite a text in place write to it only when it
 * changes, so a text already in its final form may be a constant.
 *
 * Process-wide state: the century pivot (read from the configuration once),
 * the host locale and the stored default descriptor. No function here
 * reports through the error notify functions.
 *
 * Threads: every function here may run on any number of threads at once,
 * with or without a locale argument, also while another thread changes the
 * current locale, the host locale or the stored default descriptor. A call
 * works in one locale from start to end (the argument's, else the one
 * current when it began; see locale.h), and reads the host locale and the
 * default descriptor each as a whole, as they stood before or after a
 * change. The first read of the configuration and the century pivot is made
 * once even when threads race to it. Names returned (FMTMonthName ...) stay
 * readable for the life of the process. */
#ifndef CMNW32_DATE_H
#define CMNW32_DATE_H

#include <time.h>

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* ---- descriptors ------------------------------------------------------- */

/* The date separators "/-., " (a constant text of the library). */
CMNW_API const char *FMTDateSepStr(void) CMNW_NOEXCEPT;

/* Non-zero when ch is one of the date separators "/-., " (0 is none). */
CMNW_API int FMTIsDateSep(int ch) CMNW_NOEXCEPT;

/* The date format number 1..27 of descriptor (1 for a null descriptor). */
CMNW_API int FMTGetDateFmtNum(const char *descriptor) CMNW_NOEXCEPT;

/* Writes the separator of descriptor into sep (at least 2 bytes): one
 * character, or "" for the formats without a separator (11-16, 27). Formats
 * 4, 19, 20, 24-26 default to "," (a "/" in the descriptor keeps ","), 21-23
 * to "-", the others to "/". Returns 0. */
CMNW_API int FMTGetDateFmtSep(const char *descriptor, char *sep) CMNW_NOEXCEPT;

/* The year length of descriptor: 2, -2, 4, -4 or 0. */
CMNW_API int FMTGetDateFmtYrLen(const char *descriptor) CMNW_NOEXCEPT;

/* Builds a descriptor from its parts into out (at most 3 characters and the
 * NUL): the code of fmtNum ("1" outside 1..27), the first character of sep
 * when it is a date separator or "b" (a leading "B" is changed to "b" in the
 * caller's sep too; a blank is written "b"), and the year digit of yrLen
 * (2, 4, -2 or 3 as "3", -4 or 5 as "5"; none for other values). A null sep
 * adds no separator. Returns 0. */
CMNW_API int FMTGetDateFmtString(char *out, int fmtNum, char *sep, int yrLen) CMNW_NOEXCEPT;

/* Writes the printf template that prints a date of format fmtNum with the
 * separator text sep and year length yrLen into out (40 bytes; a longer
 * template is cut), e.g. "%02d/%02d/%04d" for 1, "/", 4, or "%s %d, %04d"
 * for 4, ",", 4. Name formats print the separator followed by a blank unless
 * it is itself a blank. Returns 0. */
CMNW_API int FMTGetDateFmtSprintf(char *out, int fmtNum, const char *sep, int yrLen) CMNW_NOEXCEPT;

/* Decodes descriptor into each output whose pointer is not null: format
 * number, separator (2 bytes), year length and template (40 bytes, as
 * FMTGetDateFmtSprintf). Returns 0. */
CMNW_API int FMTGetDateFmtInfo(const char *descriptor, int *fmtNum, char *sep, int *yrLen,
                               char *templ) CMNW_NOEXCEPT;

/* Parses a date text (at most its first 255 characters, blanks around it
 * ignored) laid out as format fmtNum; every date separator is accepted and
 * sep is not consulted. Month names (full or abbreviated, any case) are
 * matched under the host locale; a leading name forces month-day-year. Texts
 * without separators are read as runs of digits (two-digit fields, the year
 * four digits when the text has 7 or 8 characters) or digits around a name.
 * The year must be below 100 or within 1800..3000; year length -2 rejects
 * full years, -4 two-digit years, 4 widens the year with FMTCentury, and 2
 * gives a year inside the century window back as two digits; the day must
 * fit the month. Returns 0 with the three values for a valid date. Returns 1
 * otherwise: for a date that fails the checks the outputs are all 0; for a
 * text that cannot be read at all they hold what had been read (month and
 * day 0, the year preset to the current local year minus 1900). Null outputs
 * are skipped. */
CMNW_API int FMTGetDateFmtValues(const char *text, int fmtNum, const char *sep, int yrLen,
                                 int *month, int *day, int *year) CMNW_NOEXCEPT;

/* Writes the date in the layout of descriptor into out (at most 63
 * characters and the NUL: callers hold 64 bytes). The values are printed as
 * given, without validation; year length 4 or -4 widens a two-digit year, 2
 * prints a year inside the century window with two digits, -2 always prints
 * year % 100. Formats 17 and 18 print the day of year. A month outside 1..12
 * prints no name in the name formats. "<" in descriptor makes the text lower
 * case, ">" upper case. Returns 0 (1 for a null out). */
CMNW_API int FMTMakeDate(char *out, const char *descriptor, int month, int day,
                         int year) CMNW_NOEXCEPT;

/* The stored default descriptor ("1/4" at load). mode 'G' copies it into
 * descriptor (32 bytes, cleared first); 'S' stores descriptor (its first 31
 * characters) as the new default; any other mode resets the default to "1/4"
 * and writes "1/4" into descriptor (32 bytes, cleared first). A null
 * descriptor is skipped. Returns 0. */
CMNW_API int FMTDefDateFormat(char *descriptor, char mode) CMNW_NOEXCEPT;

/* ---- calendar ---------------------------------------------------------- */

/* The full year of a year value: years of 1000 or more and 100..999 are
 * returned unchanged; 0..99 (and negative values) are widened through the
 * century pivot, read once per process from INI "Control"/"DateFmt2To4Year"
 * (default 50; a value outside 0..99 counts as 0): below the pivot 2000 +
 * year, otherwise 1900 + year; with pivot 0, FMTBaseYear() + year. */
CMNW_API int FMTCentury(int year) CMNW_NOEXCEPT;

/* The first year of the current century of the local clock (2000 for any
 * local year 2000..2099). */
CMNW_API int FMTBaseYear(void) CMNW_NOEXCEPT;

/* 1 when year (widened by FMTCentury) lies within 1800..3000 and is a
 * Gregorian leap year, else 0. */
CMNW_API int FMTIsLeapYear(int year) CMNW_NOEXCEPT;

/* 366 for a leap year (FMTIsLeapYear), else 365. */
CMNW_API int FMTDaysInYear(int year) CMNW_NOEXCEPT;

/* The length of month 1..12 in year (February by FMTIsLeapYear); 0 for any
 * other month. */
CMNW_API int FMTDaysInMonth(int month, int year) CMNW_NOEXCEPT;

/* ---- names ------------------------------------------------------------- */

/* Sets the host locale, under which month names in input are matched (at
 * most 7 characters are kept; null empties it). It does not change the
 * current locale. */
CMNW_API void FMTSetHostLocale(const char *name) CMNW_NOEXCEPT;

/* Copies the host locale into dst (8 bytes) and returns dst; with a null dst
 * returns a text of the calling thread (its next such call overwrites it). */
CMNW_API char *FMTGetHostLocale(char *dst) CMNW_NOEXCEPT;

/* The current locale's full name of month 1..12, abbreviation of month
 * 1..12, and name of day 1..7 (1 = Sunday); null for other numbers. The text
 * belongs to the library and reads the same until the locale changes. */
CMNW_API const char *FMTMonthName(int month) CMNW_NOEXCEPT;
CMNW_API const char *FMTMonthName3(int month) CMNW_NOEXCEPT;
CMNW_API const char *FMTDayName(int day) CMNW_NOEXCEPT;

/* ---- local clock ------------------------------------------------------- */

/* The local broken-down time of *t. The time zone is taken from the
 * environment on the first call. Returns a record of the calling thread
 * (its next call overwrites it; other threads have their own), or null for a
 * null t or an unrepresentable time. */
CMNW_API struct tm *UTLLocalTime(const time_t *t) CMNW_NOEXCEPT;

/* ---- arithmetic on date texts ------------------------------------------ */
/* Each parses text under descriptor as FMTGetDateFmtValues does (a null text
 * never parses). */

/* The day of month, month and year of the date, as the parser left them
 * (0 for a date that fails the checks). FMTYear always parses with year
 * length 4, so a two-digit year comes back widened. */
CMNW_API int FMTDayOfMonth(const char *text, const char *descriptor) CMNW_NOEXCEPT;
CMNW_API int FMTMonthOfYear(const char *text, const char *descriptor) CMNW_NOEXCEPT;
CMNW_API int FMTYear(const char *text, const char *descriptor) CMNW_NOEXCEPT;

/* The day of year 1..366 of the date as the parser left it (0 when the day
 * is 0). */
CMNW_API int FMTDayOfYear(const char *text, const char *descriptor) CMNW_NOEXCEPT;

/* The day of week 1..7 (1 = Sunday), or 0 when the text does not parse. */
CMNW_API int FMTDayOfWeek(const char *text, const char *descriptor) CMNW_NOEXCEPT;

/* The number of days, whole months or whole years between two dates, in
 * either order (0 or more), or -1 when either text does not parse.
 * FMTDiffMonths counts the last, partial month as whole when the later day
 * is at least the earlier day, or when both days are the last days of their
 * months, each judged in its own month and year (1/31 to 2/28 is one month).
 * FMTDiffYears gives 0 for two dates of the same year; otherwise the later
 * year minus the earlier year minus 1, plus 1 when the later month is after
 * the earlier month, or is the same month and either the later day is at
 * least the earlier day or both are last days of the month - the earlier
 * day judged in its month of the year just before the later year, the later
 * in its own. So 2/29/2004 to 2/28/2005 is one year (February 2004 ends on
 * the 29th), but 2/29/2656 to 2/28/2658 is one year, not two (February 2657
 * ends on the 28th), while FMTDiffMonths gives 24 months for it. */
CMNW_API int FMTDiffDays(const char *text1, const char *descriptor1, const char *text2,
                         const char *descriptor2) CMNW_NOEXCEPT;
CMNW_API int FMTDiffMonths(const char *text1, const char *descriptor1, const char *text2,
                           const char *descriptor2) CMNW_NOEXCEPT;
CMNW_API int FMTDiffYears(const char *text1, const char *descriptor1, const char *text2,
                          const char *descriptor2) CMNW_NOEXCEPT;

/* Adds days, then months, then years (each may be negative) to the date in
 * text and writes the result back into text (64 bytes) under descriptor. A
 * day beyond the end of the resulting month becomes its last day (1/31 + 1
 * month is 2/28). A two-digit year stays two digits when the result lies in
 * the century window. Returns 0, or 65535 when text does not parse (text
 * unchanged). */
CMNW_API int FMTDateAdd(char *text, const char *descriptor, int days, int months,
                        int years) CMNW_NOEXCEPT;

/* Writes today's local date into out (64 bytes) under descriptor. Returns 0
 * (1 for a null out). */
CMNW_API int FMTDate(char *out, const char *descriptor) CMNW_NOEXCEPT;

/* ---- validation and conversion of date texts ---------------------------- */
/* A locale argument ignores its first character; the rest names a locale
 * made current for the length of the call (" DEM"); null or "" names none.
 * A date separator alone, or two with only blanks between them, is a blank
 * date (no date). Input texts are cut to 61 characters before parsing. */

/* Validates the date typed in text (at most min(maxLen, 61) characters are
 * read) and, when valid, rewrites it in the canonical form of descriptor
 * (text must hold 64 bytes). A blank date is rewritten as the blank picture:
 * " " for formats 4, 19, 20 and 24-27, "  /  " for 17 and 18, "  /  /  "
 * for the others (with the descriptor's separator, none for the formats
 * without one). Returns 0 for a valid, blank or empty entry, 1 otherwise
 * (text unchanged). */
CMNW_API int FMTIntlValDate(char *text, unsigned maxLen, const char *descriptor,
                            const char *locale) CMNW_NOEXCEPT;

/* Parses at most min(maxLen, 61) characters of text under descriptor and,
 * on success, writes the date back under the same descriptor (64 bytes).
 * Returns 0, or 1 (text unchanged; an empty or blank text fails). */
CMNW_API int FMTDeformatDate(char *text, unsigned maxLen, const char *descriptor,
                             const char *locale) CMNW_NOEXCEPT;

/* Clears outSize bytes of out and writes the picture of descriptor, e.g.
 * "MM/DD/YYYY" for 1/4, "DD.MM.YY" for 2.2, "DD MonthName, YYYY" for J4.
 * Returns 0, or 2 when the picture and its NUL do not fit (out stays
 * cleared). */
CMNW_API int FMTDateFormatString(const char *descriptor, char *out,
                                 unsigned outSize) CMNW_NOEXCEPT;

/* Converts a date text from one layout into out (64 bytes); a null
 * descriptor means the stored default (FMTDefDateFormat). A descriptor
 * beginning with "X" or "x" stands for a hextime (time.h): from one, the
 * local date of the hextime is converted; to one, out receives the hextime
 * of local midnight of the date without daylight saving, or of the day's
 * first instant when the clock jumped over its midnight (9 bytes), and the
 * result is 0 even for a text that does not parse. Returns 0, or 1 when the
 * text does not parse (out untouched). */
CMNW_API int FMTDate2Date(const char *text, const char *fromDescriptor, char *out,
                          const char *toDescriptor) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
