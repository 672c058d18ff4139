/* File locks, archive files and the archive lock, shared between processes.
 *
 * Three kinds of lock, each emulated on this system as follows:
 *
 * - Lock files: "x.lck" beside a protected file "x.<ext>" (x.dat and x.idx
 *   share x.lck). Taking the lock is creating the file exclusively
 *   (open O_CREAT|O_EXCL, mode 0600); releasing it is deleting it. The lock
 *   is the file's existence, so it outlives a process that ends without
 *   releasing it.
 *
 * - Open-file locks (archive files): a file held open with a sharing mode
 *   that denies others writing (SYSfsopen with SYS_SH_DENYWR, see sys.h:
 *   open-file-description locks on marker bytes far past the data). While a
 *   stream is open for writing, every other open through these functions
 *   (or SYSfsopen) that would write is refused, and one that only reads is
 *   refused too, because it denies writing to a holder that writes. The locks
 *   belong to the stream: closing it, or the end of its process by any means
 *   (even SIGKILL), releases them. Opens by other means are not held back.
 *   A refused open is tried again once a second, as often as the environment
 *   variable KVRWAIT says (decimal; not a number counts as 0; negative:
 *   without end; unset, or a program with raised privileges: 600). A
 *   missing file, or a name that can never be opened (not a directory, too
 *   long, a loop, a link or special file refused as SYSfsopen says), is not
 *   waited for.
 *
 * - Byte-range locks (UTLLockFile) on an open descriptor: open-file-
 *   description locks (fcntl F_OFD_SETLK) over the range that starts at the
 *   descriptor's current position. They belong to the open file description,
 *   so two descriptors opened separately conflict even within one process,
 *   and they end when its last descriptor is closed. Every lock mode takes an
 *   exclusive lock, as on the suite's original platform; a descriptor opened
 *   read-only can only hold a shared lock, which keeps exclusive lockers out
 *   but not other shared ones. The locks are advisory: reads and writes are
 *   not stopped. Unlocking a range that is not locked succeeds.
 *
 * The archive lock is an open-file lock on "archive.sem" in the directory
 * that key CarPath of section [ArcRet] names (the current directory without
 * it), held by this process from UTLLockARC until UTLUnlockARC or its end.
 * It is meant for one controlling thread.
 *
 * Archive files and archive.sem are created new only (O_EXCL) with mode 0660
 * less the umask, so that the accounts of one group can share them and
 * others get nothing. They are opened as SYSfsopen opens (sys.h): in a
 * folder another account may write, a link, a file with several links or
 * anything but a regular file at the name is refused (null at once, no
 * waiting). What such a folder cannot prevent: another account may create
 * the lock file, archive file or archive.sem first (it then owns it and can
 * hold or fill it), and a deny-write open of a file others may read keeps
 * their writers out. Give folders that hold lock and archive files to the
 * suite's account (or group) with mode 0770 or 02770, never write access for
 * others; keep files that others must not hold open unreadable to them.
 *
 * Threads: the lock-file, byte-range and archive-file functions may run on
 * any number of threads at once. Locks belong to files and open streams, not
 * threads: a lock file taken on one thread keeps every other thread out
 * too, and open-file locks conflict between streams of one process as
 * between processes.
 * UTLLockARC and UTLUnlockARC keep the process's one archive lock: call them
 * from one thread. */
#ifndef CMNW32_LOCK_H
#define CMNW32_LOCK_H

#include <stdio.h>

#include "cmnw32/api.h"
#include "cmnw32/cfg.h"

CMNW_BEGIN_DECLS

/* Locking modes of UTLLockFile. */
#define UTL_LK_UNLCK 0  /* unlock the range */
#define UTL_LK_LOCK 1   /* lock; when it is held elsewhere, try 10 times a second apart */
#define UTL_LK_NBLCK 2  /* lock, or fail at once */
#define UTL_LK_RLCK 3   /* as UTL_LK_LOCK */
#define UTL_LK_NBRLCK 4 /* as UTL_LK_NBLCK */

