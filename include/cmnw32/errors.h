/* Error and information reporting.
 *
 * Problems are reported by naming where they arose, an error number and a
 * message; the library hands them to one replaceable error-notify function.
 * Informational messages go to a second replaceable function. The defaults
 * print on standard error (SYSErrPrintf, sys.h), so that a program's own
 * output on standard output stays clean: the error notify a framed block of
 * four lines
 *     *********************************
 *     * UTLDefErrorExit
 *     * where <errorNumber> <detail> message
 *     *********************************
 * and the info notify "\nInformational in where: message\n". Each also writes
 * one trace line (see trace.h) and returns 65535. The library also keeps the
 * table of numbered messages (1 to 77), a hook to replace any of their texts,
 * a caller-owned error code and its own version record.
 *
 * All state here is process-wide and unguarded: install callbacks during
 * start-up, before other threads report.
 *
 * Threads: UTLPlatformError, UTLPlatformInfo, UTLErrorMsg and the version
 * record may run on any number of threads at once; the notify functions and
 * the replacer are then called on the reporting threads and must be safe
 * there. The setters (notify functions, replacer, error code) belong to
 * start-up: they must not overlap reports. */
#ifndef CMNW32_ERRORS_H
#define CMNW32_ERRORS_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* Receives every error reported through UTLPlatformError; its result is
 * handed back to the reporter unchanged. */
typedef int32_t (*UTLErrorNotifyFunc)(const char *where, int32_t errorNumber, uint32_t detail,
                                      const char *message);
/* Receives every message reported through UTLPlatformInfo. */
typedef int32_t (*UTLInfoNotifyFunc)(const char *where, const char *message);
/* Returns replacement text for a message number, or null to keep the
 * built-in text. The text must stay valid after the call. */
typedef const char *(*UTLMsgReplaceFunc)(int32_t errorNumber);

/* The library's version record. LP64 size: 32 bytes (a 4-byte stamp, 4 bytes
 * of padding, three pointers). */
typedef struct UTLVersionRec {
    uint32_t stamp;      /* 0x40112010 */
    const char *version; /* "400.112.010" */
    const char *date;    /* build date, "Mmm dd yyyy" */
    const char *time;    /* build time, "hh:mm:ss" */
} UTLVersionRec;

/* Reports an error: returns the error notify's result, or errorNumber when
 * none is installed (then nothing is printed). A null message is replaced by
 * UTLErrorMsg(errorNumber). */
CMNW_API int32_t UTLPlatformError(const char *where, int32_t errorNumber, uint32_t detail,
                                  const char *message) CMNW_NOEXCEPT;
/* Installs an error notify (null: report nothing); returns the previous one. */
CMNW_API UTLErrorNotifyFunc UTLSetErrorNotify(UTLErrorNotifyFunc notify) CMNW_NOEXCEPT;
/* Installs the default error notify and returns it. */
CMNW_API UTLErrorNotifyFunc UTLResetErrorNotify(void) CMNW_NOEXCEPT;

/* Reports an informational message: returns the info notify's result, or 1
 * when none is installed or message is null. */
CMNW_API int32_t UTLPlatformInfo(const char *where, const char *message) CMNW_NOEXCEPT;
/* Installs an info notify (null: report nothing); returns the previous one. */
CMNW_API UTLInfoNotifyFunc UTLSetInfoNotify(UTLInfoNotifyFunc notify) CMNW_NOEXCEPT;
/* Installs the default info notify and returns it. */
CMNW_API UTLInfoNotifyFunc UTLResetInfoNotify(void) CMNW_NOEXCEPT;

/* Installs a message replacer (may be null); returns the previous one. */
CMNW_API UTLMsgReplaceFunc UTLSetMsgReplace(UTLMsgReplaceFunc replace) CMNW_NOEXCEPT;
/* The text of message errorNumber: the replacer's text when it gives one,
 * else the table's (1 to 77, 19 has none), else "Unknown QRM error". Never
 * null. Many texts are printf templates, returned unformatted. */
CMNW_API const char *UTLErrorMsg(int32_t errorNumber) CMNW_NOEXCEPT;

/* A last-error store for callers; the library never sets it itself. */
CMNW_API int32_t UTLErrorCode(void) CMNW_NOEXCEPT;
/* Sets the error code; returns the previous one. */
CMNW_API int32_t UTLSetErrorCode(int32_t code) CMNW_NOEXCEPT;

/* An error notify that does nothing and returns 0: install it to silence
 * reports. */
CMNW_API int32_t UTLKVRErrorNotify(const char *where, int32_t errorNumber, uint32_t detail,
                                   const char *message) CMNW_NOEXCEPT;

/* The library's static version record; the same pointer on every call. */
CMNW_API const UTLVersionRec *UTLLibVersion(void) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
