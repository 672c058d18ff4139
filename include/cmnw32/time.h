/* Times: time format descriptors, parsing and printing of time texts, time
 * arithmetic, the hextime stamp, and text timestamps of the C library's
 * broken-down time.
 *
 * A time is hour 0..23, minute 0..59 and second 0..59 as signed 32-bit
 * integers. A time format descriptor is a short text (only its first 31
 * characters are read): a format digit and an optional separator.
 *   "1" HH:MM:SS (24-hour)        "2" HH:MM:SS xM (12-hour, AM/PM)
 *   "3" HH:MM    (24-hour)        "4" HH:MM xM    (12-hour, AM/PM)
 * Any other first character means "1". The second character is the
 * separator: one of ":-., ", "b"/"B" for a blank, anything else ":". The
 * built-in default descriptor is "1:". The markers are always "AM" and "PM".
 *
 * A hextime is 8 upper-case hexadecimal digits holding the 32-bit value
 * (t - 2085863296) modulo 2^32, t being seconds since 1970-01-01 00:00 UTC.
 * Reading adds 2085863296 back modulo 2^32, except that 0 stays 0. Times are
 * turned into local time through the C library and the TZ variable.
 *
 * Process-wide state: the stored default descriptor and the current locale
 * used for names. No function here reports through the error notify
 * functions.
 *
 * Threads: as for dates (date.h): every function here may run on any number
 * of threads at once, also while another thread changes the current locale
 * or the stored default descriptor. FMTGetStrTime works in the locale
 * current when it began, and after a "%@" in the locale that names, for the
 * rest of the call only: the current locale is never switched. */
#ifndef CMNW32_TIME_H
#define CMNW32_TIME_H

#include <stdint.h>
#include <time.h>

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* The date-time record (16 bytes, no padding): full year, month 1..12, day
 * of month, hour, minute, second and fraction of a second. */
typedef struct FMTDateTimeRec {
    int16_t year;
    uint16_t month;
    uint16_t day;
    uint16_t hour;
    uint16_t minute;
    uint16_t second;
    uint32_t fraction;
} FMTDateTimeRec;

/* ---- descriptors ------------------------------------------------------- */

/* The time separators ":-., " (a constant text of the library). */
CMNW_API const char *FMTTimeSepStr(void) CMNW_NOEXCEPT;

/* Non-zero when ch is one of the time separators ":-., " (0 is none). */
CMNW_API int FMTIsTimeSep(int ch) CMNW_NOEXCEPT;

/* The time format number 1..4 of descriptor (1 for a null descriptor or any
 * other first character). */
CMNW_API int FMTGetTimeFmtNum(const char *descriptor) CMNW_NOEXCEPT;

/* Writes the separator of descriptor into sep (2 bytes): its second
 * character when that is a time separator, a blank for "b"/"B", else ":". */
CMNW_API void FMTGetTimeFmtSep(const char *descriptor, char *sep) CMNW_NOEXCEPT;

/* Builds a descriptor into out (at most 2 characters and the NUL): the digit
 * of fmtNum ("1" outside 1..4), then the first character of sep when it is a
 * time separator or "b" (a blank is written "b"; a leading "B" is changed to
 * "b" in the caller's sep too). A null sep adds nothing. Returns 0. */
CMNW_API int FMTGetTimeFmtString(char *out, int fmtNum, char *sep) CMNW_NOEXCEPT;

/* Writes the printf template of format fmtNum with the separator text sep
 * into out (40 bytes; a longer template is cut): "%02d<sep>%02d<sep>%02d"
 * for 1 and 2 (and numbers outside 1..4), "%02d<sep>%02d" for 3 and 4, with
 * " %s" appended for 2 and 4. A null sep counts as "". Returns 0. */
CMNW_API int FMTGetTimeFmtSprintf(char *out, int fmtNum, const char *sep) CMNW_NOEXCEPT;

/* Decodes descriptor into each output whose pointer is not null: format
 * number, separator (2 bytes) and template (40 bytes). Returns 0. */
CMNW_API int FMTGetTimeFmtInfo(const char *descriptor, int *fmtNum, char *sep,
                               char *templ) CMNW_NOEXCEPT;

/* The stored default time descriptor ("1:" at load). mode 'G' copies it into
 * descriptor (32 bytes, cleared first); 'S' stores descriptor (its first 31
 * characters); any other mode resets it to "1:" and writes "1:" into
 * descriptor (32 bytes, cleared first). A null descriptor is skipped.
 * Returns 0. */
CMNW_API int FMTDefTimeFormat(char *descriptor, char mode) CMNW_NOEXCEPT;

/* Writes the picture of descriptor into out, after clearing outSize bytes:
 * "HH:MM:SS", "HH:MM:SS xM", "HH:MM" or "HH:MM xM" with the descriptor's
 * separator. Returns 0, or 2 when the picture and its NUL do not fit (out
 * stays cleared). */
CMNW_API int FMTTimeFormatString(const char *descriptor, char *out,
                                 unsigned outSize) CMNW_NOEXCEPT;

