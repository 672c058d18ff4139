/* Configuration companion: INI files of [sections] and key=value lines.
 *
 * One configuration is in force per process at a time; every read and write
 * below works on it. Section and key names match without regard to letter
 * case; a key may occur several times in a section and its values are kept in
 * file order. Lines starting with ';' or '#' are comments.
 *
 * At first need, when no configuration is in force, the INI file named by the
 * environment variable CMNW32_INI is loaded (once per process); without that
 * variable there is no configuration and reads find nothing. In a program
 * running with raised privileges (setuid, setgid, file capabilities) the
 * variable is ignored (secure_getenv), since the file it names decides which
 * modules get loaded.
 *
 * Yes/no values accept Yes/No, Y/N, True/False, On/Off and 1/0 in any case.
 *
 * File format: lines end with LF or CRLF; blank lines are skipped; "[Name]"
 * starts a section (the name trimmed, text after ']' ignored); "key = value"
 * is a setting, key and value trimmed of blanks; lines before the first
 * section belong to the unnamed section "" ; other lines (no '=' or an empty
 * key) are kept as comments. Names match in ASCII letter case only (A-Z/a-z).
 * A section that appears twice is one section.
 *
 * No function here takes a lock: callers set the configuration up from one
 * thread and serialise changes, as with the rest of the library's state.
 *
 * Threads: reads (CFGGetString, CFGGetStringDef, CFGGetInt, CFGGetYesNo,
 * CFGFirstValue ...) may run on any number of threads at once while no
 * thread changes the configuration; the first read loads CMNW32_INI once
 * even when threads race to it. Loading, writing, discarding and making a
 * configuration current belong to start-up or one thread at a time, with no
 * read running. */
#ifndef CMNW32_CFG_H
#define CMNW32_CFG_H

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* Opaque handle of an in-memory configuration (pointer-sized). */
typedef struct CFGConfig *CFGHANDLE;
/* Opaque position of one value of a repeated key (see CFGFirstValue). */
typedef struct CFGLine *CFGCURSOR;

/* The configuration in force, or 0 when there is none (after trying
 * CMNW32_INI once). */
CMNW_API CFGHANDLE CFGCurrent(void) CMNW_NOEXCEPT;
/* Makes h the configuration in force (0: none). The previous one stays alive;
 * its owner discards it later by making it current and calling CFGDiscard. */
CMNW_API void CFGSetCurrent(CFGHANDLE h) CMNW_NOEXCEPT;

/* Reads the first value of key in section into buf (cut to size - 1 and
 * terminated). Returns non-zero when the key exists; buf is left untouched
 * when it does not. Null arguments or size 0 give 0. */
CMNW_API int CFGGetString(const char *section, const char *key, char *buf, size_t size) CMNW_NOEXCEPT;
/* As CFGGetString, but buf receives defaultText (or "" when null) when the key
 * does not exist. */
CMNW_API void CFGGetStringDef(const char *section, const char *key, char *buf, size_t size,
                              const char *defaultText) CMNW_NOEXCEPT;
/* Non-zero when the value is a yes word; 0 for a no word, anything else or a
 * missing key. */
CMNW_API int CFGGetYesNo(const char *section, const char *key) CMNW_NOEXCEPT;
/* The value as yes (1) or no (0); defaultValue when missing or not a yes/no word. */
CMNW_API int CFGGetYesNoDef(const char *section, const char *key, int defaultValue) CMNW_NOEXCEPT;
/* The value as a decimal integer (leading blanks and sign allowed);
 * defaultValue when missing or not a number. */
CMNW_API long CFGGetInt(const char *section, const char *key, long defaultValue) CMNW_NOEXCEPT;

/* Walks the values of a key that occurs several times in a section, in file
 * order: the first call gives a cursor for the first value (0 when none) and
 * copies that value to buf (when buf is given); each CFGNextValue moves on and
 * copies the next value, returning 0 after the last one. section and key of
 * CFGNextValue must name the cursor's key. A cursor is a token, not an
 * address: one of a configuration no longer in force, or a stale one, ends
 * the walk (0) instead of being followed. */
CMNW_API CFGCURSOR CFGFirstValue(const char *section, const char *key, char *buf, size_t size) CMNW_NOEXCEPT;
CMNW_API CFGCURSOR CFGNextValue(CFGCURSOR cursor, const char *section, const char *key, char *buf,
                                size_t size) CMNW_NOEXCEPT;

