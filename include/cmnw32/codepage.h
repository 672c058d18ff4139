/* Code pages: sets of named characters with their byte in each font code
 * page, and byte-to-byte translation tables between code pages.
 *
 * A character has an identifier (at most 9 characters, such as "SP010000"
 * for the space), a glyph name and an alias (at most 30 characters each) and,
 * in each code page of its set, a byte value or 0 when the code page lacks it.
 * Characters keep the order in which they were loaded; a character's index is
 * its 0-based position in that order.
 *
 * The code page file is an INI file: section "CodePages" holds one
 * "CodePage=<id>,<short name>" line per code page, section "CodePage" one
 * "Char=<identifier>,<name>,<alias>,<byte>,<byte>..." line per character with
 * one byte per code page in the order of "CodePages". Fields are split at
 * commas (a run of commas is one separator), texts are trimmed, bytes are
 * decimal and kept modulo 256. Its place is option "DefLib" (directory,
 * default "..\RUDAVER\KTRES\DEFLIB\") plus option "Codepage" (default
 * "codepage.ini") of section "KTRes" of the configuration in force. When it
 * cannot be read, a built-in set of three code pages (1004 "W1" = Windows
 * 1252 Latin text, 9999 "WD" pictographs, 9998 "MI" symbols) and 742
 * characters is used instead.
 *
 * Status results are 16-bit: 0 for success, 0xFFFF for failure. Identifier
 * out buffers hold at least 10 bytes, name and alias buffers at least 31;
 * every out argument may be null when not wanted. Unknown or destroyed set
 * handles are refused like null ones.
 *
 * The registry of sets, the shared load count, the walk position and the
 * library's own translation table are process-wide and unlocked: callers
 * serialise their use.
 *
 * Threads: a code page set is used by one thread at a time; a table built by
 * UTLSetupCp2CpTable may then be read by several threads at once. */
#ifndef CMNW32_CODEPAGE_H
#define CMNW32_CODEPAGE_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* Opaque handle of a code page set (pointer-sized); 0 is no set. */
typedef struct UTLCodePageSet *UTLCPSET;

#define UTL_CP_OK 0
#define UTL_CP_FAIL 0xFFFF

#define UTL_CP_IDENT_SIZE 10 /* identifier buffer: 9 characters and NUL */
#define UTL_CP_NAME_SIZE 31  /* name and alias buffers: 30 characters and NUL */

/* Creates a new, empty set with no code page and no default code page.
 * Returns 0 when it cannot be created. Release it with UTLDestroyCodePage. */
CMNW_API UTLCPSET UTLCreateCodePage(void) CMNW_NOEXCEPT;

/* Releases a set. The load count shared with UTLLoadCodePage is lowered by
 * one first (never below 0); while it stays above 0 the set is kept (another
 * user holds it) and 0 is returned. Otherwise the set is freed and 0 is
 * returned. 0xFFFF for a null or unknown set. */
CMNW_API uint16_t UTLDestroyCodePage(UTLCPSET set) CMNW_NOEXCEPT;

/* Acquires the shared set: the first call reads the code page file (or the
 * built-in set when the file cannot be read) into a new set; while the load
 * count is above 0 later calls raise it and return the first set of the
 * registry. The configuration in force is restored afterwards. Returns 0 on
 * failure (the load count stays raised). */
CMNW_API UTLCPSET UTLLoadCodePage(void) CMNW_NOEXCEPT;

/* Appends a code page to set for each "CodePage" value of section
 * "CodePages" of the configuration in force, in order (id, short name cut to
 * 2 characters). A value without id or short name ends the reading with
 * 0xFFFF; code pages added before it stay. */
CMNW_API uint16_t UTLLoadCodePages(UTLCPSET set) CMNW_NOEXCEPT;

/* Loads the characters of set from the "Char" values of section "CodePage"
 * of the configuration in force, replacing any it held: identifier, name and
 * alias (missing fields are empty), then one byte per code page of the set
 * (missing bytes are 0). At most 1025 characters are kept; further lines are
 * ignored. A text met again gets the next sequence number (up to 99) so that
 * lookups can reach each occurrence. */
CMNW_API uint16_t UTLLoadCodePagesChars(UTLCPSET set) CMNW_NOEXCEPT;

/* Writes set to the code page file (place read from the configuration in
 * force) the way CFGSave writes a file: the file holds its old content or
 * the complete new one whatever happens. The configuration in force is
 * unchanged afterwards and the set stays loaded. 0 when the file was written
 * and synced to the disk. */
CMNW_API uint16_t UTLUnloadCodePage(UTLCPSET set) CMNW_NOEXCEPT;

/* Adds one "CodePage" line per code page ("<id>,<short name>") to section
 * "CodePages" of the configuration in force. */
CMNW_API uint16_t UTLUnloadCodePages(UTLCPSET set) CMNW_NOEXCEPT;

/* Adds one "Char" line per character to section "CodePage" of the
 * configuration in force: identifier, name, alias and the byte (0-255) in
 * each code page. A blank text is written as one space so that the line
 * reads back with the same fields. */
