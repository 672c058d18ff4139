/* Portability companion: C streams, console print, modules and the one
 * mapping from the suite's path texts to this system's paths.
 *
 * Every path handed to the operating system by the library goes through
 * SYSNativePath: each "\" becomes "/" and a leading drive "X:" is dropped.
 * Paths the library builds for callers keep the suite's own form (drive
 * letters, backslashes); only the final hand-over is mapped. */
#ifndef CMNW32_SYS_H
#define CMNW32_SYS_H

#include <stdarg.h>
#include <stdio.h>

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* Writes the native form of path into out (cut to outSize - 1 and
 * terminated); returns the length of the full native form, so a result of
 * outSize or more means it was cut. A null path gives "". */
CMNW_API size_t SYSNativePath(const char *path, char *out, size_t outSize) CMNW_NOEXCEPT;

/* fopen through SYSNativePath. Null on failure (SYSErrno tells why). The
 * descriptor is closed on exec. In a folder that another account may write
 * (group or others have write permission, or it belongs to an account other
 * than the effective user and root; ACLs are not consulted),
 * only a regular file is opened (EINVAL otherwise), without waiting on a FIFO,
 * and an open that writes or creates refuses a symbolic link as the last
 * component (ELOOP) and a file with several hard links (EMLINK); elsewhere,
 * links are followed as fopen follows them. SYSfsopen opens the same way. */
CMNW_API FILE *SYSfopen(const char *path, const char *mode) CMNW_NOEXCEPT;

/* Sharing modes of SYSfsopen. */
#define SYS_SH_DENYRW 0x10 /* others may not open the file at all */
#define SYS_SH_DENYWR 0x20 /* others may not open it for writing */
#define SYS_SH_DENYRD 0x30 /* others may not open it for reading */
#define SYS_SH_DENYNO 0x40 /* others may open it as they like */

/* fopen with a sharing mode, honoured between every open made through this
 * function, in this process or another: an open fails with null and
 * SYSErrno() == EACCES when another open still held denies the access it asks
 * for (reading for "r" and any "+", writing for "w", "a" and any "+"), or
 * when it would deny an access that another held open already has.
 * shareFlag must be one of the SYS_SH_ values (EINVAL otherwise). A "w" open
 * that is refused leaves the file untouched (it is truncated only once
 * admitted).
 *
 * Emulated with advisory open-file-description locks (fcntl F_OFD_SETLK)
 * taken on marker bytes at 0x7fffffff00000000 and the next four offsets
 * (has read, has write, denies write, denies read twice), far past any data
 * and any byte range the library's file locks use; conflicts are found with
 * test locks on the opposite markers, or for an open that writes and denies
 * writing by one exclusive lock on its write markers. The locks belong to the stream and
 * end when it is closed. Opens made by other means (fopen, SYSfopen, other
 * programs) are not restrained. A file that may be written but not read is
 * opened write-only and then cannot hold its own markers: its open is checked
 * but does not restrain later ones. */
CMNW_API FILE *SYSfsopen(const char *path, const char *mode, int shareFlag) CMNW_NOEXCEPT;

/* Thin wrappers of the C stream functions; each tolerates a null stream by
 * failing (0, -1 or EOF as the C function would report an error). */
CMNW_API size_t SYSfread(void *buffer, size_t size, size_t count, FILE *stream) CMNW_NOEXCEPT;
CMNW_API size_t SYSfwrite(const void *buffer, size_t size, size_t count, FILE *stream) CMNW_NOEXCEPT;
CMNW_API int SYSfseek(FILE *stream, long offset, int origin) CMNW_NOEXCEPT;
CMNW_API long SYSftell(FILE *stream) CMNW_NOEXCEPT;
CMNW_API void SYSrewind(FILE *stream) CMNW_NOEXCEPT;
CMNW_API int SYSfflush(FILE *stream) CMNW_NOEXCEPT;
CMNW_API int SYSfclose(FILE *stream) CMNW_NOEXCEPT;
CMNW_API int SYSfprintf(FILE *stream, const char *format, ...) CMNW_NOEXCEPT CMNW_PRINTF(2, 3);
CMNW_API int SYSvfprintf(FILE *stream, const char *format, va_list args) CMNW_NOEXCEPT CMNW_PRINTF(2, 0);
/* The C library's last error number (errno) of this thread. */
CMNW_API int SYSErrno(void) CMNW_NOEXCEPT;

/* Formatted print on the console (standard output), flushed: for reports a
 * program asks for, such as the version report. Returns the number of bytes
 * printed, negative on failure (also for a null format). */
CMNW_API int SYSPrintf(const char *format, ...) CMNW_NOEXCEPT CMNW_PRINTF(1, 2);

/* The same on standard error, flushed: for diagnostics, such as the default
 * notify functions' messages, so that they never mix into the data a program
 * writes to standard output. */
CMNW_API int SYSErrPrintf(const char *format, ...) CMNW_NOEXCEPT CMNW_PRINTF(1, 2);

/* Loads a shared module (dlopen, path through SYSNativePath). On failure
 * returns null and, when errorText is given, a text saying why (cut to
 * errorSize - 1). */
CMNW_API void *SYSLoadModule(const char *name, char *errorText, size_t errorSize) CMNW_NOEXCEPT;
/* Releases a module loaded by SYSLoadModule; 0 on success. */
CMNW_API int SYSFreeModule(void *module) CMNW_NOEXCEPT;
/* Address of an exported function of a loaded module, or null. */
CMNW_API void *SYSModuleSymbol(void *module, const char *name) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