/* Sets key in section to value: replaces the first occurrence, or adds the
 * key (and the section) when missing. When no configuration is in force an
 * empty one is created. Names and value are trimmed of blanks, as a file
 * would read them. Returns non-zero on success; 0 for a null argument or a
 * setting that would not read back as written (an empty key, a key holding
 * '=' or starting with ';', '#' or '[', a section name holding ']', or a
 * line break anywhere). */
CMNW_API int CFGSetString(const char *section, const char *key, const char *value) CMNW_NOEXCEPT;
/* Appends one more key=value line to section (creating the section), keeping
 * any earlier lines of the same key; same rules as CFGSetString, including
 * the creation of an empty configuration. Returns 0 on failure. */
CMNW_API int CFGAddLine(const char *section, const char *key, const char *value) CMNW_NOEXCEPT;
/* Bracket a long run of CFGAddLine calls on h; lookups between the two calls
 * still see every line. Calls nest. */
CMNW_API void CFGBeginChanges(CFGHANDLE h) CMNW_NOEXCEPT;
CMNW_API void CFGEndChanges(CFGHANDLE h) CMNW_NOEXCEPT;

/* Loads an INI file and makes it the configuration in force (the path goes
 * through SYSNativePath). Returns its handle, or 0 when the file cannot be
 * read, in which case the configuration in force is unchanged. */
CMNW_API CFGHANDLE CFGLoadINI(const char *path) CMNW_NOEXCEPT;
/* Creates an empty configuration and makes it the one in force; 0 on failure. */
CMNW_API CFGHANDLE CFGCreate(void) CMNW_NOEXCEPT;
/* Writes the configuration in force to path, atomically: the text goes to a
 * temporary file beside it, which is synced to the disk, renamed over path,
 * and then the folder is synced. A return of 0 promises that the complete
 * new file is on the disk under its name and survives a crash or a power
 * loss from then on. Whatever happens before that (a full disk, an I/O
 * error, the process killed, the machine stopped), path holds either its old
 * content or the complete new one, never a mix or a truncated file; after a
 * failure reported by a non-zero return the new content may nonetheless be
 * in place when only the final folder sync failed. A failed save removes its
 * temporary file (a killed process cannot: its temporary file, named path
 * followed by a dot and six characters, stays behind). A signal that
 * interrupts the save does not make it fail. The unnamed section's lines
 * come first, then each section as "[Name]" and its lines and comments in
 * order, a blank line before each section. A replaced regular file owned by
 * the effective user keeps its permissions; any other file gets mode 0600
 * (less the umask), and a link at path is replaced, not followed. The temporary file has an
 * unpredictable name. Returns 0 on success, non-zero on failure or when none
 * is in force. */
CMNW_API int CFGSave(const char *path) CMNW_NOEXCEPT;
/* Frees the configuration in force; afterwards none is in force (CMNW32_INI
 * is not read again). */
CMNW_API void CFGDiscard(void) CMNW_NOEXCEPT;

/* Output callbacks of CFGWriteOptions. */
typedef int32_t (*CFGOpenWriteFunc)(void);
typedef int32_t (*CFGAppendFunc)(const char *text);
typedef int32_t (*CFGCloseFunc)(void);

/* Writes every option of the configuration in force through the callbacks:
 * openWrite once, then append once per line ("[Section]" for each section,
 * then "key=value" for each of its lines, in file order; lines of the unnamed
 * section first and without a header; comments left out), then close once.
 * The callbacks' results are not looked at. reserved must be 0; value is
 * ignored. Returns 0 on success, 1 when no configuration is in force, -1 when
 * an argument is unusable. */
CMNW_API int32_t CFGWriteOptions(void *reserved, int32_t value, CFGOpenWriteFunc openWrite,
                                 CFGAppendFunc append, CFGCloseFunc close) CMNW_NOEXCEPT;

/* One record of the list of INI files loaded. */
typedef struct CFGFileEntry {
    char fileName[CMNW_MAX_PATH]; /* as given to CFGLoadINI */
    int32_t loaded;               /* non-zero when the file was read */
} CFGFileEntry;

/* The list of INI files loaded in this process, as a MEM list (see mem.h) of
 * CFGFileEntry records in load order: one record per file name tried by
 * CFGLoadINI or through CMNW32_INI, its flag telling whether the last attempt
 * read it. Owned by the configuration library; callers walk it and never
 * change it. Never null. */
CMNW_API struct MEMListRec *CFGLoadedFiles(void) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
