/* The trace log and debug switches.
 *
 * UTLLogTrace appends numbered, time-stamped lines to the trace file, opened
 * on the first line: the path configured as TraceFile in section [Data]
 * (a bare file name goes into the directory DataPath of the same section),
 * else the trace name ("trace" in the current directory unless
 * UTLSetTraceName changed it). The file is chosen when it is opened, so load
 * the configuration before the first line: a line written earlier fixes the
 * file at the trace name until the trace is closed (UTLLogTrace(NULL)) and
 * the next line opens it again. Each line has the prefix
 *     "% 4u. %s.%03d %s pid=%08d "
 * (line number, "Www Mmm dd hh:mm:ss", milliseconds, year, process id) unless
 * PrintTimeStamp=No in [Debug_Switches]. Each line reaches the file in one
 * write on a file opened for appending, so lines from several threads or
 * processes never mix within a line. A line that a full disk or the
 * file-size limit cuts short keeps the part written and loses the rest; the
 * next line this process writes starts with " <cut>" and a newline, so the
 * fragment ends in " <cut>" on a line of its own. The first line of a
 * process that opens the trace and finds it ending inside a line (its writer
 * was killed in the middle of one) starts the same way. Threads of one
 * process take turns, so their line numbers are unique and in file order;
 * each process counts its own lines. UTLLogTrace, UTLLogTraceMemory and
 * UTLDumpMemTrace may be called from several threads at once; set the trace
 * name before threads start.
 * A new trace file (and the file of UTLDumpMemTrace) is created with mode
 * 0660 less the umask: the trace may hold the whole configuration, so
 * others get no access. The file is opened as SYSfopen opens (sys.h): in a
 * folder another account may write, a link or anything but a regular file
 * at the trace name is refused and no line is written.
 *
 * Debug switches are yes/no or text options of [Debug_Switches], answered
 * only when Enable_Debug_Options=Yes; Show_Debug_Options=Yes echoes each
 * answer through UTLPlatformInfo under "<Debug_Switches>". The switches are
 * read once, or again after UTLResetDebug. */
#ifndef CMNW32_TRACE_H
#define CMNW32_TRACE_H

#include <stdio.h>

#include "cmnw32/api.h"

CMNW_BEGIN_DECLS

/* Appends one line (printf-style) and returns the open trace stream, or null
 * when the file cannot be opened (retried on the next line). A null format
 * closes the trace file and returns null; the next line opens it again. */
CMNW_API FILE *UTLLogTrace(const char *format, ...) CMNW_NOEXCEPT CMNW_PRINTF(1, 2);
/* The trace name buffer (260 bytes, library-owned). */
CMNW_API char *UTLTraceName(void) CMNW_NOEXCEPT;
/* Copies name (at most 257 characters) into the trace name buffer and returns
 * the buffer. An open trace file stays open; the name is used when the file
 * is next opened, and a configured TraceFile still takes precedence. */
CMNW_API char *UTLSetTraceName(const char *name) CMNW_NOEXCEPT;

/* Collects one record in memory (the same prefix, numbered from 1 since the
 * last dump; each record ends with a line feed and a carriage return). A
 * message longer than 1023 characters is cut. When memory runs out the
 * record is dropped; earlier records are kept. */
CMNW_API void UTLLogTraceMemory(const char *format, ...) CMNW_NOEXCEPT CMNW_PRINTF(1, 2);
/* Appends the collected records to fileName (when it opens) and discards
 * them; the numbering starts again at 1. */
CMNW_API void UTLDumpMemTrace(const char *fileName) CMNW_NOEXCEPT;

/* Reads the debug settings again from the configuration in force. Returns the
 * time-stamp switch (non-zero: lines carry the prefix), or 0 when there is no
 * configuration (the settings are then left unread). */
CMNW_API int32_t UTLResetDebug(void) CMNW_NOEXCEPT;
/* Non-zero when the yes/no switch is on; 0 when it is off, missing, or debug
 * options are not enabled. */
CMNW_API int32_t UTLDebugOption(const char *option) CMNW_NOEXCEPT;
/* Copies the text of a debug option into buffer (at most size bytes); 1 when
 * found, else 0. A null buffer or size 0 gives 0 without reading anything;
 * with debug options disabled the buffer is emptied. */
CMNW_API int32_t UTLDebugValue(const char *option, char *buffer, uint32_t size) CMNW_NOEXCEPT;

/* Writes the loaded INI files and then every option of the configuration in
 * force into the trace, between banner lines; returns the configuration
 * library's status (see CFGWriteOptions). value is passed through. */
CMNW_API int32_t UTLLogINIOptions(int32_t value) CMNW_NOEXCEPT;
/* Writes the full path of every loaded INI file into the trace; returns 0. */
CMNW_API int32_t UTLLogINIFileNames(void) CMNW_NOEXCEPT;
/* The output callbacks UTLLogINIOptions hands to CFGWriteOptions: open and
 * close do nothing, append writes its text as one trace line. All return 0. */
CMNW_API int32_t UTLLogINIDefOpenWrite(void) CMNW_NOEXCEPT;
CMNW_API int32_t UTLLogINIDefAppend(const char *text) CMNW_NOEXCEPT;
CMNW_API int32_t UTLLogINIDefClose(void) CMNW_NOEXCEPT;

CMNW_END_DECLS

#endif
