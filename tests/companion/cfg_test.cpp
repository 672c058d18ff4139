#include "cmnw32/cfg.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cmnw32/file.h"
#include "cmnw32/mem.h"
#include "common/test_support.h"

namespace {
// While a test listens, every fsync and rename of this process is noted here
// (these definitions come before the C library's for the library's calls
// too): the name synced or renamed, in the test's folder, and the size of a
// synced file.
std::vector<std::string> *syncLog;
std::string syncFolder;

std::string Noted(const std::string &path) {
    const std::string name = path.substr(path.rfind('/') + 1);
    return path == syncFolder ? "folder" : name.size() == 12 && name.starts_with("c.ini.") ? "temp" : name;
}
}  // namespace

extern "C" int fsync(int fd) {
    static const auto real = reinterpret_cast<int (*)(int)>(dlsym(RTLD_NEXT, "fsync"));
    if (syncLog != nullptr) {
        char target[4096] = {};
        struct stat st {};
        const std::string link = "/proc/self/fd/" + std::to_string(fd);
        if (readlink(link.c_str(), target, sizeof target - 1) < 0 || fstat(fd, &st) != 0) return -1;
        syncLog->push_back("fsync " + Noted(target) +
                           (S_ISREG(st.st_mode) ? " " + std::to_string(st.st_size) : ""));
    }
    return real(fd);
}

extern "C" int rename(const char *from, const char *to) noexcept {
    static const auto real =
        reinterpret_cast<int (*)(const char *, const char *)>(dlsym(RTLD_NEXT, "rename"));
    if (syncLog != nullptr) syncLog->push_back("rename " + Noted(from) + " " + Noted(to));
    return real(from, to);
}

