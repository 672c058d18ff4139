/* Files and directories through the suite's uniform wrappers.
 *
 * Names are single-byte texts in the suite's form: "\" and "/" both separate
 * directories and a leading drive "X:" is ignored when the name reaches the
 * system. Path lists are separated by ";". File names found in a directory
 * are trimmed of blanks and handed out in 258-byte records; lists of them
 * are MEM lists (mem.h) that the caller walks and destroys.
 *
 * Directory searches match the last component of a pattern with the wildcards
 * "*" and "?", without regard to ASCII letter case ("*.*" matches every name,
 * with or without a dot); the directory part is taken literally.
 *
 * Sharing: UTLFileAccess opens with the sharing mode that denies others
 * reading and writing (SYSfsopen), honoured between the processes that open
 * files through this library (advisory locks on the file).
 *
 * Threads: every function here may run on several threads at once, each on
 * its own handles and buffers. */
#ifndef CMNW32_FILE_H
#define CMNW32_FILE_H

#include <stdio.h>

#include "cmnw32/api.h"
#include "cmnw32/mem.h"

CMNW_BEGIN_DECLS

typedef struct UTLFindRec *UTLHFIND; /* directory search handle; 0 for none */

/* Information levels of UTLGetUniversalName and the records it fills in at
 * the start of the caller's buffer; the texts they point to follow them in
 * the same buffer. */
#define UTL_UNIVERSAL_NAME_INFO_LEVEL 1
#define UTL_REMOTE_NAME_INFO_LEVEL 2
typedef struct UTLUniversalNameInfo {
    char *universalName; /* "\\server\share\path" */
} UTLUniversalNameInfo;
typedef struct UTLRemoteNameInfo {
    char *universalName;  /* "\\server\share\path" */
    char *connectionName; /* "\\server\share" */
    char *remainingPath;  /* "\path" */
} UTLRemoteNameInfo;

/* Results of UTLGetUniversalName besides 0 and 65535. */
#define UTL_ERROR_MORE_DATA 234      /* buffer too small; *bufferSize says how much is needed */
#define UTL_ERROR_INVALID_LEVEL 124  /* unknown information level */

/* Opens name with mode (fopen modes) and applies setvbuf(buffer, bufferMode,
 * bufferSize) to the stream. Null when name or mode is null or the open
 * fails. */
CMNW_API FILE *UTLfopen(const char *name, const char *mode, char *buffer, int32_t bufferMode,
                        size_t bufferSize) CMNW_NOEXCEPT;

/* Length in bytes of the open file descriptor, or -1. */
CMNW_API long UTLFilelength(int32_t fileDescriptor) CMNW_NOEXCEPT;

/* The host name into buffer; *size gives its capacity and receives the
 * length (without the terminator). When the buffer is too small, returns 0
 * with *size set to the capacity needed. Non-zero on success. */
CMNW_API int32_t UTLGetComputerName(char *buffer, uint32_t *size) CMNW_NOEXCEPT;

/* The current directory (as the system spells it) into buffer of size bytes.
 * Returns its length; when it does not fit, the size needed including the
 * terminator (buffer untouched); 0 on failure. */
CMNW_API uint32_t UTLGetCurrentDirectory(uint32_t size, char *buffer) CMNW_NOEXCEPT;

/* Creates one directory. 0 on success, -1 on failure. */
CMNW_API int32_t UTLMkDir(const char *directory) CMNW_NOEXCEPT;

/* Maps a local path on a network mount (cifs or nfs, as the mount table
 * /proc/self/mounts shows it) to its universal name "\\server\share\...",
 * filling the record of level 1 or 2 and its texts into buffer. Returns 0 on
 * success, UTL_ERROR_MORE_DATA with *bufferSize set when buffer is too
 * small, UTL_ERROR_INVALID_LEVEL for another level, and 65535 for null
 * arguments or a path that no network mount serves. */
CMNW_API uint32_t UTLGetUniversalName(const char *localPath, uint32_t infoLevel, void *buffer,
                                      uint32_t *bufferSize) CMNW_NOEXCEPT;

/* Copies a file (replacing the destination). 0 on success, 1 on failure. The
 * copy is written to a temporary file beside the destination (its name, a
 * dot and six characters) and renamed over it once complete, so a failed
 * copy leaves the destination as it was and removes the temporary file; a
 * copy over an existing file reaches the disk before the rename, so that a
 * crash or power loss leaves the old content or the new one, never an empty
 * file (a new file is not synced); a link at the destination is replaced,
 * not followed. A replaced file of the
 * effective user keeps its permissions; any other destination gets the
 * source's read and write permissions less the umask. */
CMNW_API int32_t UTLCopyFile(const char *source, const char *destination) CMNW_NOEXCEPT;

