/* Bar code types: the table of symbologies a form field can be printed in,
 * with their guard patterns, length limits, element widths and symbol pattern
 * tables, and validation of field data against a type.
 *
 * Threads: the bar types are constant data; every function here may run on
 * several threads at once. */
#ifndef CMNW32_BARCODE_H
#define CMNW32_BARCODE_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* Maximum length of the variable-length types. */
#define UTL_BARCODE_VARIABLE 254

/* One bar code type. Packed, no gaps, fields in this order: 22 bytes with
 * 4-byte pointers, 38 bytes on LP64 (8-byte pointers). The table is an array
 * of these records ended by one whose typeLetter is 0.
 *
 * Pattern texts are digit strings. Start and stop patterns and the symbol
 * patterns of Code 39, Codabar and Interleaved 2 of 5 write each element as
 * 0 (narrow) or 1 (wide), bar first; MSI writes each bit as "01" (0) or "10"
 * (1); Code 128 and Code 93 write each element's width in modules minus one.
 * widths is read in pairs: bar width and space width in modules for element
 * class 0, 1, 2, 3 in turn. */
#pragma pack(push, 1)
typedef struct UTLBarType {
    char typeLetter;                 /* "A".."Z", "1", "4"; 0 ends the table */
    const char *startPattern;        /* null when there is none */
    const char *stopPattern;         /* null when there is none */
    uint16_t maxLength;              /* data characters; 254 = variable */
    uint16_t reserved;               /* 0 */
    const char *widths;              /* element widths, pairs per class */
    const char *const *patterns;     /* symbol pattern table, or null */
    char firstChar;                  /* what patterns[0] encodes */
} UTLBarType;
#pragma pack(pop)

/* The record of type letter type (compared exactly: upper case), or null for
 * an unknown letter. The record is constant and owned by the library. */
CMNW_API const UTLBarType *UTLFindBarType(char type) CMNW_NOEXCEPT;

/* The maximum data length of the type named by the first character of type;
 * 0 for an unknown type or a null type. */
CMNW_API int16_t UTLBarcodeMaxLen(const char *type) CMNW_NOEXCEPT;

/* The character ch as the type named by type's first character accepts it at
 * position pos of data dataLen characters long, or 0 when it is refused there.
 * Code 39 and Code 93 types take digits, upper-case letters (a lower-case one
 * is returned in upper case), "-", ".", blank, "$", "/", "+" and "%";
 * Codabar types take a start/stop character "a".."d" ("A".."D" are returned in
 * lower case) at the first and last positions and digits, "-", "$", ":", "/",
 * "." and "+" elsewhere; Code 128 types take any character below 0x80; all
 * others take digits only. Positions at or past the type's maximum length are
 * refused. */
CMNW_API char UTLBarcodeChar(const char *type, char ch, uint16_t pos, uint16_t dataLen) CMNW_NOEXCEPT;

/* Validates dataLen characters of data against the type named by type's first
 * character: 0 valid (also for dataLen 0), 1 a character is refused, 2 too
 * long (also for any data of an unknown type), 4 too short. Fixed-length types
 * need exactly their maximum length; POSTNET ("Z") also takes 5 or 9 digits
 * and Intelligent Mail ("4") 20, 25 or 29. A negative dataLen counts as 0. */
CMNW_API int32_t FMTValBarcode(const char *data, int dataLen, const char *type) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