namespace {

using cmnw::test::TempDir;

std::string Get(const char *section, const char *key) {
    char buf[256] = "untouched";
    if (!CFGGetString(section, key, buf, sizeof buf)) return "<missing>";
    return buf;
}

std::vector<std::string> AllValues(const char *section, const char *key) {
    std::vector<std::string> out;
    char buf[256];
    for (CFGCURSOR c = CFGFirstValue(section, key, buf, sizeof buf); c != nullptr;
         c = CFGNextValue(c, section, key, buf, sizeof buf))
        out.push_back(buf);
    return out;
}

const char kSample[] =
    "; leading comment\r\n"
    "Top = outside any section\r\n"
    "[Data]\r\n"
    "  TraceFile =  trace.log  \r\n"
    "# another comment\r\n"
    "\r\n"
    "Char=a\r\n"
    "CHAR = b\r\n"
    "noequals line\r\n"
    "=novalue\r\n"
    "char=c\r\n"
    "[ debug_switches ]  trailing text\r\n"
    "Echo=Yes\r\n"
    "Empty=\r\n"
    "[DATA]\r\n"
    "Char=d\r\n";

TEST(CfgRead, SectionsKeysCommentsCaseAndRepeats) {
    TempDir dir;
    ASSERT_NE(CFGLoadINI(dir.Write("a.ini", kSample).c_str()), nullptr);
    const char *cases[][3] = {
        {"data", "tracefile", "trace.log"},    {"DATA", "TRACEFILE", "trace.log"},
        {"", "top", "outside any section"},    {"Debug_Switches", "echo", "Yes"},
        {"Debug_Switches", "Empty", ""},       {"Data", "noequals line", "<missing>"},
        {"Data", "; leading comment", "<missing>"}, {"Nope", "Char", "<missing>"},
    };
    for (const auto &c : cases) EXPECT_EQ(Get(c[0], c[1]), c[2]) << c[0] << "/" << c[1];
    EXPECT_EQ(AllValues("data", "char"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_TRUE(AllValues("data", "none").empty());
}

TEST(CfgRead, CutsToBufferAndLeavesBufferAloneWhenMissing) {
    TempDir dir;
    ASSERT_NE(CFGLoadINI(dir.Write("a.ini", "[S]\nK=abcdefgh\n").c_str()), nullptr);
    char buf[5] = "zzzz";
    EXPECT_EQ(CFGGetString("S", "K", buf, sizeof buf), 1);
    EXPECT_STREQ(buf, "abcd");
    EXPECT_EQ(CFGGetString("S", "Q", buf, sizeof buf), 0);
    EXPECT_STREQ(buf, "abcd") << "left alone when missing";
    EXPECT_EQ(CFGGetString("S", "K", buf, 0), 0);
    EXPECT_EQ(CFGGetString(nullptr, "K", buf, sizeof buf), 0);
    CFGGetStringDef("S", "Q", buf, sizeof buf, "default");
    EXPECT_STREQ(buf, "defa");
    CFGGetStringDef("S", "Q", buf, sizeof buf, nullptr);
    EXPECT_STREQ(buf, "");
}

TEST(CfgRead, YesNoWordsAndIntegers) {
    TempDir dir;
    ASSERT_NE(CFGLoadINI(dir.Write("a.ini", "[S]\ny0=Yes\ny1=y\ny2=TRUE\ny3=On\ny4=1\nn0=No\n"
                                              "n1=n\nn2=false\nn3=OFF\nn4=0\nother=maybe\nnum= -42\n"
                                              "plus=+7\nbad=x1\nbig=99999999999999999999999\n")
                               .c_str()),
              nullptr);
    for (const std::string key : {"y0", "y1", "y2", "y3", "y4"}) {
        EXPECT_NE(CFGGetYesNo("S", key.c_str()), 0) << key;
        EXPECT_EQ(CFGGetYesNoDef("S", key.c_str(), 0), 1) << key;
        EXPECT_EQ(CFGGetYesNo("S", ("n" + key.substr(1)).c_str()), 0) << key;
        EXPECT_EQ(CFGGetYesNoDef("S", ("n" + key.substr(1)).c_str(), 1), 0) << key;
    }
    EXPECT_EQ(CFGGetYesNo("S", "other"), 0);
    EXPECT_EQ(CFGGetYesNoDef("S", "other", 7) + CFGGetYesNoDef("S", "missing", 5), 12);
    const std::pair<const char *, int> ints[] = {
        {"num", -42}, {"plus", 7}, {"bad", 3}, {"big", 3}, {"missing", 3}};
    for (const auto &[key, value] : ints) EXPECT_EQ(CFGGetInt("S", key, 3), value) << key;
}

TEST(CfgEnvironment, LoadedOnceAtFirstNeed) {
    TempDir dir;
    std::string path = dir.Write("env.ini", "[Data]\nTraceFile=env.log\n");
    setenv("CMNW32_INI", path.c_str(), 1);
    EXPECT_EQ(Get("Data", "TraceFile"), "env.log");
    CFGHANDLE first = CFGCurrent();
    EXPECT_TRUE(first != nullptr && CFGCurrent() == first);
    EXPECT_EQ(MEMCount(CFGLoadedFiles()), 1u);
    CFGDiscard();
    EXPECT_EQ(CFGCurrent(), nullptr);
    EXPECT_EQ(Get("Data", "TraceFile"), "<missing>");
}

TEST(CfgRead, RepeatedKeyWalkAfterBatchOfAddedLines) {
    ASSERT_NE(CFGCreate(), nullptr);
    CFGHANDLE h = CFGCurrent();
    CFGBeginChanges(h);
    CFGBeginChanges(h);  // brackets nest
    for (int i = 0; i < 742; ++i) {
        std::string value = "SC" + std::to_string(i) + ",name" + std::to_string(i);
        ASSERT_EQ(CFGAddLine("CODEPAGE", "Char", value.c_str()), 1);
        EXPECT_TRUE(i != 10 || Get("codepage", "char") == "SC0,name0") << "visible inside the bracket";
    }
    CFGEndChanges(h);
    CFGEndChanges(h);
    CFGEndChanges(h);  // an extra end is harmless
    std::vector<std::string> values = AllValues("CodePage", "CHAR");
    ASSERT_EQ(values.size(), 742u);
    for (size_t i = 0; i < values.size(); ++i)
        EXPECT_EQ(values[i], "SC" + std::to_string(i) + ",name" + std::to_string(i));
}

TEST(CfgHandles, SetCurrentSwitchesAndIgnoresUnknownHandles) {
    TempDir dir;
    CFGHANDLE a = CFGLoadINI(dir.Write("a.ini", "[S]\nk=a\n").c_str());
    CFGHANDLE b = CFGLoadINI(dir.Write("b.ini", "[S]\nk=b\n").c_str());
    ASSERT_TRUE(a != nullptr && b != nullptr);
    EXPECT_EQ(CFGCurrent(), b);
    EXPECT_EQ(Get("S", "k"), "b");
    // A failed load leaves the configuration in force alone.
    EXPECT_EQ(CFGLoadINI(dir.File("missing.ini").c_str()), nullptr);
    EXPECT_EQ(CFGCurrent(), b);
    CFGSetCurrent(a);
    EXPECT_EQ(Get("S", "k"), "a");
    CFGSetCurrent(reinterpret_cast<CFGHANDLE>(&dir));  // unknown: ignored
    EXPECT_EQ(CFGCurrent(), a);
    CFGDiscard();  // frees a
    CFGSetCurrent(a);
    EXPECT_EQ(CFGCurrent(), nullptr);
    CFGSetCurrent(b);
    EXPECT_EQ(Get("S", "k"), "b");
    CFGSetCurrent(nullptr);
    EXPECT_TRUE(CFGCurrent() == nullptr && Get("S", "k") == "<missing>");
}

TEST(CfgSave, AtomicReplaceKeepsModeAndFailsCleanly) {
    TempDir dir;
    std::string path = dir.Write("c.ini", "[Old]\nk=v\n");
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    ASSERT_NE(CFGCreate(), nullptr);
    ASSERT_EQ(CFGSetString("New", "k", "v"), 1);
    ASSERT_EQ(CFGSetString("NEW", "K", "w"), 1);  // replaces, keeping the first spelling
    ASSERT_EQ(CFGSave(path.c_str()), 0);
    EXPECT_EQ(cmnw::test::ReadFile(path), "[New]\nk=w\n");
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // A target that cannot be replaced (a directory) fails.
    ASSERT_EQ(mkdir(dir.File("sub").c_str(), 0755), 0);
    for (const std::string &bad : {dir.File("sub"), dir.File("nodir/x.ini")})
        EXPECT_NE(CFGSave(bad.c_str()), 0) << bad;
    EXPECT_NE(CFGSave(nullptr), 0);
    CFGDiscard();
    EXPECT_NE(CFGSave(path.c_str()), 0);  // nothing in force
}

// A save is durable only in this order: the whole text written and synced,
// the temporary file renamed over the old one, the folder synced.
TEST(CfgSave, SyncsTheWrittenFileThenRenamesThenSyncsTheFolderAndACopyOverAFileSyncsFirst) {
    TempDir dir;
    const std::string path = dir.File("c.ini");
    ASSERT_NE(CFGCreate(), nullptr);
    ASSERT_EQ(CFGSetString("S", "k", "value"), 1);  // "[S]\nk=value\n", 12 bytes
    std::vector<std::string> calls;
    syncFolder = std::filesystem::canonical(dir.path()).string();
    syncLog = &calls;
    EXPECT_EQ(CFGSave(path.c_str()), 0);
    syncLog = nullptr;
    EXPECT_EQ(calls, (std::vector<std::string>{"fsync temp 12", "rename temp c.ini", "fsync folder"}));
    // A copy over an existing file syncs before its rename too; a new copy does not.
    const std::string source = dir.Write("s.txt", "new text");
    calls.clear();
    syncLog = &calls;
    EXPECT_EQ(UTLCopyFile(source.c_str(), path.c_str()), 0);
    std::filesystem::remove(path);
    EXPECT_EQ(UTLCopyFile(source.c_str(), path.c_str()), 0);
    syncLog = nullptr;
    EXPECT_EQ(calls, (std::vector<std::string>{"fsync temp 8", "rename temp c.ini", "rename temp c.ini"}));
}

TEST(CfgSave, CommentsAndLinesOutsideSectionsSurviveRoundTrip) {
    TempDir dir;
    std::string path = dir.Write("in.ini", kSample);
    ASSERT_NE(CFGLoadINI(path.c_str()), nullptr);
    std::string out = dir.File("out.ini");
    ASSERT_EQ(CFGSave(out.c_str()), 0);
    const std::string first = cmnw::test::ReadFile(out);
    EXPECT_EQ(first,
              "; leading comment\nTop=outside any section\n\n[Data]\nTraceFile=trace.log\n"
              "# another comment\nChar=a\nCHAR=b\nnoequals line\n=novalue\nchar=c\nChar=d\n\n"
              "[debug_switches]\nEcho=Yes\nEmpty=\n");
    ASSERT_NE(CFGLoadINI(out.c_str()), nullptr);
    ASSERT_EQ(CFGSave(out.c_str()), 0);
    EXPECT_EQ(cmnw::test::ReadFile(out), first);
}

std::vector<std::string> gWritten;
int gOpens = 0, gCloses = 0;
int32_t OpenWrite() { return ++gOpens, 0; }
int32_t Append(const char *text) { return gWritten.emplace_back(text), 0; }
int32_t CloseWrite() { return ++gCloses, 0; }

TEST(CfgWriteOptions, EverySectionAndLineThroughTheCallbacks) {
    EXPECT_EQ(CFGWriteOptions(nullptr, 0, OpenWrite, Append, CloseWrite), 1);  // none in force
    TempDir dir;
    ASSERT_NE(CFGLoadINI(dir.Write("a.ini", kSample).c_str()), nullptr);
    EXPECT_EQ(CFGWriteOptions(reinterpret_cast<void *>(1), 0, OpenWrite, Append, CloseWrite), -1);
    EXPECT_EQ(CFGWriteOptions(nullptr, 0, nullptr, Append, CloseWrite), -1);
    EXPECT_EQ(gOpens + gCloses, 0);
    EXPECT_EQ(CFGWriteOptions(nullptr, 5, OpenWrite, Append, CloseWrite), 0);
    EXPECT_EQ(std::make_pair(gOpens, gCloses), std::make_pair(1, 1));
    EXPECT_EQ(gWritten, (std::vector<std::string>{"Top=outside any section", "[Data]",
                                                  "TraceFile=trace.log", "Char=a", "CHAR=b", "char=c",
                                                  "Char=d", "[debug_switches]", "Echo=Yes", "Empty="}));
}

TEST(CfgWrite, SetStringCreatesConfigurationAndReplacesFirstOccurrence) {
    unsetenv("CMNW32_INI");
    EXPECT_EQ(CFGCurrent(), nullptr);
    EXPECT_TRUE(CFGAddLine("S", "k", " one ") == 1 && CFGCurrent() != nullptr) << "creates the configuration";
    EXPECT_EQ(CFGAddLine("S", "k", "two"), 1);
    EXPECT_EQ(CFGSetString("s", "K", "first"), 1);
    EXPECT_EQ(AllValues("S", "k"), (std::vector<std::string>{"first", "two"}));
    struct Bad {
        const char *section, *key, *value;
    } bad[] = {{nullptr, "k", "v"}, {"S", nullptr, "v"}, {"S", "k", nullptr}, {"S", "", "v"},
               {"S", "  ", "v"},     {"S", ";k", "v"},   {"S", "#k", "v"},   {"S", "[k", "v"},
               {"S]", "k", "v"},     {"S\nT", "k", "v"}, {"S", "k\rx", "v"},  {"S", "a=b", "v"},
               {"S", "k", "two\nlines"}};
    for (const Bad &b : bad)
        EXPECT_EQ(CFGSetString(b.section, b.key, b.value) + CFGAddLine(b.section, b.key, b.value), 0);
}

}  // namespace
