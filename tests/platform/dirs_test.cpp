#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

#include "cmnw32/file.h"
#include "cmnw32/mem.h"
#include "platform_test_util.h"

namespace {

using cmnw::test::Exists;
using cmnw::test::Make;
using cmnw::test::ReadFile;
using cmnw::test::TempDir;
using cmnw::test::WriteFile;

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
        {"*.txt", {"a.txt", "B.TXT", "link.txt"}},  // the blank is there when matching
        {"?.TXT", {"a.txt", "B.TXT"}}, {"no*.*", {"noext"}}, {"*.te?t", {"readme.text"}},
        {"onlydir", {}},
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
    // Found names are trimmed, so these cannot be removed under the names found.
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
    EXPECT_EQ(UTLClearDir(dir.File("stuck").c_str(), nullptr, 0, nullptr), 1);
}

TEST(Dirs, RemoveDir) {
    TempDir dir;
    Make(dir, {"gone", "nested", "nested/sub"}, {"gone/a", "gone/b"});
    EXPECT_EQ(UTLRemoveDir(Backslashed(dir.File("gone")).c_str()), 0);
    EXPECT_FALSE(Exists(dir.File("gone")));
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
    // A directory in the way of a file makes that copy fail; the walk goes on.
    EXPECT_EQ(UTLCopyDir(dir.File("from").c_str(), dir.File("to3").c_str()), 0);
    EXPECT_EQ(ReadFile(dir.File("to3/two")), "333");
    EXPECT_EQ(UTLCopyDir(dir.File("empty").c_str(), dir.File("to2").c_str()), 1);
}

}  // namespace
