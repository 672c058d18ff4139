#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cmnw32/file.h"
#include "common/path.h"
#include "platform/platform.h"

namespace {

using cmnw::MakePathBounded;
using cmnw::UTLMakePath;
using cmnw::UTLSplitPath;

TEST(SplitPath, DriveDirectoryNameAndLastExtension) {
    const struct {
        const char *path, *drive, *dir, *fname, *ext;
    } cases[] = {
        {"C:\\dir\\sub/file.txt", "C:", "\\dir\\sub\\", "file", ".txt"},
        {"archive.tar.gz", "", "", "archive.tar", ".gz"}, {"notes.text", "", "", "notes.text", ""},
        // The extension check looks at the end of the whole text, not at ";".
        {"dir\\file.txt;other", "", "dir\\", "file.txt", ""}, {"a\\b.c;d", "", "a\\", "b", ".c"},
        {"x.ab/y", "", "x.ab\\", "y", ""}, {"C:", "C:", "", "", ""},
    };
    for (const auto &c : cases) {
        char drive[3], dir[257], fname[129], ext[129];
        UTLSplitPath(c.path, drive, dir, fname, ext);
        EXPECT_EQ(std::string(drive) + "|" + dir + "|" + fname + "|" + ext,
                  std::string(c.drive) + "|" + c.dir + "|" + c.fname + "|" + c.ext);
    }
}

TEST(SplitPath, CutsLongPartsAndAcceptsNullOutputs) {
    std::string longDir = std::string(400, 'd') + "\\" + std::string(300, 'f') + ".e";
    char dir[257], fname[129], ext[129];
    UTLSplitPath(longDir.c_str(), nullptr, dir, fname, ext);
    EXPECT_EQ(std::string(dir) + fname + ext, std::string(256, 'd') + std::string(128, 'f') + ".e");
}

TEST(MakePath, JoinsWithTheRightSeparator) {
    const struct {
        const char *drive, *dir, *fname, *ext, *expected;
    } cases[] = {
        {"D:", "work", "trace", "log", "D:work\\trace.log"},
        {nullptr, "http://host/a\\b", "f", ".x", "http://host/a/b/f.x"},
        {nullptr, "c:/x/y", nullptr, nullptr, "c:\\x\\y\\"}, {nullptr, "a;b", "f", nullptr, "a\\f"},
        {"E", "\\root\\", "n", ".ext", "E:\\root\\n.ext"}, {nullptr, nullptr, nullptr, nullptr, ""},
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

using cmnw::platform::UniversalNameFromMounts;

constexpr const char *kMounts =
    "/dev/sda1 / ext4 rw,relatime 0 0\n"
    "proc /proc proc rw 0 0\n"
    "//fileserver/forms /mnt/forms cifs rw,vers=3.0 0 0\n"
    "nas01:/export/archive /srv/archive nfs4 rw 0 0\n"
    "[fd00::5]:/vol /srv/v6 nfs rw 0 0\n"
    "//fileserver/My\\040Share /mnt/my\\040share cifs rw 0 0\n"
    "/dev/sdb1 /mnt/forms/local ext4 rw 0 0\n";

std::string Universal(const char *path, uint32_t *result) {
    alignas(8) char buffer[512];
    uint32_t size = sizeof buffer;
    *result = UniversalNameFromMounts(kMounts, path, UTL_UNIVERSAL_NAME_INFO_LEVEL, buffer, &size);
    if (*result != 0) return {};
    UTLUniversalNameInfo info;
    std::memcpy(&info, buffer, sizeof info);
    return info.universalName;
}

TEST(UniversalName, MapsNetworkMounts) {
    const struct {
        const char *path;
        uint32_t result;
        const char *expected;
    } cases[] = {
        {"/mnt/forms/inv/a.frm", 0, "\\\\fileserver\\forms\\inv\\a.frm"},
        {"/mnt/forms", 0, "\\\\fileserver\\forms\\"},
        {"/srv/v6/f", 0, "\\\\fd00::5\\vol\\f"},
        {"/mnt/my share/doc", 0, "\\\\fileserver\\My Share\\doc"}, {"/mnt/formsX/a", 65535, ""},
        {"/mnt/forms/local/a", 65535, ""},
    };
    for (const auto &c : cases) {
        uint32_t result = 1;
        EXPECT_EQ(Universal(c.path, &result), c.expected) << c.path;
        EXPECT_EQ(result, c.result) << c.path;
    }
}

TEST(UniversalName, RemoteLevelAndBufferSize) {
    alignas(8) char buffer[512];
    uint32_t size = sizeof buffer;
    ASSERT_EQ(UniversalNameFromMounts(kMounts, "/mnt/forms/inv/a.frm", UTL_REMOTE_NAME_INFO_LEVEL, buffer, &size), 0u);
    UTLRemoteNameInfo info;
    std::memcpy(&info, buffer, sizeof info);
    EXPECT_EQ(std::string(info.universalName) + "|" + info.connectionName + "|" + info.remainingPath,
              "\\\\fileserver\\forms\\inv\\a.frm|\\\\fileserver\\forms|\\inv\\a.frm");
    uint32_t small = 10;
    EXPECT_EQ(UniversalNameFromMounts(kMounts, "/mnt/forms/a", UTL_UNIVERSAL_NAME_INFO_LEVEL, buffer, &small),
              UTL_ERROR_MORE_DATA);
    EXPECT_EQ(small, sizeof(UTLUniversalNameInfo) + std::strlen("\\\\fileserver\\forms\\a") + 1);
    EXPECT_EQ(UniversalNameFromMounts(kMounts, "/mnt/forms/a", UTL_UNIVERSAL_NAME_INFO_LEVEL, buffer, &small), 0u);
}

}  // namespace