CMNW_API uint16_t UTLUnloadCodePagesChars(UTLCPSET set) CMNW_NOEXCEPT;

/* Makes the first code page with this id (and, when shortName is given, with
 * exactly this short name, case counting) the default of set. shortName is
 * trimmed of white space in place first (it is written only when it has
 * any). 0xFFFF when no code page matches; the default then stays. */
CMNW_API uint16_t UTLSetDefCodePage(UTLCPSET set, int32_t codePageId,
                                    char *shortName) CMNW_NOEXCEPT;

/* The number of code pages of set; 0 for a null set. */
CMNW_API uint16_t UTLCodePageCount(UTLCPSET set) CMNW_NOEXCEPT;

/* The character at *index: its byte in the default code page (0 when that
 * code page lacks it), identifier, name and alias. 0xFFFF for a null set or
 * index, a set without default code page, or an index past the last
 * character. */
CMNW_API uint16_t UTLGetIndexCodePageChar(UTLCPSET set, const uint16_t *index, uint8_t *byteOut,
                                          char *identifier, char *name, char *alias) CMNW_NOEXCEPT;

/* Walk over all characters: the first call delivers character 0, each next
 * call the following one, until the status is 0xFFFF. The walk position is
 * one for the whole process, so only one walk may be under way at a time. */
CMNW_API uint16_t UTLGetFirstCodePageChar(UTLCPSET set, uint8_t *byteOut, char *identifier,
                                          char *name, char *alias) CMNW_NOEXCEPT;
CMNW_API uint16_t UTLGetNextCodePageChar(UTLCPSET set, uint8_t *byteOut, char *identifier,
                                         char *name, char *alias) CMNW_NOEXCEPT;

/* The byte in the default code page of the character with this identifier
 * (cut to 9 characters), or, when that gives none, this name, or then this
 * alias (each cut to 30 characters; a blank name or alias is not looked up).
 * Each text is matched exactly; of several characters with the same text the
 * first (up to the hundredth) with a byte in the default code page is taken.
 * 0 when no byte is found; 0xFFFF for a null set or no default code page. */
CMNW_API uint16_t UTLLocateCharByName(UTLCPSET set, const char *identifier, const char *name,
                                      const char *alias) CMNW_NOEXCEPT;

/* The texts of the first character (in character order) whose byte in the
 * default code page is the low 8 bits of byteValue; the byte 0 finds the
 * first character the code page lacks. 0 when at least one text was
 * delivered; 0xFFFF for a null set, no default code page, no such
 * character, or all outs null. */
CMNW_API uint16_t UTLLocateNameByChar(UTLCPSET set, int32_t byteValue, char *identifier, char *name,
                                      char *alias) CMNW_NOEXCEPT;

/* Byte-to-byte translation table between two code pages of a set.
 * Layout kept in field order; 288 bytes on LP64 (the set is pointer-sized). */
typedef struct UTLCp2CpTable {
    uint8_t map[256]; /* by source byte; 0 = no mapping */
    UTLCPSET set;     /* the set it was built from */
    int32_t identity; /* 1 when source and target are the same code page */
    int32_t sourceId; /* source code page id */
    int32_t targetId; /* target code page id */
    int32_t reserved[2];
    uint32_t fallback; /* result for an unmapped byte; 0xFFFFFFFF: the byte itself */
} UTLCp2CpTable;

/* Builds table (the library's own when null) from source to target code page
 * of set: each character of the source code page is looked up in the target
 * by identifier, then name, then alias (UTLLocateCharByName); a later
 * character overwrites an earlier one with the same source byte. The same id
 * with both short names null, or both given and equal without regard to
 * case, makes an identity table. Short names are trimmed in place. The set's
 * default code page is the source code page afterwards. Returns 0, or -1 when
 * set is unknown or a code page is not in it. */
CMNW_API int16_t UTLSetupCp2CpTable(UTLCp2CpTable *table, UTLCPSET set, int32_t sourceId,
                                    char *sourceShortName, int32_t targetId, char *targetShortName,
                                    uint32_t fallback) CMNW_NOEXCEPT;

/* Translates one byte through table (the library's own when null): 0 and
 * every byte of an identity table translate to themselves; 0xFFFF when the
 * table was never set up; an unmapped byte gives the byte itself when the
 * fallback is 0xFFFFFFFF, else the fallback's low 16 bits. */
CMNW_API uint16_t UTLCpTranslateChar(const UTLCp2CpTable *table, uint8_t byte) CMNW_NOEXCEPT;

/* Translates the NUL-terminated input into output (outSize bytes, zero-filled
 * first, always terminated), at most outSize - 1 bytes. Returns 0; -1 for a
 * null input or output or outSize below 1; a translated value above 255
 * stops the translation and is returned (as a signed 16-bit value), with the
 * bytes translated so far in output. */
CMNW_API int16_t UTLCpTranslateString(const UTLCp2CpTable *table, char *output, const char *input,
                                      int32_t outSize) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
