// Traps that "nobody" lays in a folder everybody may write (no sticky bit) for
// root, whose files must stay as they were. Runs only as root.
#include <fcntl.h>
#include <grp.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "cmnw32/cfg.h"
#include "cmnw32/file.h"
#include "cmnw32/lock.h"
#include "cmnw32/process.h"
#include "cmnw32/trace.h"
#include "platform/platform_test_util.h"

namespace {

using cmnw::test::Exists;
using cmnw::test::ReadFile;
using cmnw::test::TempDir;
using cmnw::test::WriteFile;

constexpr uid_t kNobody = 65534;

struct Folders {
    std::string shared;  // everybody may write, no sticky bit
    std::string root;    // root's own: secret (0600) and keep/ with a file
    std::string Shared(const char *name) const { return shared + "/" + name; }
    std::string Root(const char *name) const { return root + "/" + name; }
};

// Runs lay as nobody in a child that stays alive (holding whatever it
// opened) until act has run as root. False when the child could not lay it.
bool WithTrap(const Folders &f, bool (*lay)(const Folders &), void (*act)(const Folders &)) {
    cmnw::test::Holder child([&] {
        return setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0 && lay(f);
    });
    if (child.holding()) act(f);
    return child.holding();
}

bool Link(const std::string &target, const std::string &at) { return symlink(target.c_str(), at.c_str()) == 0; }

// A semaphore object under the library's name with mode, holding a count of 1 and the magic.
bool MakeObject(const char *name, mode_t mode) {
    const int fd = shm_open(name, O_RDWR | O_CREAT | O_EXCL, mode);
    const uint32_t state[2] = {1, 0x534D5032};
    return fd >= 0 && fchmod(fd, mode) == 0 && write(fd, state, sizeof state) == sizeof state;
}

int32_t SaveNew(const std::string &path) {
    CFGCreate();
    CFGSetString("S", "K", "v");
    return CFGSave(path.c_str());
}

std::string Snapshot(const Folders &f) {
    struct stat st {};
    stat(f.Root("secret").c_str(), &st);
    return ReadFile(f.Root("secret")) + "|" + std::to_string(st.st_mode) + "|" +
           ReadFile(f.Root("keep/file")) + "|" + std::to_string(Exists(f.Root("made")));
}

struct Trap {
    const char *what;
    bool (*lay)(const Folders &);
    void (*act)(const Folders &);
};

const Trap kTraps[] = {
    {"link at the trace file", [](const Folders &f) { return Link(f.Root("secret"), f.Shared("trace.log")); },
     [](const Folders &f) {
         UTLSetTraceName(f.Shared("trace.log").c_str());
         EXPECT_EQ(UTLLogTrace("planted"), nullptr);
     }},
    {"link at a copy destination", [](const Folders &f) { return Link(f.Root("secret"), f.Shared("copy")); },
     [](const Folders &f) {  // the link is replaced, not followed
         EXPECT_EQ(UTLCopyFile(f.Root("keep/file").c_str(), f.Shared("copy").c_str()), 0);
         EXPECT_EQ(ReadFile(f.Shared("copy")), "kept\n");
     }},
    {"FIFO at a CAR file", [](const Folders &f) { return mkfifo(f.Shared("f.car").c_str(), 0666) == 0; },
     [](const Folders &f) { EXPECT_EQ(UTLOpenCARFile(f.Shared("f.car").c_str(), nullptr, 0), nullptr); }},
    {"dangling link at archive.sem", [](const Folders &f) { return Link(f.Root("made"), f.Shared("archive.sem")); },
     [](const Folders &f) {
         CFGSetCurrent(nullptr);
         CFGHANDLE config = CFGCreate();
         CFGSetString("ArcRet", "CarPath", f.shared.c_str());
         CFGSetCurrent(nullptr);
         EXPECT_EQ(UTLLockARC(0, config), 1);
     }},
    {"folder to remove replaced by a link", [](const Folders &f) { return Link(f.Root("keep"), f.Shared("gone")); },
     [](const Folders &f) { EXPECT_EQ(UTLRemoveDir(f.Shared("gone").c_str()), -1); }},
    {"link among the files of a folder to copy",
     [](const Folders &f) {
         return mkdir(f.Shared("src").c_str(), 0777) == 0 && WriteFile(f.Shared("src/plain"), "plain") &&
                Link(f.Root("secret"), f.Shared("src/stolen"));
     },
     [](const Folders &f) {
         EXPECT_EQ(UTLCopyDir(f.Shared("src").c_str(), f.Shared("dst").c_str()), 0);
         EXPECT_EQ(ReadFile(f.Shared("dst/plain")), "plain");
         EXPECT_FALSE(Exists(f.Shared("dst/stolen")));
     }},
    {"temporary names of a configuration save taken",
     [](const Folders &f) {
         bool laid = true;
         for (int n = 1; n <= 100; ++n)
             laid = laid && WriteFile(f.Shared("app.ini") + ".tmp" + std::to_string(getppid()) + "." + std::to_string(n), "");
         return laid;
     },
     [](const Folders &f) { EXPECT_EQ(SaveNew(f.Shared("app.ini")), 0); }},
    {"semaphore object made first, writable by all",
     [](const Folders &) { return MakeObject("/cmnw32.sem.trap-rw", 0666); },
     [](const Folders &) {
         UTLHSEM h = reinterpret_cast<UTLHSEM>(1);
         EXPECT_TRUE(UTLCreateSemaphore("trap-rw", &h, 0, 0) == 0 && h == nullptr);
         EXPECT_TRUE(UTLOpenSemaphore("trap-rw", &h) == 0 && h == nullptr);
     }},
};

TEST(OtherAccount, TrapsLeaveRootsFilesAlone) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root, to drop a child to the nobody account";
    umask(022);
    TempDir shared, root;
    ASSERT_EQ(chmod(shared.path().c_str(), 0777), 0);
    const Folders f{shared.path(), root.path()};
    ASSERT_TRUE(WriteFile(f.Root("secret"), "root only\n") && chmod(f.Root("secret").c_str(), 0600) == 0);
    ASSERT_TRUE(mkdir(f.Root("keep").c_str(), 0700) == 0 && WriteFile(f.Root("keep/file"), "kept\n"));
    const std::string before = Snapshot(f);
    for (const Trap &trap : kTraps) {
        SCOPED_TRACE(trap.what);
        EXPECT_TRUE(WithTrap(f, trap.lay, trap.act));
        EXPECT_EQ(Snapshot(f), before);
    }
    shm_unlink("/cmnw32.sem.trap-rw");
}

