// The trace file and the in-memory trace.
#include "cmnw32/trace.h"

#include <stdio_ext.h>

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <string>

#include "cmnw32/cfg.h"
#include "cmnw32/mem.h"
#include "cmnw32/sys.h"
#include "common/os.h"
#include "common/path.h"
#include "common/text.h"
#include "companion/companion.h"
#include "diag/debug_state.h"
#include "diag/trace_prefix.h"

namespace cmnw::diag {
namespace {

constexpr size_t kTraceNameSize = 260;
constexpr size_t kMemoryWorkSize = 1024;

struct TraceState {
    char name[kTraceNameSize];
    FILE *stream;
    uint32_t lineCounter;
    char *memoryBuffer;
    uint32_t memorySize;
    uint32_t memoryCounter;
    bool lineCut;  // the last line reached the file only in part
};

constinit TraceState g_trace{"trace", nullptr, 0, nullptr, 0, 0, false};
// Serialises the trace state between threads; one line at a time also keeps
// the line numbers of one process unique and in file order.
constinit std::mutex g_traceLock;

// Replaces the trace name with the configured TraceFile, placed in DataPath
// when it names no drive or directory.
void ApplyConfiguredTraceFile() {
    char configured[CMNW_MAX_PATH];
    if (!CFGGetString("Data", "TraceFile", configured, sizeof configured)) return;
    TrimInPlace(configured);
    if (configured[0] == '\0') return;
    char drive[kDriveSize], dir[CMNW_MAX_PATH], fname[kNameSize],
        ext[kExtSize];
    UTLSplitPath(configured, drive, dir, fname, ext);
    if (drive[0] == '\0' && dir[0] == '\0') {
        if (!CFGGetString("Data", "DataPath", dir, sizeof dir)) dir[0] = '\0';
        TrimInPlace(dir);
    }
    MakePathBounded(g_trace.name, CMNW_MAX_PATH, drive, dir, fname, ext);
}

// Ends the fragment a cut write left, as the first bytes of the next write.
constexpr char kCutMark[] = " <cut>\n";
constexpr size_t kCutMarkLength = sizeof kCutMark - 1;

// Appends bytes with one write. A write that a full disk or the file-size
// limit cuts short is not continued: by then another writer's line may
// follow the fragment, and the rest would land inside the file as a line
// without a head. True when a fragment without its newline is left behind.
bool AppendOnce(int fd, const char *bytes, size_t length, bool cutBefore) {
    const ssize_t n = os::Write(fd, bytes, length);
    if (n <= 0) return cutBefore;  // nothing reached the file
    return static_cast<size_t>(n) < length;
}

// Notes whether the file ends inside a line: a process was killed while its
// write crossed a page of the file (the kernel then stops the write short),
// or the disk cut a line of a process that wrote nothing since. A file that
// cannot be read leaves the note as it was.
void NoteHowFileEnds(int fd, bool &lineCut) {
    struct stat st;
    char last = '\n';
    if (os::StatFd(fd, &st) != 0) return;
    if (st.st_size > 0 && os::ReadAt(fd, &last, 1, st.st_size - 1) != 1) return;
    lineCut = last != '\n';
}

// Formats the line (prefix when stamped, message, newline) once and appends
// it with one write, so that lines appended by other threads or processes
// never split it; after a cut line the write starts with kCutMark. Anything
// the caller wrote through the returned stream goes out first.
void WriteLine(FILE *stream, bool stamped, uint32_t number, const char *format, va_list args) {
    char stackBuffer[kCutMarkLength + 1024];
    char *start = stackBuffer + kCutMarkLength;
    size_t prefixLen = stamped ? FormatTracePrefix(start, kTracePrefixMax, number) : 0;
    va_list copy;
    va_copy(copy, args);
    // keeps a byte for the newline
    const size_t room = sizeof stackBuffer - kCutMarkLength - prefixLen - 1;
    int messageLen = std::vsnprintf(start + prefixLen, room, format, copy);
    va_end(copy);
    if (messageLen < 0) messageLen = 0;
    std::string heapBuffer;
    if (static_cast<size_t>(messageLen) >= room) {
        heapBuffer.resize(kCutMarkLength + prefixLen + static_cast<size_t>(messageLen) + 2);
        char *grown = heapBuffer.data() + kCutMarkLength;
        std::memcpy(grown, start, prefixLen);
        start = grown;
        std::vsnprintf(start + prefixLen, static_cast<size_t>(messageLen) + 1, format, args);
    }
    size_t total = prefixLen + static_cast<size_t>(messageLen) + 1;
    start[total - 1] = '\n';
    if (g_trace.lineCut) {
        start -= kCutMarkLength;
        std::memcpy(start, kCutMark, kCutMarkLength);
        total += kCutMarkLength;
    }
    if (__fpending(stream) != 0) std::fflush(stream);
    g_trace.lineCut = AppendOnce(fileno(stream), start, total, g_trace.lineCut);
}

void AppendMemory(const char *bytes, size_t length, const char *tail, size_t tailLength) {
    const size_t newSize = g_trace.memorySize + length + tailLength;
    if (newSize > UINT32_MAX) return;
    void *grown = g_trace.memoryBuffer == nullptr ? MEMAlloc(newSize)
                                                : MEMRealloc(g_trace.memoryBuffer, newSize);
    if (grown == nullptr) return;
    g_trace.memoryBuffer = static_cast<char *>(grown);
    std::memcpy(g_trace.memoryBuffer + g_trace.memorySize, bytes, length);
    std::memcpy(g_trace.memoryBuffer + g_trace.memorySize + length, tail, tailLength);
    g_trace.memorySize = static_cast<uint32_t>(newSize);
}

}  // namespace
}  // namespace cmnw::diag

