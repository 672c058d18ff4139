#include "platform/path.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using cmnw::platform::MakePathBounded;
using cmnw::platform::UTLMakePath;
using cmnw::platform::UTLSplitPath;

struct SplitCase {
    const char *path, *drive, *dir, *fname, *ext;
};

TEST(SplitPath, DriveDirectoryNameAndLastExtension) {
    const SplitCase cases[] = {
        {"C:\\dir\\sub/file.txt", "C:", "\\dir\\sub\\", "file", ".txt"},
        {"archive.tar.gz", "", "", "archive.tar", ".gz"}, {"notes.text", "", "", "notes.text", ""},
        // The extension check looks at the end of the whole text, not at ";".
        {"dir\\file.txt;other", "", "dir\\", "file.txt", ""}, {"a\\b.c;d", "", "a\\", "b", ".c"},
        {".abc", "", "", "", ".abc"}, {"file.", "", "", "file", "."},
        {"x.ab/y", "", "x.ab\\", "y", ""}, {"C:", "C:", "", "", ""}, {"", "", "", "", ""},
        {"/usr/lib/libx.so", "", "\\usr\\lib\\", "libx", ".so"},
    };
    for (const auto &c : cases) {
        char drive[3], dir[257], fname[129], ext[129];
        UTLSplitPath(c.path, drive, dir, fname, ext);
        EXPECT_STREQ(drive, c.drive) << c.path;
        EXPECT_STREQ(dir, c.dir) << c.path;
        EXPECT_STREQ(fname, c.fname) << c.path;
        EXPECT_STREQ(ext, c.ext) << c.path;
    }
}

TEST(SplitPath, CutsLongPartsAndAcceptsNullOutputs) {
    std::string longDir = std::string(400, 'd') + "\\" + std::string(300, 'f') + ".e";
    char dir[257], fname[129], ext[129];
    UTLSplitPath(longDir.c_str(), nullptr, dir, fname, ext);
    EXPECT_EQ(std::string(dir), std::string(256, 'd'));
    EXPECT_EQ(std::string(fname), std::string(128, 'f'));
    EXPECT_STREQ(ext, ".e");
    UTLSplitPath(nullptr, nullptr, dir, nullptr, nullptr);
    EXPECT_STREQ(dir, "");
}

struct MakeCase {
    const char *drive, *dir, *fname, *ext, *expected;
};

TEST(MakePath, JoinsWithTheRightSeparator) {
    const MakeCase cases[] = {
        {"D:", "work", "trace", "log", "D:work\\trace.log"},
        {nullptr, "http://host/a\\b", "f", ".x", "http://host/a/b/f.x"},
        {nullptr, "c:/x/y", nullptr, nullptr, "c:\\x\\y\\"}, {nullptr, "a;b", "f", nullptr, "a\\f"},
        {"", "", "name", "", "name"}, {"E", "\\root\\", "n", ".ext", "E:\\root\\n.ext"},
        {nullptr, "file:///srv/x", "n", nullptr, "file:///srv/x/n"},
        {nullptr, nullptr, nullptr, nullptr, ""},
    };
    for (const auto &c : cases) {
        char out[258];
        UTLMakePath(out, c.drive, c.dir, c.fname, c.ext);
        EXPECT_STREQ(out, c.expected) << (c.dir ? c.dir : "(null)");
    }
}

TEST(MakePath, NeverWritesPastItsBuffer) {
    char out[8];
    std::fill(std::begin(out), std::end(out), 'z');
    MakePathBounded(out, 6, "C:", "directory", "file", "txt");
    EXPECT_STREQ(out, "C:dir");
    EXPECT_EQ(out[6], 'z');
}

}  // namespace
