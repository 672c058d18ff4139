#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <sys/stat.h>

#include <string>
#include <thread>

#include "cmnw32/file.h"
#include "cmnw32/sys.h"
#include "platform_test_util.h"

namespace {

using cmnw::test::TempDir;

TEST(Files, MakeValidFileName) {
    struct Case {
        std::string input;
        int32_t length;
        std::string expected;
        int32_t result;
    } cases[] = {
        {"a:b?c", 5, "a_b_c", 65535}, {"plain.txt", 9, "plain.txt", 0},
        {"dir\\name", 8, "dir\\name", 0}, {"<>:\"/?|*", 8, "________", 65535},
        {std::string("ab\0c", 4), 4, "ab_c", 65535}, {"tab\there", 8, "tab_here", 65535},
        {"abc?", 3, "abc?", 0}, {"x", 0, "x", 0}, {"a b~", 4, "a b~", 0},
    };
    for (const Case &c : cases) {
        std::string buffer = c.input;
        EXPECT_EQ(UTLMakeValidFileName(buffer.data(), c.length), c.result) << c.input;
        EXPECT_EQ(buffer, c.expected) << c.input;
    }
    EXPECT_EQ(UTLMakeValidFileName(nullptr, 4), 0);
}

TEST(Files, MatchString) {
    struct Case {
        const char *text;
        const char *list;
        int32_t ignoreCase;
        int32_t result;
    } cases[] = {
        {"abc", "x;ABC;y", 0, 0}, {"abc", "x;ABC;y", 1, 1}, {"abc", "x;;abc", 1, 0},
        {"abc", "abc", 0, 1},     {"y", "x;ABC;y", 0, 1},   {"", "x;y", 0, 0},
        {"abc", "", 0, 0},        {"abc", ";abc", 0, 0},    {"ab", "abc;ab;", 0, 1},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(UTLMatchString(c.text, c.list, c.ignoreCase), c.result) << c.text << " in " << c.list;
    }
    // Only the first 255 characters of an entry count.
    std::string longEntry(300, 'q');
    EXPECT_EQ(UTLMatchString(std::string(255, 'q').c_str(), longEntry.c_str(), 0), 1);
    EXPECT_EQ(UTLMatchString(nullptr, "a", 0), 0);
}

TEST(Files, CopyFileAndLength) {
    TempDir dir;
    std::string data(100000, '\0');
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7);
    cmnw::test::WriteFile(dir.File("src.bin"), data);
    cmnw::test::WriteFile(dir.File("dst.bin"), "old contents that are longer than nothing");
    // Backslashes and a drive letter are the suite's own spelling.
    std::string source = "C:" + dir.path() + "\\src.bin";
    EXPECT_EQ(UTLCopyFile(source.c_str(), dir.File("dst.bin").c_str()), 0);
    EXPECT_EQ(cmnw::test::ReadFile(dir.File("dst.bin")), data);
    EXPECT_EQ(UTLCopyFile(dir.File("missing").c_str(), dir.File("x").c_str()), 1);
    EXPECT_FALSE(cmnw::test::Exists(dir.File("x"))) << "no empty copy of a missing file";
    EXPECT_EQ(UTLCopyFile(dir.File("src.bin").c_str(), dir.File("no/such/dir/x").c_str()), 1);
    // A device at the destination is written through, not replaced.
    struct stat null {};
    EXPECT_EQ(UTLCopyFile(dir.File("src.bin").c_str(), "/dev/null"), 0);
    EXPECT_TRUE(stat("/dev/null", &null) == 0 && S_ISCHR(null.st_mode));
    EXPECT_EQ(UTLCopyFile(nullptr, "x"), 1);

    const int fd = open(dir.File("src.bin").c_str(), O_RDONLY);
    EXPECT_TRUE(UTLFilelength(fd) == 100000 && UTLFilelength(-1) == -1);
    close(fd);

    char buffer[BUFSIZ];
    FILE *stream = UTLfopen(dir.File("src.bin").c_str(), "rb", buffer, _IOFBF, sizeof buffer);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(fgetc(stream), 0);
    fclose(stream);
    EXPECT_EQ(UTLfopen(nullptr, "rb", nullptr, _IONBF, 0), nullptr);
    EXPECT_EQ(UTLfopen(dir.File("src.bin").c_str(), nullptr, nullptr, _IONBF, 0), nullptr);
    EXPECT_EQ(UTLfopen(dir.File("missing").c_str(), "rb", nullptr, _IONBF, 0), nullptr);
}

TEST(Files, FileAccessWaitsForOtherProcess) {
    TempDir dir;
    std::string file = dir.File("shared.dat");
    cmnw::test::WriteFile(file, "data");
    EXPECT_EQ(UTLFileAccess(file.c_str(), 0), 0);

    // A child holds the file open with others denied writing, for 1.5 s.
    cmnw::test::Holder holder([&] { return SYSfsopen(file.c_str(), "r", SYS_SH_DENYWR) != nullptr; });
    ASSERT_TRUE(holder.holding());
    std::thread release([&] {
        usleep(1500 * 1000);
        holder.Release();
    });
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(UTLFileAccess(file.c_str(), 0), 1) << "tries once";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(500));
    EXPECT_EQ(UTLFileAccess(file.c_str(), 10), 0) << "succeeds once the child lets go";
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    release.join();

    start = std::chrono::steady_clock::now();
    EXPECT_EQ(UTLFileAccess(dir.File("missing").c_str(), 1), 1);
    // Whole seconds are counted: up to 1 s passes before the second ticks.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1500));
    EXPECT_EQ(UTLFileAccess(dir.File("missing").c_str(), -5), 1);
}

TEST(Files, MkDir) {
    TempDir dir;
    std::string sub = dir.path() + "\\made";
    EXPECT_EQ(UTLMkDir(sub.c_str()), 0);
    EXPECT_TRUE(cmnw::test::Exists(dir.File("made")));
    EXPECT_EQ(UTLMkDir(sub.c_str()), -1);
    EXPECT_EQ(UTLMkDir(nullptr), -1);
}

// The host name, or the room it needs when the buffer is too small.
TEST(Files, ComputerNameIsTheHostName) {
    char host[256] = "", name[256];
    ASSERT_EQ(gethostname(host, sizeof host), 0);
    const auto length = static_cast<uint32_t>(std::strlen(host));
    uint32_t size = sizeof name;
    EXPECT_EQ(UTLGetComputerName(name, &size), 1);
    EXPECT_EQ(std::make_pair(std::string(name), size), std::make_pair(std::string(host), length));
    size = length;
    EXPECT_EQ(UTLGetComputerName(name, &size), 0);
    EXPECT_EQ(size, length + 1);
}

}  // namespace