/* Removes the files (not the subdirectories) of directory except those named
 * in the first keepCount entries of keepList (compared without regard to
 * case; null entries are skipped). A file that cannot be removed is added to
 * errors (its path, without terminator) when errors is given; otherwise the
 * trace line "Could not remove file %s" is written and the walk stops with
 * result 1. Returns 0 otherwise. A symbolic link among the files is removed
 * as a link; the folder itself is not followed when it is a link in a folder
 * another account may write (nothing is removed then). */
CMNW_API int32_t UTLClearDir(const char *directory, char **keepList, int32_t keepCount,
                             MEMLIST errors) CMNW_NOEXCEPT;

/* Removes the files of directory, then the directory. 0 when the directory
 * was removed, -1 otherwise (also for a link, whose target is left alone
 * when the link lies in a folder another account may write). */
CMNW_API int32_t UTLRemoveDir(const char *directory) CMNW_NOEXCEPT;

/* Creates every missing directory of path (the last component too). 0 on
 * success or when it exists, 1 when a directory could not be made. A path
 * beginning with two separators names a network share whose first component
 * is not created. */
CMNW_API int32_t UTLCreatePath(const char *path) CMNW_NOEXCEPT;

/* Copies the files (not the subdirectories) of source into destination,
 * making destination (one level) when missing. Returns 1 after the trace line
 * "failed to find directories (%s)" when source holds no file, else 0; a
 * failed copy writes "failed to copy src=(%s) dest=(%s)" and goes on. A
 * symbolic link among the files is not followed: it counts as a failed copy.
 * The source folder is not followed when it is a link in a folder another
 * account may write. */
CMNW_API int32_t UTLCopyDir(const char *source, const char *destination) CMNW_NOEXCEPT;

/* Waits until name can be opened for reading and writing with others denied
 * both, trying every 100 ms for up to seconds (negative counts as 0) whole
 * seconds. 0 when it could, 1 when the time ran out (also for a missing
 * file). */
CMNW_API int32_t UTLFileAccess(const char *name, int32_t seconds) CMNW_NOEXCEPT;

/* Replaces, in the first length bytes of name (a zero byte among them is
 * examined too), every byte below 32 and each of < > : " / ? | * by "_".
 * Returns 65535 when a byte was replaced, else 0. Backslashes stay. */
CMNW_API int32_t UTLMakeValidFileName(char *name, int32_t length) CMNW_NOEXCEPT;

/* Builds the path of the file named by key in section: its value (or
 * defaultFile when empty) gives the name; a value without directory takes
 * the directory from directoryKey (a ";"-list is searched for the file), a
 * value without extension the extension from extensionKey. The result goes
 * to out when it has at most outSize characters (out holds outSize + 1
 * bytes). 0 on success, 1 on failure. */
CMNW_API int32_t UTLFileFromINI(const char *section, const char *key, const char *directoryKey,
                                const char *extensionKey, char *out, int32_t outSize,
                                const char *defaultFile) CMNW_NOEXCEPT;

/* Starts a directory search for pattern and puts the first matching file
 * (directories are skipped) into name (258 bytes, zero-padded, trimmed).
 * Returns the search handle, or 0 when no file matches. reserved is not
 * used. */
CMNW_API UTLHFIND UTLFindFirst(const char *pattern, uint32_t reserved, char *name) CMNW_NOEXCEPT;
/* The next matching file into name: 0, or 2 when there are no more files,
 * 1 on any other failure. */
CMNW_API int32_t UTLFindNext(UTLHFIND find, char *name) CMNW_NOEXCEPT;
/* Ends a search. 0 on success, 1 on failure or for handle 0. */
CMNW_API int32_t UTLFindClose(UTLHFIND find) CMNW_NOEXCEPT;
/* Every file matching pattern, as a MEM list of 258-byte name records, or 0
 * when none matches or memory runs out. The caller destroys the list. */
CMNW_API MEMLIST UTLFindAll(const char *pattern, uint32_t reserved) CMNW_NOEXCEPT;

/* Finds a file along pathList. Without ";" in pathList the name in fileName
 * (258 bytes) is joined to it as a directory and 0 returned, untested.
 * Otherwise each entry's directory (entries end with a separator) is joined
 * with the name's file name and extension and tried for reading: 0 and that
 * path at the first that opens, else 1 with the last candidate. fileName is
 * written only when the result differs from it. */
CMNW_API int32_t UTLSearchPath(const char *pathList, char *fileName) CMNW_NOEXCEPT;

/* Gives the path in path (258 bytes) the extension defaultExtension unless
 * it has one (a dot and at most three characters). Always 0. */
CMNW_API int32_t UTLDefaultExtension(char *path, const char *defaultExtension) CMNW_NOEXCEPT;

/* 1 when text equals an entry of the ";"-separated list (exactly when
 * ignoreCase is 0, without regard to case otherwise), else 0. An empty entry
 * ends the list; entries count up to 255 characters. */
CMNW_API int32_t UTLMatchString(const char *text, const char *list, int32_t ignoreCase) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
