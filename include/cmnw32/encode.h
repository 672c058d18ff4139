/* Binary data through text channels, and checksums: the library's own text
 * form (file-name safe alphabet with a leading pad count), standard Base64,
 * the CRC-32 update step over memory blocks and files, and 7-character names
 * made from CRC values. Nothing here reports through the error functions.
 *
 * Threads: CRC-32 and Base64 use constant tables chosen once; every function
 * here may run on several threads at once. */
#ifndef CMNW32_ENCODE_H
#define CMNW32_ENCODE_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* Length of the text form of length data bytes: 4 characters per started
 * group of 3 bytes plus the pad-count character (the terminator not counted).
 * The output buffer of UTLBinary2Text needs this plus 1 bytes. */
CMNW_API uint32_t UTLBinary2TextSize(uint32_t length) CMNW_NOEXCEPT;

/* Writes the text form of length bytes of data and a terminating NUL into
 * output (outputSize bytes). The first character is the pad count "0".."2",
 * then 4 characters of "0-9A-Za-z_-" per group of 3 bytes, the last group
 * filled with zero bytes. Returns the text length; returns 0 and writes
 * nothing when output (or data, for length > 0) is null or outputSize is
 * smaller than UTLBinary2TextSize(length) + 1. */
CMNW_API uint32_t UTLBinary2Text(const void *data, uint32_t length, char *output,
                                 uint32_t outputSize) CMNW_NOEXCEPT;

/* Number of bytes the text form in text (length characters) decodes to; 0
 * when it is not a valid text form (empty, length % 4 != 1, or a pad count
 * that is not 0..2 or leaves no data). */
CMNW_API uint32_t UTLText2BinarySize(const char *text, uint32_t length) CMNW_NOEXCEPT;

/* Decodes the text form in text (length characters) into output. Returns
 * the number of bytes written; 0 when the text is not a valid text form or
 * the data does not fit in outputSize bytes. Characters outside the alphabet
 * decode as 0 without complaint. */
CMNW_API uint32_t UTLText2Binary(const char *text, uint32_t length, void *output,
                                 uint32_t outputSize) CMNW_NOEXCEPT;

/* Runs the reflected CRC-32 (polynomial 0x04C11DB7, as in Ethernet and zip)
 * over length bytes of data starting from crc, with no inversion at either
 * end: seed with 0xFFFFFFFF and invert the result for the standard CRC-32;
 * chain blocks by passing each result as the next seed. A null data returns
 * crc unchanged. */
CMNW_API uint32_t UTLCalculateBlockCRC32(uint32_t length, uint32_t crc,
                                         const void *data) CMNW_NOEXCEPT;

/* UTLCalculateBlockCRC32 over the content of the file at path, starting from
 * crc. A file that cannot be opened gives crc unchanged; a read that stops
 * early checksums the bytes that were read. An empty file also gives crc
 * unchanged: tell the two apart by errno (SYSErrno, sys.h), which is 0 after
 * the file was read to its end (empty or not) and otherwise says why it was
 * not: the open's error (ENOENT, EACCES ...), the read's error, EIO when the
 * file shrank while being read, ENOMEM, or EINVAL for a null path. */
CMNW_API uint32_t UTLCaclulateFileCRC32(const char *path, uint32_t crc) CMNW_NOEXCEPT;

/* Writes a 7-character name for crc and a NUL into output (8 bytes at
 * least): the byte-reversed value in base 32 ("0-9A-V"), most significant
 * digit first. Returns 0; 0xFFFF when output is null. */
CMNW_API int32_t UTLMakeCRCName(char *output, uint32_t crc) CMNW_NOEXCEPT;

/* Standard Base64 of length bytes of data into output, padded with "=", no
 * line breaks, no terminator. output needs 4 * ((length + 2) / 3) bytes.
 * Returns the number of characters written (0 for null pointers). */
CMNW_API uint32_t UTLEncodeBase64(const void *data, uint32_t length, char *output) CMNW_NOEXCEPT;

/* Decodes Base64 text (length bytes) into output, skipping every byte that
 * is not one of the 64 data characters (so padding, line breaks and blanks
 * are ignored); bits left over at the end are dropped. No terminator is
 * written. output needs length * 3 / 4 bytes at most. Returns the number of
 * bytes written (0 for null pointers). */
CMNW_API uint32_t UTLDecodeBase64(const char *text, uint32_t length, void *output) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
