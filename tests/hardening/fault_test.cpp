// The fault loops: an operation is run with the nth allocation or system
// call of the library failing, n = 1, 2, ... until none is injected.
// Allocations: each function gives its documented failure result (or, where
// failing is not in its contract, still the right answer), leaks nothing and
// leaves nothing half-built; the next call works.
// System calls of each writing operation (a full disk, an I/O error, a
// refused access, an interrupting signal, a short write): the operation gives
// its documented failure result, a file that existed holds its old or its
// complete new content, no descriptor, lock or temporary file is left
// behind, and the next call works. An interrupted call is retried.
#include "common/fault.h"

#if CMNW_FAULTS

#include <dirent.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <set>
#include <string>

#include "chars/codepage_fixture.h"
#include "cmnw32.h"
#include "common/test_support.h"

namespace {

namespace fault = cmnw::fault;
using fault::Kind;
using cmnw::test::ReadFile;
using cmnw::test::WriteFile;
using Check = std::function<bool(const std::string &)>;

// The text of an operation's result, formatted with the switch disarmed so
// that a fault never lands in the test's own allocations.
__attribute__((format(printf, 1, 2))) std::string Result(const char *format, ...) {
    fault::Disarm();
    char text[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    return text;
}

// Runs run with the nth call of kind failing, n = 1, 2, ... until no fault is
// injected. run performs the operation, undoes what it built and describes
// the result (and any damage it saw) in a text: with a fault it must equal
// the clean run's or satisfy isFailure (the documented failure result), and
// the clean run after it must give the clean text again.
long RunFaultLoop(const char *name, fault::Kind kind, int error, bool shortWrite,
                         const std::function<std::string()> &run,
                         const Check &isFailure) {
    const std::string reference = run();
    long n = 1;
    for (; n <= 100000; ++n) {
        fault::Arm(kind, n, error, shortWrite);
        const std::string faulted = run();
        if (!fault::Disarm()) {
            EXPECT_EQ(faulted, reference) << name << ": run without a fault";
            break;
        }
        EXPECT_TRUE(faulted == reference || isFailure(faulted))
            << name << ": fault at call " << n << " gave \"" << faulted << "\"";
        EXPECT_EQ(run(), reference) << name << ": clean run after a fault at call " << n;
    }
    std::printf("fault points: %s: %ld\n", name, n - 1);
    return n - 1;
}

std::string LocaleRecord() {
    UTLInitLocale();
    UTLLOCALE h = UTLAddLocale("fr_FAULT");
    char name[32] = "null";
    if (h != nullptr) snprintf(name, sizeof name, "%s", UTLGetLocaleName(h, 0));
    const bool stray = UTLFindLocale("fr_FAULT") != h;
    UTLTermLocale();
    return Result("%s%s", name, stray ? " stray entry" : "");
}

std::string CodePageSet() {
    UTLCPSET set = UTLLoadCodePage();
    if (set == nullptr) return Result("null");
    char ids[4096];
    int used = snprintf(ids, sizeof ids, "%u", UTLCodePageCount(set));
    uint8_t byte = 0;
    char id[UTL_CP_IDENT_SIZE], name[UTL_CP_NAME_SIZE], alias[UTL_CP_NAME_SIZE];
    for (uint16_t st = UTLGetFirstCodePageChar(set, &byte, id, name, alias); st == UTL_CP_OK && used < 4000;
         st = UTLGetNextCodePageChar(set, &byte, id, name, alias))
        used += snprintf(ids + used, sizeof ids - used, " %s", id);
    UTLDestroyCodePage(set);
    return Result("%s", ids);
}

std::string IniLoad(const std::string &path) {
    CFGHANDLE prior = CFGCurrent();
    CFGHANDLE h = CFGLoadINI(path.c_str());
    if (h == nullptr) return Result(CFGCurrent() == prior ? "null" : "null, another configuration in force");
    char a[32] = "", b[32] = "";
    CFGGetString("A", "k", a, sizeof a);
    CFGGetString("B", "y", b, sizeof b);
    CFGDiscard();
    CFGSetCurrent(prior);
    return Result("%s,%s", a, b);
}

// A keyed list filled, probed and resized; "failed" when some call reported
// failure and the list still holds exactly what the calls that succeeded put in.
std::string MemoryList() {
    MEMLIST list = MEMCreateList();
    if (list == nullptr) return Result("failed");
    MEMKeyList(list, 0, 4, nullptr);
    size_t added = 0;
    bool failed = false;
    for (uint32_t i = 0; i < 40; ++i) {
        const uint32_t key = __builtin_bswap32((i * 7) % 40);
        const bool put = MEMAddItem(list, &key, sizeof key) != nullptr;
        added += put, failed |= !put;
    }
    int32_t status = 0;
    const uint32_t again = __builtin_bswap32(5);
    MEMInsertItem(list, &again, sizeof again, &status);
    failed |= status == -1;
    added += status == 0;
    const char grown[100] = "\0\0\0\0grown";
    failed |= MEMFirstItem(list) != nullptr && MEMResizeItem(MEMFirstItem(list), grown, sizeof grown) == 0;
    bool whole = MEMCount(list) == added;
    uint32_t previous = 0;
    for (MEMITEM it = MEMFirstItem(list); it != nullptr; it = MEMNextItem(it)) {
        uint32_t key = 0;
        MEMGetItem(it, &key, sizeof key);
        whole &= __builtin_bswap32(key) >= previous;
        previous = __builtin_bswap32(key);
        int16_t found = 0;
        whole &= MEMFindKey(list, &key, &found) != nullptr && found == 1;
    }
    MEMDestroyList(list);
    return whole && failed ? Result("failed") : Result(whole ? "%zu" : "broken", added);
}

std::string Keywords() {
    char text[] = "NAME(abc), SIZE(12), FLAG";
    char *cursor = text, *value = nullptr;
    int32_t number = 0, flag = 0;
    const int name = UTLParseKeywordStr(&cursor, &value, "NAME");
    const int size = UTLParseKeywordInt(&cursor, &number, "SIZE");
    const int bare = UTLParseKeywordBool(&cursor, &flag, "FLAG");
    return Result("%d%s %d%d %d%d", name, value != nullptr ? value : "", size, number, bare, flag);
}

TEST(AllocationFaults, EveryAllocationOfEveryAllocatingFunction) {
    cmnw::test::TempDir dir, patches;
    const std::string ini = dir.Write("a.ini", "top=1\n[A]\nk=v\n; note\n[B]\nx=1\ny=2\n");
    patches.Write("a.dll", "head@@QVS PATCH 11.2:P03:PCR 1:400.112:..\\C\\unit:May 24 2007:15:54:00:" + std::string(1, '\0') + "tail");
    patches.Write("b.txt", "plain text\n");
    auto exactly = [](const char *text) { return [=](const std::string &s) { return s == text; }; };
    const struct {
        const char *name;
        std::function<std::string()> run;
        Check isFailure;
    } cases[] = {
        {"locale record", LocaleRecord, exactly("null")},
        {"code page set", CodePageSet, exactly("null")},
        {"INI load", [&] { return IniLoad(ini); }, exactly("null")},
        {"memory list", MemoryList, exactly("failed")},
        // A missing insert is left as written.
        {"message with inserts",
         [] {
             char out[64];
             UTLFmtMsgString(out, sizeof out, "%1-%2-%3", 3, "a", "b", "c");
             return Result("%s", out);
         },
         [](const std::string &s) { return s == "%1-%2-%3" || s == "a-%2-%3" || s == "a-b-%3"; }},
        {"keyword parsing", Keywords, exactly("")},  // nothing to fail
        // Without its buffer the record is the one of a file without a resource.
        {"version record",
         [] {
             const UTLVerInfo info = UTLGetVerInfo(CMNW_TEST_SOURCE_DIR "/tests/fixtures/version/verinfo.dll");
             return Result("%s|%s|%s|%s|%s", info.fileName, info.fileVersion, info.companyName,
                           info.productVersion, info.fileTime);
         },
         exactly("||||")},
        // Always "succeeds": a report it cannot make leaves the caller's values.
        {"directory report",
         [&] {
             long mainPatch = 0, thirdParty = 0;
             unsigned long crc = 0xFFFFFFFFul;
             char release[16] = "stale";
             UTLGetVersions(patches.path().c_str(), &mainPatch, &thirdParty, &crc, release, sizeof release, nullptr, 0, 0);
             return Result("%ld,%ld,%lu,%s", mainPatch, thirdParty, crc, release);
         },
         exactly("0,0,4294967295,")},
    };
    for (const auto &c : cases)
        RunFaultLoop(c.name, Kind::Allocation, 0, false, c.run, c.isFailure);
}

int OpenDescriptors() {
    int n = -1;  // the listing's own
    if (DIR *fds = opendir("/proc/self/fd")) {
        while (dirent *e = readdir(fds)) n += e->d_name[0] != '.';
        closedir(fds);
    }
    return n;
}

// op's text, then the descriptors it left open and the names in dir, in
// order (a temporary file left behind shows here).
std::string Leaves(const std::string &dir, const std::function<std::string()> &op) {
    const int fds = OpenDescriptors();
    std::string text = op();
    std::set<std::string> names;
    if (DIR *d = opendir(dir.c_str())) {
        while (dirent *e = readdir(d))
            if (e->d_name[0] != '.') names.insert(e->d_name);
        closedir(d);
    }
    text += Result(" fds%+d", OpenDescriptors() - fds);
    for (const std::string &n : names) text += " " + n;
    return text;
}

// "new", "old" or "DAMAGED" for the content of path.
std::string State(const std::string &path, const std::string &oldText, const std::string &newText) {
    const std::string now = ReadFile(path);
    return now == newText ? " new" : now == oldText ? " old" : " DAMAGED";
}

Check OneOf(std::set<std::string> texts) {
    return [texts](const std::string &s) { return texts.count(s) > 0; };
}

// The loop of every fault kind over op, with what it leaves in dir; an
// interrupted call must be retried, so with EINTR only the clean result is
// accepted.
void LoopEveryFault(const std::string &operation, const std::string &dir,
                    const std::function<std::string()> &op, const Check &isFailure) {
    const auto run = [&] { return Leaves(dir, op); };
    const struct {
        const char *name;
        int error;
    } faults[] = {{"ENOSPC", ENOSPC}, {"EIO", EIO}, {"EACCES", EACCES}, {"EINTR", EINTR}, {"short write", 0}};
    for (const auto &f : faults)
        RunFaultLoop((operation + ", " + f.name).c_str(), Kind::System, f.error,
                                 f.error == 0, run, f.error == EINTR ? OneOf({}) : isFailure);
}

class SystemFaults : public ::testing::Test {
protected:
    void SetUp() override { setenv("KVRWAIT", "0", 1); }
    cmnw::testing::ScratchDir dir;
};

TEST_F(SystemFaults, ConfigurationAndCodePageSaves) {
    dir.UseConfig();
    UTLCPSET set = UTLLoadCodePage();
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(UTLUnloadCodePage(set), UTL_CP_OK);
    const std::string pages = ReadFile(dir.File("codepage.ini")), ini = dir.File("a.ini");
    CFGHANDLE pointsToDir = CFGCurrent();
    ASSERT_NE(CFGCreate(), nullptr);
    for (int i = 0; i < 50; ++i) CFGAddLine("Data", "key", std::to_string(i).c_str());
    ASSERT_EQ(CFGSave(ini.c_str()), 0);
    const std::string saved = ReadFile(ini), old = "[Data]\nkey=old\n", page = dir.File("codepage.ini");
    const Check oldOrNew = OneOf({"1 old fds+0 a.ini cmnw32.ini codepage.ini", "1 new fds+0 a.ini cmnw32.ini codepage.ini"});
    LoopEveryFault("CFGSave", dir.path(), [&] {
        WriteFile(ini, old);
        const int rc = CFGSave(ini.c_str());
        return Result("%d", rc != 0) + State(ini, old, saved);
    }, oldOrNew);
    CFGDiscard();
    CFGSetCurrent(pointsToDir);
    LoopEveryFault("code page set save", dir.path(), [&] {
        WriteFile(page, old);
        const int rc = UTLUnloadCodePage(set);
        return Result("%d", rc != 0) + State(page, old, pages);
    }, oldOrNew);
    UTLDestroyCodePage(set);
}

// Every line of the trace whole ("... entry") or marked cut, none glued to
// another; "+" when the last line is a whole entry.
std::string TraceLines(const std::string &text) {
    size_t start = 0, end;
    bool lastWhole = false;
    for (; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = text.substr(start, end - start);
        const bool cut = line.ends_with(" <cut>");
        lastWhole = line.ends_with(" entry");
        if ((!cut && !lastWhole) || line.find("pid=") != line.rfind("pid=")) return "GLUED";
    }
    return start == text.size() ? (lastWhole ? "+" : "-") : "open";
}

TEST_F(SystemFaults, TraceLog) {
    UTLSetTraceName(dir.File("trace").c_str());
    LoopEveryFault("trace log", "", [&] {
        UTLLogTrace("entry");
        UTLLogTrace(nullptr);
        return TraceLines(ReadFile(dir.File("trace")));
    }, OneOf({"- fds+0", "open fds+0"}));
}

TEST_F(SystemFaults, LockFilesArchiveFilesAndTheArchiveLock) {
    const std::string data = dir.File("x.dat"), car = dir.File("a.car");
    LoopEveryFault("lock file", "", [&] {
        const int lock = UTLLockFileExt(data.c_str());
        const bool held = access(dir.File("x.lck").c_str(), F_OK) == 0;
        const int unlock = UTLUnLockFileExt(data.c_str());
        unlink(dir.File("x.lck").c_str());  // as a caller told the release failed tries again
        return Result("lock %d held %d unlock %d", lock, held, unlock);
    }, OneOf({"lock 1 held 0 unlock 1 fds+0", "lock 0 held 1 unlock 1 fds+0"}));
    LoopEveryFault("archive file", "", [&] {
        FILE *stream = UTLLock(car.c_str());
        const int written = stream != nullptr ? fputs("archived\n", stream) >= 0 : 0;
        const int unlock = UTLUnlock(stream);
        FILE *again = UTLLock(car.c_str());  // nothing left holding the file
        const int reopened = again != nullptr;
        UTLUnlock(again);
        unlink(car.c_str());
        return Result("%d %d %d %d", stream != nullptr, written, unlock, reopened);
    }, OneOf({"0 0 1 1 fds+0", "0 0 1 0 fds+0"}));
    CFGHANDLE config = CFGCreate();
    CFGSetString("ArcRet", "CarPath", dir.path().c_str());
    CFGSetCurrent(nullptr);
    LoopEveryFault("archive lock", "", [&] {
        const int lock = UTLLockARC(0, config);
        return Result("%d %d", lock, UTLUnlockARC());
    }, OneOf({"1 1 fds+0"}));
}

TEST_F(SystemFaults, FileAndFolderCopies) {
    const std::string from = dir.File("from"), to = dir.File("to");
    ASSERT_EQ(mkdir(from.c_str(), 0700) | mkdir(to.c_str(), 0700), 0);
    const std::string text(100000, 'n'), old = "old\n";
    WriteFile(from + "/a.txt", text);
    WriteFile(from + "/b.txt", text + "b");
    UTLSetTraceName(dir.File("trace").c_str());  // a failed copy writes a line: open it first
    UTLLogTrace("copies");
    LoopEveryFault("UTLCopyFile", to, [&] {
        WriteFile(to + "/a.txt", old);
        const int rc = UTLCopyFile((from + "/a.txt").c_str(), (to + "/a.txt").c_str());
        return Result("%d", rc) + State(to + "/a.txt", old, text);
    }, OneOf({"1 old fds+0 a.txt", "1 new fds+0 a.txt"}));
    LoopEveryFault("UTLCopyDir", to, [&] {
        WriteFile(to + "/a.txt", old);
        WriteFile(to + "/b.txt", old);
        const int rc = UTLCopyDir(from.c_str(), to.c_str());
        return Result("%d", rc) + State(to + "/a.txt", old, text) + State(to + "/b.txt", old, text + "b");
    }, [](const std::string &s) { return s.find("DAMAGED") == std::string::npos && s.ends_with("fds+0 a.txt b.txt"); });
}

}  // namespace

#endif
