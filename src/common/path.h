// The suite's path rules: splitting a path into drive, directory, file name
// and extension, and joining them again. These follow the suite's own
// conventions, not the operating system's: a ";" ends a path (so one entry
// of a path list can be handed over unchanged), an extension is a dot and at
// most three characters, directories are written with backslashes unless
// they look like a URL. The result reaches the system through os::NativePath.
#pragma once

#include <cstddef>

namespace cmnw {

// Capacities of the parts, terminator included.
inline constexpr size_t kDriveSize = 3;
inline constexpr size_t kDirSize = 257;
inline constexpr size_t kNameSize = 129;
inline constexpr size_t kExtSize = 129;

// Splits path; any output may be null. Outputs must hold kDriveSize,
// kDirSize, kNameSize and kExtSize bytes; longer parts are cut. A null path
// gives four empty parts.
void UTLSplitPath(const char *path, char *drive, char *dir, char *fname, char *ext) noexcept;

// Joins the parts (each may be null or empty) into out, writing at most
// outSize bytes including the terminator.
void MakePathBounded(char *out, size_t outSize, const char *drive, const char *dir,
                     const char *fname, const char *ext) noexcept;

// MakePathBounded into a path buffer of 258 bytes.
inline void UTLMakePath(char *out, const char *drive, const char *dir, const char *fname,
                        const char *ext) noexcept {
    MakePathBounded(out, 258, drive, dir, fname, ext);
}

}  // namespace cmnw