/* Access mode of UTLOpenCARFile that opens for reading and writing; any other
 * value opens for reading only. */
#define UTL_CAR_READWRITE 2

/* Takes the lock file of path (its extension replaced by ".lck") by creating
 * it. 0 when this call created it; 1 when it exists already, cannot be
 * created, or path is null. On 1, errno (SYSErrno, sys.h) tells which:
 *   EEXIST        the lock file exists: another holder has the lock;
 *   ENOENT        its folder does not exist (ENOTDIR: a part is no folder);
 *   EACCES        the folder may not be written;
 *   ENAMETOOLONG  the lock file's name does not fit a path (257 characters);
 *   EINVAL        path is null;
 * or another error number of the system's exclusive create. */
CMNW_API int32_t UTLLockFileExt(const char *path) CMNW_NOEXCEPT;
/* Releases the lock file of path by deleting it (whoever took it). 0 when it
 * was deleted, 1 otherwise, with errno as for UTLLockFileExt (ENOENT: there
 * was no lock file). */
CMNW_API int32_t UTLUnLockFileExt(const char *path) CMNW_NOEXCEPT;

/* Locks or unlocks bytes bytes from the current position of fileDescriptor
 * (mode: UTL_LK_...). Returns 0 on success and -1 on failure with errno set:
 * EACCES when UTL_LK_NBLCK/NBRLCK find the range held by another open,
 * EDEADLK when UTL_LK_LOCK/RLCK still find it held after 10 tries (9 pauses
 * of a second), EBADF for a bad descriptor, EINVAL for an unknown mode, a
 * negative count or a range reaching 2^63 - 2^32. A count of 0 locks nothing
 * and succeeds. The position is not moved. */
CMNW_API int32_t UTLLockFile(int32_t fileDescriptor, int32_t mode, long bytes) CMNW_NOEXCEPT;

/* Opens an archive file held against writers: for reading and writing when
 * accessMode is UTL_CAR_READWRITE, else for reading, waiting for writers
 * elsewhere as KVRWAIT allows. A missing file is created first. *newFile
 * (when newFile is not null) becomes 1 when the file was created or is empty,
 * 0 when it has content. Returns the stream positioned at the start, or null
 * when the file cannot be created or opened in time. When the switch
 * DebugOpenCAR of section [Control] is on (read once per process), a missing
 * file is looked for again and the findings are written to the trace log. */
CMNW_API FILE *UTLOpenCARFile(const char *name, int32_t *newFile, int32_t accessMode) CMNW_NOEXCEPT;
/* Flushes and closes a stream of UTLOpenCARFile, releasing its lock. 0 for a
 * null stream, else fclose's result. */
CMNW_API int32_t UTLCloseCARFile(FILE *stream) CMNW_NOEXCEPT;

/* Takes the open-file lock of name: UTLOpenCARFile for reading and writing.
 * Returns the stream that holds the lock, or null. */
CMNW_API FILE *UTLLock(const char *name) CMNW_NOEXCEPT;
/* Releases a lock of UTLLock by closing its stream: 1 for a null stream, else
 * 0. */
CMNW_API int32_t UTLUnlock(FILE *stream) CMNW_NOEXCEPT;

/* Takes the archive lock with UTLLock on archive.sem in the CarPath directory
 * of configuration config, which is in force only during the call (the one
 * in force before is restored on every path). reserved is not used. Returns
 * 0 when the lock is held, also when this process held it already; 1 when
 * config is 0 or the lock cannot be taken. */
CMNW_API int32_t UTLLockARC(int32_t reserved, CFGHANDLE config) CMNW_NOEXCEPT;
/* Releases the archive lock: 0 when it was held, 1 when it was not. */
CMNW_API int32_t UTLUnlockARC(void) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
