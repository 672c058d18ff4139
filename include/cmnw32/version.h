/* Patch records and version reports.
 *
 * Every patched source unit of the suite carries a patch record, a text
 * constant compiled into its module that begins with a patch marker, for
 * example "@@QVS PATCH 11.2:P03:PCR 20987:400.112:..\C\utlctype:May 24
 * 2007:15:54:00:". The fields are separated by ":": marker word and release,
 * patch identifier (prefix letters and a number of at most three digits),
 * change request, component version, source file, build date, build time.
 * The scanner finds them by reading a file's bytes; the version report walks
 * a directory. The marker table with its counters and the end-of-file flag
 * are process-wide: one scan or check at a time per process.
 *
 * Threads: UTLGetVerInfo may run on any number of threads at once: each call
 * reads its module into a block of its own (only the language last read, for
 * modules without a translation entry, is shared). The patch scanner,
 * UTLShiftAndRead, the patch checks and UTLGetVersions use the process-wide
 * marker table and end-of-file flag: one at a time per process. */
#ifndef CMNW32_VERSION_H
#define CMNW32_VERSION_H

#include <stdio.h>

#include "cmnw32/api.h"
#include "cmnw32/mem.h"

CMNW_BEGIN_DECLS

/* Size of the scanner's read buffer for UTLShiftAndRead. */
#define UTL_PATCH_BUFFER_SIZE 4096

/* Scans the file at fileName (the suite's path form) for patch records. The
 * markers are "@@QVS PATCH", "@@RWT PATCH" and "@@3RD PATCH" in single bytes
 * and "@@MXTRLOG PATCH" and "@@RWT PATCH" in UTF-16LE. Each record with at
 * least two ":" is inserted, without its "@@" and with its NUL, into
 * recordList (MEMInsertItem), and the same text cut before its second ":"
 * (for example "QVS PATCH 11.2:P03") into summaryList (MEMInsertSummary).
 * A single-byte record runs to its NUL (or the end of the file), at most
 * 1023 characters; a UTF-16LE record runs to its third ":" within 513 bytes
 * (kept), or with only one or two ":" to at most 8 characters after the last
 * one, converted to UTF-8 (at most 255 bytes). Either list may be null (its
 * inserts are skipped). Returns 0, or 8 when the file cannot be opened; a
 * read error ends the scan with 0. */
CMNW_API int32_t UTLQueryPatchInfo(const char *fileName, MEMLIST recordList,
                                   MEMLIST summaryList) CMNW_NOEXCEPT;

/* The scanner's reader: moves the unread bytes buffer[pos, filled) to the
 * front of buffer (UTL_PATCH_BUFFER_SIZE bytes) and fills the rest from file.
 * Returns the number of bytes newly read. When the end of the file is
 * reached it closes file and sets the process-wide end-of-file flag; from
 * then on it returns 0 while unread bytes remain and -1 when none do, without
 * touching file. UTLQueryPatchInfo clears the flag when it starts and leaves
 * it set when it ends. A read error closes file and gives -1. Null pointers or
 * positions outside 0 <= pos <= filled <= UTL_PATCH_BUFFER_SIZE give -1 and
 * touch nothing. */
CMNW_API int32_t UTLShiftAndRead(char *buffer, int pos, int filled, FILE *file) CMNW_NOEXCEPT;

/* Resets the marker table (every counter to 0) and returns 0 when bytes
 * begin with one of the five markers (up to 30 bytes are compared; the
 * comparison stops at the first byte that differs), else 1 (also for null). */
CMNW_API int32_t UTLKVRVERComparePatch(const void *bytes) CMNW_NOEXCEPT;

/* A pointer to the n-th occurrence (n from 1) of the byte ch in text, or
 * null when text has fewer (also for null text or n < 1). */
CMNW_API char *UTLKVRVERFindChar(const char *text, int ch, int n) CMNW_NOEXCEPT;

/* Orders summary records: by marker word (first 3 characters), then by the
 * letters before the first digit of the patch identifier, then the shorter
 * number first, equal lengths without regard to case. A record without ":"
 * sorts last, an identifier without digits first; the release is not
 * compared, so P9 < P10 < UP1. Negative, 0 or positive; null sorts last. */
CMNW_API int32_t UTLKVRVERCompareFunc(const char *a, const char *b) CMNW_NOEXCEPT;

