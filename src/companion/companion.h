// The companion family's internal header, and its front door: the careful
// opens of files by native path (os.h maps the suite's path texts) and the
// sharing-mode opens, for code inside the library.
#pragma once

#include <cstdio>
#include "cmnw32/mem.h"
#include <sys/stat.h>
#include <sys/types.h>

namespace cmnw::companion {

// Mode of the files the library creates for itself (trace log, archive
// files, archive.sem): read and write for the owner and the owner's group,
// nothing for others; the umask still applies.
inline constexpr mode_t kOwnFileMode = 0660;

// True when an account other than the effective user (or root, who needs no
// link to reach anything) may add, remove or replace names in the folder
// with this status: it grants group or others write, or it belongs to another
// account that may write it. Permission bits only; ACLs are not consulted.
bool OthersMayWrite(const struct stat &folder) noexcept;

// open(2) of nativePath with O_CLOEXEC added; new files get createMode &
// ~umask. When the folder holding the name may be written by another account
// (OthersMayWrite), the open does not wait on a FIFO, refuses anything that
// is not a regular file (EINVAL), and an open that writes or creates also
// refuses a link as the last component (ELOOP) and a file with more than one
// name (EMLINK); O_TRUNC is applied only once the file has passed. In any
// other folder the open is a plain open, so the owner's own links work.
// -1 with errno on failure.
int OpenChecked(const char *nativePath, int flags, mode_t createMode) noexcept;

// The same for an existing folder: O_DIRECTORY, and no link as the last
// component when its parent may be written by another account.
int OpenFolderChecked(const char *nativePath) noexcept;

// A stream on the suite path through OpenChecked, for a C mode text ("r",
// "w+", "ab", "ax", "ae", ...: "x" creates only a new file, "e" is implied).
// Null with errno set on failure.
FILE *OpenStream(const char *path, const char *mode, mode_t createMode) noexcept;

// Opens path (already native) with a C mode text ("r", "w+", "ab", ...)
// and the sharing mode of SYSfsopen; null with errno set on failure.
FILE *OpenShared(const char *nativePath, const char *mode, int shareFlag) noexcept;

// Writes all size bytes to fd; a write that makes no progress counts as a
// full disk (ENOSPC). False with errno.
bool WriteAll(int fd, const void *bytes, size_t size) noexcept;

// Replaces the file at native (a system path) as a whole: fill writes the
// new content to the descriptor of a temporary file beside it (named native,
// a dot and six unpredictable letters or digits), which is then renamed over
// native, so that native holds its old content or the complete new one
// whatever fails; a link at native is replaced, not followed. A device, FIFO
// or socket at native is written through instead (opened as OpenChecked
// does). A replaced regular file of the effective user keeps its
// permissions; a new file gets createMode less the umask. The new content is
// synced before the rename when a regular file is replaced (so a crash
// leaves its old content or the new one, never an empty file) or with
// durable, which also syncs the folder after the rename. A failure removes
// the temporary file; false with errno.
bool ReplaceFile(const char *native, mode_t createMode, bool durable,
                 bool (*fill)(int fd, void *context), void *context) noexcept;

// True when list (not null) is keyed: its elements are in key order. A
// list keyed while memory ran out is not, until a later call sets it up.
bool ListInKeyOrder(MEMLIST list) noexcept;

}  // namespace cmnw::companion
