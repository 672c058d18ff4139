#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string>

#include "cmnw32/cfg.h"
#include "cmnw32/file.h"
#include "cmnw32/mem.h"
#include "platform_test_util.h"

namespace {

using cmnw::test::Exists;
using cmnw::test::Make;
using cmnw::test::ReadFile;
using cmnw::test::TempDir;
using cmnw::test::WriteFile;

// The path with every "/" turned into "\", the suite's own spelling.
std::string Backslashed(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::set<std::string> Names(MEMLIST list) {
    std::set<std::string> names;
    for (MEMITEM i = MEMFirstItem(list); i != nullptr; i = MEMNextItem(i)) {
        EXPECT_EQ(MEMItemSize(i), 258u);
        names.insert(static_cast<const char *>(MEMItemData(i)));
    }
    return names;
}

std::set<std::string> FilesIn(const std::string &dir) {
    MEMLIST list = UTLFindAll((dir + "/*").c_str(), 0);
    std::set<std::string> names = Names(list);
    MEMDestroyList(list);
    return names;
}

TEST(Find, PatternsSkipDirectoriesAndTrimNames) {
    TempDir dir;
    Make(dir, {"sub.txt", "onlydir"}, {"a.txt", "B.TXT", "c.log", "noext", " spaced.txt ", "readme.text"});
    symlink(dir.File("a.txt").c_str(), dir.File("link.txt").c_str());
    struct Case {
        std::string pattern;
        std::set<std::string> expected;
    } cases[] = {
        {"*", {"a.txt", "B.TXT", "c.log", "noext", "spaced.txt", "readme.text", "link.txt"}},
        {"*.*", {"a.txt", "B.TXT", "c.log", "noext", "spaced.txt", "readme.text", "link.txt"}},
        {"*.txt", {"a.txt", "B.TXT", "link.txt"}},  // the blank is there when matching
        {"?.TXT", {"a.txt", "B.TXT"}}, {"no*.*", {"noext"}}, {"*.te?t", {"readme.text"}},
        {"c.log", {"c.log"}}, {"onlydir", {}}, {"zzz*", {}},
    };
    for (const Case &c : cases) {
        for (const std::string &base : {dir.path() + "/", Backslashed(dir.path()) + "\\"}) {
            MEMLIST list = UTLFindAll((base + c.pattern).c_str(), 0);
            EXPECT_EQ(list == nullptr, c.expected.empty()) << c.pattern;
            EXPECT_EQ(Names(list), c.expected) << base + c.pattern;
            MEMDestroyList(list);
        }
    }
}

TEST(Find, FirstNextClose) {
    TempDir dir;
    Make(dir, {}, {"one", "two"});
    char name[258];
    std::memset(name, 'Z', sizeof name);
    UTLHFIND find = UTLFindFirst(dir.File("*").c_str(), 0, name);
    ASSERT_NE(find, nullptr);
    EXPECT_TRUE(std::all_of(name + std::strlen(name), name + sizeof name, [](char c) { return c == '\0'; }));
    std::set<std::string> seen = {name};
    EXPECT_EQ(UTLFindNext(find, name), 0);
    seen.insert(name);
    EXPECT_EQ(UTLFindNext(find, name), 2);
    EXPECT_EQ(seen, (std::set<std::string>{"one", "two"}));
    EXPECT_EQ(UTLFindClose(find), 0);
    EXPECT_EQ(UTLFindClose(nullptr), 1);
    EXPECT_EQ(UTLFindFirst(dir.File("nodir/*").c_str(), 0, name), nullptr);
}

TEST(Dirs, CreatePathBothSeparators) {
    TempDir dir;
    EXPECT_EQ(UTLCreatePath(dir.path().c_str()), 0);
    EXPECT_EQ(UTLCreatePath(dir.File("a/b/c").c_str()), 0);
    EXPECT_TRUE(Exists(dir.File("a/b/c")));
    std::string mixed = "D:" + Backslashed(dir.path()) + "\\x\\y/z\\\\w\\";
    EXPECT_EQ(UTLCreatePath(mixed.c_str()), 0);
    EXPECT_TRUE(Exists(dir.File("x/y/z/w")));
    Make(dir, {}, {"file"});
    EXPECT_EQ(UTLCreatePath(dir.File("file/below").c_str()), 1);
    EXPECT_EQ(UTLCreatePath(""), 0);
    EXPECT_EQ(UTLCreatePath(nullptr), 0);
}

TEST(Dirs, ClearDirKeepsNamedFiles) {
    TempDir dir;
    Make(dir, {"sub"}, {"keep.ME", "a", "b", "c", "sub/inner"});
    char keep0[] = "KEEP.me";
    char *keep[] = {keep0, nullptr};
    EXPECT_EQ(UTLClearDir(Backslashed(dir.path()).c_str(), keep, 2, nullptr), 0);
    EXPECT_EQ(FilesIn(dir.path()), (std::set<std::string>{"keep.ME"}));
    EXPECT_TRUE(Exists(dir.File("sub/inner"))) << "subdirectories are left alone";
    EXPECT_EQ(UTLClearDir(dir.path().c_str(), keep, 0, nullptr), 0);
    EXPECT_TRUE(FilesIn(dir.path()).empty());
    EXPECT_EQ(UTLClearDir(dir.File("empty-or-missing").c_str(), nullptr, 0, nullptr), 0);
}

TEST(Dirs, ClearDirReportsFailures) {
    TempDir dir;
    // Found names are trimmed, so files whose names end in a blank cannot be
    // removed under the name the search gives.
    Make(dir, {"stuck"}, {"stuck/f1 ", "stuck/f2 "});
    MEMLIST errors = MEMCreateList();
    EXPECT_EQ(UTLClearDir(dir.File("stuck").c_str(), nullptr, 0, errors), 0);
    ASSERT_EQ(MEMCount(errors), 2u);
    std::set<std::string> failed;
    for (MEMITEM i = MEMFirstItem(errors); i != nullptr; i = MEMNextItem(i))
        failed.insert(std::string(static_cast<const char *>(MEMItemData(i)), MEMItemSize(i)));
    std::string base = Backslashed(dir.path()) + "\\stuck\\";
    EXPECT_EQ(failed, (std::set<std::string>{base + "f1", base + "f2"}));
    MEMDestroyList(errors);

    cmnw::test::UseTraceConfig(dir.path(), dir.File("trace.log"));
    EXPECT_EQ(UTLClearDir(dir.File("stuck").c_str(), nullptr, 0, nullptr), 1);
    const std::string text = ReadFile(dir.File("trace.log"));
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 1) << "the walk stops at the first failure";
    EXPECT_NE(text.find("Could not remove file " + base + "f"), std::string::npos) << text;
}

TEST(Dirs, RemoveDir) {
    TempDir dir;
    Make(dir, {"gone", "nested", "nested/sub"}, {"gone/a", "gone/b"});
    EXPECT_EQ(UTLRemoveDir(Backslashed(dir.File("gone")).c_str()), 0);
    EXPECT_FALSE(Exists(dir.File("gone")));
    EXPECT_EQ(UTLRemoveDir(dir.File("gone").c_str()), -1);
    EXPECT_EQ(UTLRemoveDir(dir.File("nested").c_str()), -1) << "subdirectories are not removed";
}

TEST(Dirs, CopyDirCopiesFilesAndGoesOnPastAFailedCopy) {
    TempDir dir;
    Make(dir, {"from", "from/sub", "to3", "to3/one", "empty"}, {"from/one"});
    WriteFile(dir.File("from/two"), "22");
    EXPECT_EQ(UTLCopyDir(Backslashed(dir.File("from")).c_str(), dir.File("to").c_str()), 0);
    EXPECT_EQ(FilesIn(dir.File("to")), (std::set<std::string>{"one", "two"}));
    EXPECT_EQ(ReadFile(dir.File("to/two")), "22");
    EXPECT_FALSE(Exists(dir.File("to/sub")));
    WriteFile(dir.File("from/two"), "333");
    EXPECT_EQ(UTLCopyDir(dir.File("from").c_str(), dir.File("to").c_str()), 0);
    EXPECT_EQ(ReadFile(dir.File("to/two")), "333") << "existing files are overwritten";

    // A directory in the way of a file makes that copy fail; the walk goes on.
    EXPECT_EQ(UTLCopyDir(dir.File("from").c_str(), dir.File("to3").c_str()), 0);
    EXPECT_EQ(ReadFile(dir.File("to3/two")), "333");
    EXPECT_EQ(UTLCopyDir(dir.File("empty").c_str(), dir.File("to2").c_str()), 1);
}

TEST(Paths, SearchPath) {
    TempDir dir;
    Make(dir, {"first", "second"}, {"second/target.ini"});
    std::string list = dir.path() + "/first/;" + Backslashed(dir.File("second")) + "\\";
    char buffer[258];
    std::strcpy(buffer, "some\\dir\\target.ini");
    EXPECT_EQ(UTLSearchPath(list.c_str(), buffer), 0);
    EXPECT_EQ(std::string(buffer), Backslashed(dir.File("second/target.ini")));

    std::strcpy(buffer, "absent.ini");
    EXPECT_EQ(UTLSearchPath(list.c_str(), buffer), 1);
    EXPECT_EQ(std::string(buffer), Backslashed(dir.File("second/absent.ini"))) << "the last candidate";

    std::strcpy(buffer, "absent.ini");
    EXPECT_EQ(UTLSearchPath("C:/single/dir", buffer), 0) << "a single directory is not tested";
    EXPECT_STREQ(buffer, "C:\\single\\dir\\absent.ini");
}

TEST(Paths, DefaultExtension) {
    struct Case {
        const char *path;
        const char *ext;
        const char *expected;
    } cases[] = {
        {"dir/report", "txt", "dir\\report.txt"}, {"dir/report", ".txt", "dir\\report.txt"},
        {"dir/report.doc", "txt", "dir/report.doc"}, {"notes.text", "txt", "notes.text.txt"},
        {"C:x", "log", "C:x.log"}, {"same", "", "same"},
    };
    for (const Case &c : cases) {
        char buffer[258];
        std::strcpy(buffer, c.path);
        EXPECT_EQ(UTLDefaultExtension(buffer, c.ext), 0);
        EXPECT_STREQ(buffer, c.expected) << c.path;
    }
    EXPECT_EQ(UTLDefaultExtension(nullptr, "x"), 0);
}

TEST(Paths, FileFromINI) {
    TempDir dir;
    Make(dir, {"a", "b"}, {"b/forms.dat"});
    std::string ini = dir.File("files.ini");
    WriteFile(ini, "[Files]\nForms=forms\nFormsDir=" + dir.path() + "/a/;" + dir.path() + "/b/\nFormsExt=dat\n"
                   "Full=C:\\data\\list.txt\nSingleDir=/opt/suite\nBare=bare\nEmpty=\n");
    ASSERT_NE(CFGLoadINI(ini.c_str()), nullptr);
    const std::string found = Backslashed(dir.File("b/forms.dat"));
    const struct {
        const char *key, *dirKey, *extKey, *fallback, *expected;
        int32_t result;
    } cases[] = {
        {"Forms", "FormsDir", "FormsExt", nullptr, found.c_str(), 0},
        {"Full", "FormsDir", "FormsExt", nullptr, "C:\\data\\list.txt", 0},
        {"Bare", "SingleDir", nullptr, nullptr, "\\opt\\suite\\bare", 0},
        {"Empty", nullptr, nullptr, "def.cfg", "def.cfg", 0},
        {"Missing", nullptr, nullptr, nullptr, "", 1},
    };
    char out[300];
    for (const auto &c : cases) {
        EXPECT_EQ(UTLFileFromINI("Files", c.key, c.dirKey, c.extKey, out, sizeof out - 1, c.fallback),
                  c.result);
        EXPECT_STREQ(out, c.expected) << c.key;
    }
    EXPECT_EQ(UTLFileFromINI("Files", "Full", nullptr, nullptr, out, 16, nullptr), 0) << "16 characters fit";
    EXPECT_EQ(UTLFileFromINI("Files", "Full", nullptr, nullptr, out, 15, nullptr), 1);
    EXPECT_EQ(UTLFileFromINI("Files", "Full", nullptr, nullptr, nullptr, 100, nullptr), 1);
}

}  // namespace