using cmnw::diag::g_trace;
using cmnw::diag::g_traceLock;

extern "C" FILE *UTLLogTrace(const char *format, ...) noexcept {
    const std::lock_guard hold(g_traceLock);
    if (format == nullptr) {
        if (g_trace.stream != nullptr) SYSfclose(g_trace.stream);
        g_trace.stream = nullptr;
        return nullptr;
    }
    if (g_trace.stream == nullptr) {
        cmnw::diag::ApplyConfiguredTraceFile();
        // Opened for reading too, to look at its last byte; a file this
        // account may only write is still appended to.
        g_trace.stream = cmnw::companion::OpenStream(g_trace.name, "a+", cmnw::companion::kOwnFileMode);
        if (g_trace.stream == nullptr && errno == EACCES)
            g_trace.stream =
                cmnw::companion::OpenStream(g_trace.name, "a", cmnw::companion::kOwnFileMode);
        if (g_trace.stream == nullptr) return nullptr;
        cmnw::diag::NoteHowFileEnds(fileno(g_trace.stream), g_trace.lineCut);
    }
    ++g_trace.lineCounter;
    va_list args;
    va_start(args, format);
    cmnw::diag::WriteLine(g_trace.stream, cmnw::diag::TimeStampSwitch() != 0, g_trace.lineCounter,
                          format, args);
    va_end(args);
    return g_trace.stream;
}

extern "C" char *UTLTraceName(void) noexcept { return g_trace.name; }

extern "C" char *UTLSetTraceName(const char *name) noexcept {
    cmnw::CopyBounded(g_trace.name, CMNW_MAX_PATH, name);
    return g_trace.name;
}

extern "C" void UTLLogTraceMemory(const char *format, ...) noexcept {
    char work[cmnw::diag::kMemoryWorkSize];
    const std::lock_guard hold(g_traceLock);
    ++g_trace.memoryCounter;
    size_t n = cmnw::diag::FormatTracePrefix(work, sizeof work, g_trace.memoryCounter);
    const size_t before = g_trace.memorySize;
    cmnw::diag::AppendMemory(work, n, "", 0);
    if (g_trace.memorySize == before && n > 0) return;
    va_list args;
    va_start(args, format);
    n = cmnw::FormatBoundedV(work, sizeof work, format, args);
    va_end(args);
    cmnw::diag::AppendMemory(work, n, "\n\r", 2);
}

extern "C" void UTLDumpMemTrace(const char *fileName) noexcept {
    const std::lock_guard hold(g_traceLock);
    if (FILE *file = cmnw::companion::OpenStream(fileName, "a", cmnw::companion::kOwnFileMode)) {
        if (g_trace.memorySize > 0) SYSfwrite(g_trace.memoryBuffer, 1, g_trace.memorySize, file);
        SYSfclose(file);
    }
    MEMFree(g_trace.memoryBuffer);
    g_trace.memoryBuffer = nullptr;
    g_trace.memorySize = 0;
    g_trace.memoryCounter = 0;
}