/* Orders records by their patch identifier (the text between the first and
 * the second ":", or the end): a missing field sorts last, the shorter field
 * first, equal lengths without regard to case. */
CMNW_API int32_t UTLKVRVERCompareFunc2(const char *a, const char *b) CMNW_NOEXCEPT;

/* Writes one report line for a summary record into line (at least 80 bytes
 * and at least strlen(summary) + 35). Call it on the summaries of a scan in
 * UTLKVRVERCompareFunc order: each marker entry counts the last patch number
 * seen per prefix. A number above the next expected one gives a line for the
 * first missing number ("QVS PATCH 11.2:P01" in a 25-character field, then
 * "* Not detected, see explanation below.") and the result 0: call again with
 * the same record for the next one. Otherwise the line is the record itself
 * (or, for a malformed identifier, the record in a 25-character field and a
 * "Problem with Patch Info" message) and the result 1. A null line gives 1
 * and writes nothing; a null summary writes "". */
CMNW_API int32_t UTLKVRVERCheckConsecutive(const char *summary, char *line) CMNW_NOEXCEPT;

/* Size of each text field of UTLVerInfo, terminator included. */
#define UTL_VERINFO_FIELD_SIZE 1024

/* A module file's version record: ten NUL-terminated texts (10240 bytes),
 * each cut at its first carriage return or line feed. */
typedef struct UTLVerInfo {
    char fileName[UTL_VERINFO_FIELD_SIZE];         /* name and extension, no directory */
    char fileVersion[UTL_VERINFO_FIELD_SIZE];      /* fixed file version "a.b.c.d" */
    char companyName[UTL_VERINFO_FIELD_SIZE];      /* string "CompanyName" */
    char description[UTL_VERINFO_FIELD_SIZE];      /* string "Description" */
    char internalName[UTL_VERINFO_FIELD_SIZE];     /* string "InternalName" */
    char legalCopyright[UTL_VERINFO_FIELD_SIZE];   /* string "LegalCopyright" */
    char originalFilename[UTL_VERINFO_FIELD_SIZE]; /* string "OriginalFilename" */
    char productName[UTL_VERINFO_FIELD_SIZE];      /* string "ProductName" */
    char productVersion[UTL_VERINFO_FIELD_SIZE];   /* string "ProductVersion" */
    char fileTime[UTL_VERINFO_FIELD_SIZE];         /* ctime() of the last change */
} UTLVerInfo;

/* The version record of the Windows module file at fileName (a PE file with
 * a version resource; of several languages of the resource, the one
 * SYSGetFileVersionInfo chooses). String values are single-byte texts in
 * code page 1252, "?" for a character it lacks, read from the string table
 * of the resource's first translation entry; without one, from language and code page
 * 1252 of the language last read by this function in the process (0 at
 * first). A missing value is "". A file without a version resource (any
 * other file, a missing one, a null name) gives a record of empty fields,
 * fileName and fileTime included. */
CMNW_API UTLVerInfo UTLGetVerInfo(const char *fileName) CMNW_NOEXCEPT;

/* Reports the patch level of the files in directory. Every file (in byte
 * order of its name) whose name contains none of the excludeCount texts of
 * exclude (any letter case) is scanned with UTLQueryPatchInfo. A "QVS" patch
 * "P<n>" above *mainPatch raises it and marks the file as patched; the first
 * QVS record also gives release (the text after "QVS PATCH ", at most
 * releaseSize - 1 characters). A "3RD" patch "P<n>" above *thirdPartyPatch
 * raises it. Every readable file not marked as patched extends *crc (a
 * CRC-32 running value without inversion, as UTLCalculateBlockCRC32) over
 * its bytes. With verbose not 0, prints one line per file on the console:
 * "filename=(name) crc=<hex>" or "filename=(name) qvspatch=<n> 3rdparty=<n>".
 * release is cleared (releaseSize bytes) first; the other outputs are only
 * raised or extended from the caller's start values. When memory runs out
 * the outputs keep the caller's start values (release cleared) rather than
 * give a partial report. Always returns 0. */
CMNW_API uint16_t UTLGetVersions(const char *directory, long *mainPatch, long *thirdPartyPatch,
                                 unsigned long *crc, char *release, int releaseSize,
                                 char **exclude, int excludeCount, int verbose) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
