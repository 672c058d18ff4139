/* Portability companion: version resources of Windows module files.
 *
 * Reads the version resource (VS_VERSIONINFO, resource type 16) of a PE/COFF
 * file (.dll, .exe) from the file itself, on any system. The three calls
 * follow the usual sequence: ask the size, read the resource into a block of
 * that size, then query values out of the block. Only the 32-bit (Unicode)
 * form of the resource is understood. A file with the resource in several
 * languages gives the one in language 0x0000 (neutral), else 0x0400 (user
 * default), else 0x0800 (system default), else 0x0409 (US English), else the
 * first in the file. Every read is checked against the file's and the
 * block's bounds: a damaged or truncated file gives "no resource", never a
 * read outside the data. */
#ifndef CMNW32_SYSVER_H
#define CMNW32_SYSVER_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* The fixed file information of a version resource ("\" value), 52 bytes,
 * little-endian as stored in the file. */
typedef struct SYSFixedFileInfo {
    uint32_t signature; /* 0xFEEF04BD */
    uint32_t structVersion;
    uint32_t fileVersionMS; /* high and low 16 bits: first two parts */
    uint32_t fileVersionLS; /* last two parts */
    uint32_t productVersionMS;
    uint32_t productVersionLS;
    uint32_t fileFlagsMask;
    uint32_t fileFlags;
    uint32_t fileOS;
    uint32_t fileType;
    uint32_t fileSubtype;
    uint32_t fileDateMS;
    uint32_t fileDateLS;
} SYSFixedFileInfo;

/* The size of the block SYSGetFileVersionInfo needs for the version resource
 * of the file at path (the suite's path form), or 0 when the file cannot be
 * read, is not a PE file or has no version resource. handle (may be null)
 * receives 0. */
CMNW_API uint32_t SYSGetFileVersionInfoSize(const char *path, uint32_t *handle) CMNW_NOEXCEPT;

/* Reads the version resource of the file at path into data (size bytes, at
 * least what SYSGetFileVersionInfoSize gave; 8-byte aligned, as from
 * MEMAlloc). The block starts with the resource as stored in the file and
 * holds single-byte copies of its texts after it. handle is not used. Returns 1 on
 * success, 0 when there is no resource or size is too small. */
CMNW_API int SYSGetFileVersionInfo(const char *path, uint32_t handle, uint32_t size,
                                   void *data) CMNW_NOEXCEPT;

/* Finds a value in a block filled by SYSGetFileVersionInfo. subBlock is a
 * path of keys separated by "\", compared without regard to ASCII case:
 * "\" gives the SYSFixedFileInfo (length 52), "\VarFileInfo\Translation"
 * the language/code-page pairs (two 16-bit words each, length in bytes),
 * "\StringFileInfo\040904e4\CompanyName" a single-byte text in code page
 * 1252, "?" for a character the code page lacks (length in bytes, its
 * terminator included). *value points into the block. Returns 1 when found,
 * else 0 with *value null and *length 0. */
CMNW_API int SYSVerQueryValue(const void *block, const char *subBlock, void **value,
                              uint32_t *length) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
