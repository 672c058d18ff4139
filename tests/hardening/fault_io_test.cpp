// Every system call of each writing operation failed in turn (a full disk,
// an I/O error, a refused access, an interrupting signal, a short write): the
// operation gives its documented failure result, a file that existed holds
// its old or its complete new content, no descriptor, lock or temporary file
// is left behind, and the next call works. An interrupted call is retried.
#include "common/fault.h"

#if CMNW_FAULTS

#include <dirent.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <set>
#include <string>

#include "chars/codepage_fixture.h"
#include "cmnw32.h"
#include "hardening/fault_loop.h"

namespace {

using cmnw::test::ReadFile;
using cmnw::test::Result;
using cmnw::test::WriteFile;
using Check = std::function<bool(const std::string &)>;

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
        cmnw::test::RunFaultLoop((operation + ", " + f.name).c_str(), cmnw::fault::Kind::System, f.error,
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
