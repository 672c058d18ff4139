/* Shared declarations for every CMNW32 public header: export macro, C linkage
 * and the fixed-width types the interface is written in. */
#ifndef CMNW32_API_H
#define CMNW32_API_H

#include <stddef.h>
#include <stdint.h>

#if defined(__GNUC__) || defined(__clang__)
#define CMNW_API __attribute__((visibility("default")))
#define CMNW_PRINTF(fmtIndex, firstArg) __attribute__((format(printf, fmtIndex, firstArg)))
#else
#define CMNW_API
#define CMNW_PRINTF(fmtIndex, firstArg)
#endif

#ifdef __cplusplus
#define CMNW_BEGIN_DECLS extern "C" {
#define CMNW_END_DECLS }
#define CMNW_NOEXCEPT noexcept
#else
#define CMNW_BEGIN_DECLS
#define CMNW_END_DECLS
#define CMNW_NOEXCEPT
#endif

/* Path buffers are 258 bytes (257 characters) throughout the library. */
#define CMNW_MAX_PATH 258

#endif