/* "AM" for hours 0..11, "PM" for 12..23, "" for any other value. */
CMNW_API const char *FMTHour12Name(int hour) CMNW_NOEXCEPT;

/* ---- parsing, validating, making --------------------------------------- */

/* Parses a time (at most 255 characters, blanks around it ignored). With a
 * time separator, the fields are the leading numbers of the pieces between
 * separators (runs count as one): hour, minute, then second or an AM/PM
 * word; a fourth piece is the AM/PM word. Without one, the text must be
 * hhmmss (6 characters, formats 1 and 2) or hhmm (4 characters, formats 3
 * and 4). The word is compared over its first two letters in any case: AM
 * turns 12 into 0 and rejects hours above 11, PM adds 12 to hours below 12.
 * A text that does not begin with a digit fails. sep is not consulted.
 * Returns 0 for a valid time, else 1 with the outputs as far as they were
 * read. marker (3 bytes) receives "AM", "PM" or "". Null outputs are
 * skipped. */
CMNW_API int FMTGetTimeFmtValues(const char *text, int fmtNum, const char *sep, char *marker,
                                 int *hour, int *minute, int *second) CMNW_NOEXCEPT;

/* Validates the time typed in text (at most min(maxLen, 14) characters are
 * read) and rewrites it in the canonical form of descriptor (at most 11
 * characters and the NUL). A lone separator, or two separators with only
 * blanks between them, is a blank time: text becomes "  :  " (formats 3 and
 * 4) or "  :  :  " with the descriptor's separator. Returns 0 for a valid,
 * blank or empty entry, 1 otherwise (text unchanged). */
CMNW_API int FMTValTime(char *text, unsigned maxLen, const char *descriptor) CMNW_NOEXCEPT;

/* Parses at most min(maxLen, 14) characters of text and, when they are a
 * valid time, writes it back under descriptor (12 bytes). Returns 0, or 1
 * (text unchanged; an empty text fails). */
CMNW_API int FMTDeformatTime(char *text, unsigned maxLen, const char *descriptor) CMNW_NOEXCEPT;

/* Writes the time in the layout of descriptor into out. The values are
 * printed as given; the 12-hour layouts print hour 0 as 12 and hours above
 * 12 less 12, with the marker of FMTHour12Name. A valid time needs 12 bytes,
 * any values at most 40. Returns 0 (1 for a null out). */
CMNW_API int FMTMakeTime(char *out, const char *descriptor, int hour, int minute,
                         int second) CMNW_NOEXCEPT;

/* ---- parts and arithmetic ---------------------------------------------- */
/* Each parses its text under its descriptor as FMTGetTimeFmtValues does. */

/* The hour (after the AM/PM adjustment), minute or second as the parser left
 * it, whether or not the text was valid: a field not reached gives 0, an
 * out-of-range field that was read comes back as read. */
CMNW_API int FMTHourOfTime(const char *text, const char *descriptor) CMNW_NOEXCEPT;
CMNW_API int FMTMinuteOfTime(const char *text, const char *descriptor) CMNW_NOEXCEPT;
CMNW_API int FMTSecondOfTime(const char *text, const char *descriptor) CMNW_NOEXCEPT;

/* The distance between two times of day (never across midnight), in
 * seconds, whole minutes or whole hours; -1 when either does not parse. */
CMNW_API int FMTDiffSeconds(const char *text1, const char *descriptor1, const char *text2,
                            const char *descriptor2) CMNW_NOEXCEPT;
CMNW_API int FMTDiffMinutes(const char *text1, const char *descriptor1, const char *text2,
                            const char *descriptor2) CMNW_NOEXCEPT;
CMNW_API int FMTDiffHours(const char *text1, const char *descriptor1, const char *text2,
                          const char *descriptor2) CMNW_NOEXCEPT;

/* Adds seconds, minutes and hours to the time in text and writes it back
 * under descriptor. Each field carries once into the next (a second above 59
 * loses 60 and adds a minute, an hour above 23 loses 24); amounts beyond one
 * carry or negative amounts leave the fields unnormalised, so pass seconds
 * and minutes in 0..59 and hours in 0..23. text must hold 12 bytes (40 for
 * unnormalised results). Returns 0, or 65535 when text does not parse. */
CMNW_API int FMTTimeAdd(char *text, const char *descriptor, int seconds, int minutes,
                        int hours) CMNW_NOEXCEPT;

/* Writes the current local time under descriptor into out (12 bytes).
 * Returns 0 (1 for a null out). */
CMNW_API int FMTTime(char *out, const char *descriptor) CMNW_NOEXCEPT;

/* Converts a time text from one layout to another into out (12 bytes); a
 * null descriptor means the stored default. A fromDescriptor beginning with
 * "X" or "x" reads text as a hextime (its local time of day). Returns 0, or 1
 * when the text does not parse (out untouched). */
CMNW_API int FMTTime2Time(const char *text, const char *fromDescriptor, char *out,
                          const char *toDescriptor) CMNW_NOEXCEPT;