// What the library creates for itself in a shared folder gives nobody access,
// and no child process inherits its descriptors.
TEST(OtherAccount, OwnFilesAndObjectsClosedToOthers) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root, to drop a child to the nobody account";
    umask(0);
    TempDir shared;
    ASSERT_EQ(chmod(shared.path().c_str(), 0777), 0);
    const Folders f{shared.path(), ""};
    UTLSetTraceName(f.Shared("own.log").c_str());
    FILE *trace = UTLLogTrace("line");
    FILE *car = UTLOpenCARFile(f.Shared("own.car").c_str(), nullptr, UTL_CAR_READWRITE);
    ASSERT_TRUE(trace != nullptr && car != nullptr);
    EXPECT_NE(fcntl(fileno(trace), F_GETFD) & fcntl(fileno(car), F_GETFD) & FD_CLOEXEC, 0);
    UTLLogTrace(nullptr);
    UTLCloseCARFile(car);
    UTLHSEM sem = nullptr;
    ASSERT_TRUE(UTLCreateSemaphore("own-object", &sem, 0, 0) == 0 && sem != nullptr);
    EXPECT_TRUE(WithTrap(
        f,
        [](const Folders &g) {
            return open(g.Shared("own.log").c_str(), O_RDONLY) < 0 && open(g.Shared("own.car").c_str(), O_RDONLY) < 0 &&
                   shm_open("/cmnw32.sem.own-object", O_RDONLY, 0) < 0;
        },
        [](const Folders &) {}));
    UTLDestroySemaphore(sem);
}

}  // namespace