/* ---- hextime ----------------------------------------------------------- */

/* Writes the hextime of the current clock into out (9 bytes). Returns 0
 * (1 for a null out). */
CMNW_API int FMTGetXATime(char *out) CMNW_NOEXCEPT;

/* The time (seconds since 1970, 0..4294967295) of a hextime read as up to 8
 * hexadecimal digits after any leading white space; 0 for a null text or the
 * value 0. */
CMNW_API long FMTGetLTime(const char *hextime) CMNW_NOEXCEPT;

/* Writes the hextime of t into out (9 bytes): (t - 2085863296) modulo 2^32
 * as 8 upper-case hexadecimal digits. Returns 0 (1 for a null out). */
CMNW_API int FMTFillHEXTime(char *out, long t) CMNW_NOEXCEPT;

/* Writes the hextime of the local broken-down time *local (normalised in
 * place by the C library's mktime) into out (9 bytes). A local time the
 * clock jumped over, so that mktime cannot place it, gives the hextime of
 * the first instant of its day, the instant of the jump (under
 * TZ=Australia/Lord_Howe, 03/01/1981 00:00 with tm_isdst 0 gives the
 * instant the clocks went from 23:59:59 to 00:30), and *local becomes the
 * local time of that instant. Returns 0 (1 for a null argument). */
CMNW_API int FMTMakeXATime(char *out, struct tm *local) CMNW_NOEXCEPT;

/* Clears outSize bytes of out and writes the local date of the hextime as
 * "%m/%d/%Y" (11 bytes). Returns 0, or 65535 when the time has no local
 * time (or out is null). */
CMNW_API int FMTHextime2Date(const char *hextime, char *out, unsigned outSize) CMNW_NOEXCEPT;

/* Reads date as "%m/%d/%Y" (FMTGetTMTime), clears outSize bytes of out and
 * writes the hextime of local midnight of that day, daylight saving not in
 * force (9 bytes); on a day whose midnight the clock jumped over, the
 * hextime of its first instant, the instant of the jump (FMTMakeXATime).
 * Returns 0 (1 for a null argument). */
CMNW_API int FMTDate2Hextime(const char *date, char *out, unsigned outSize) CMNW_NOEXCEPT;

/* Clears outSize bytes of out and writes the local time of day of the
 * hextime as "%H:%M:%S" (9 bytes). Returns 0 (1 for a null out). */
CMNW_API int FMTHextime2Time(const char *hextime, char *out, unsigned outSize) CMNW_NOEXCEPT;

/* Clears *out and fills it with the local broken-down time of the hextime.
 * Returns 0, or 65535 when the time has no local time (*out stays cleared)
 * or out is null. */
CMNW_API int FMTHextime2TMTime(const char *hextime, struct tm *out) CMNW_NOEXCEPT;

/* Fills the 16-byte date-time record (FMTDateTimeRec) from the current local
 * time, fraction 0. Returns 0, or 1 when the local time cannot be had or
 * record is null. */
CMNW_API int FMTGetDatetime(void *record) CMNW_NOEXCEPT;

/* ---- text timestamps --------------------------------------------------- */

/* Writes *time as text under format into out, after clearing outSize bytes.
 * Conversions: %A day name, %B month name, %b month abbreviation (names of
 * the current locale), %H hour, %I hour on a 12-hour dial (0 prints 00),
 * %M, %S, %Y, %y, %d, %j, %m, %w as strftime, %p "AM"/"PM"; any other letter
 * is copied without the "%" ("%%" gives "%"). Flags between "%" and the
 * letter, in this order: "#" prints the next number (except %Y, %y) without
 * padding; "<" lower case, "<>" capitalised, ">" upper case for the next
 * name; "@" and three letters makes that locale current for the rest of the
 * call (restored before returning). Output stops at the first literal or
 * piece that does not fit whole in outSize - 1 characters. Returns the count
 * written plus the length of a piece left out; 0 for a null argument or
 * outSize 0, and 0 at once (what was written stays) when a name is asked for
 * a day or month out of range. */
CMNW_API int FMTGetStrTime(char *out, int outSize, const char *format,
                           const struct tm *time) CMNW_NOEXCEPT;

/* Clears *time and reads text (at most 255 characters) under format. Each
 * conversion skips to the next digits or letters it needs and ignores the
 * literal characters of the format: %H (0..24; also sets the day of month to
 * 1 when it is 0), %M, %S (0..59), %Y (not 0), %y (widened by FMTCentury),
 * %d (1..31), %j (1..366), %m (1..12) take up to 2, 3 or 4 digits; %B and %b
 * a month name of the host locale. The walk ends when text is used up. The
 * day of year (or, with %j, month and day) and the day of week are then
 * computed from the date read; daylight saving stays 0. Returns 0, or 1 for
 * a null argument or a field that fails its check (the fields read so far
 * stay). */
CMNW_API int FMTGetTMTime(const char *text, const char *format, struct tm *time) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
