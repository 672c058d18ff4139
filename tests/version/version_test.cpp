// Version resources of module files (the block reader and the record built
// from it) and the patch-level report of a directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zlib.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include "cmnw32/sysver.h"
#include "cmnw32/version.h"
#include "common/test_support.h"
#include "version/pe_version.h"

namespace {

using namespace cmnw::version;
using cmnw::test::TempDir;
using namespace std::string_literals;

const std::string kFixtures = CMNW_TEST_SOURCE_DIR "/tests/fixtures/version/";

TEST(PeVersion, ReadsFixedInfoTranslationsAndStrings) {
    const std::string path = kFixtures + "verinfo.dll";
    uint32_t handle = 99;
    const uint32_t size = SYSGetFileVersionInfoSize(path.c_str(), &handle);
    EXPECT_EQ(handle, 0u);
    ASSERT_NE(size, 0u);
    std::vector<uint64_t> block((size + 7) / 8);
    EXPECT_EQ(SYSGetFileVersionInfo(path.c_str(), 0, size - 1, block.data()), 0);  // too small
    ASSERT_EQ(SYSGetFileVersionInfo(path.c_str(), 0, size, block.data()), 1);
    void *value = nullptr;
    uint32_t length = 0;
    ASSERT_EQ(SYSVerQueryValue(block.data(), "\\", &value, &length), 1);
    ASSERT_EQ(length, sizeof(SYSFixedFileInfo));
    SYSFixedFileInfo fixed;
    std::memcpy(&fixed, value, sizeof fixed);
    EXPECT_EQ((std::vector<uint32_t>{fixed.signature, fixed.fileVersionMS, fixed.fileVersionLS, fixed.productVersionMS}),
              (std::vector<uint32_t>{0xFEEF04BD, 0x000B0002, 0x000000DE, 0x000B0002}));
    ASSERT_EQ(SYSVerQueryValue(block.data(), "\\VarFileInfo\\Translation", &value, &length), 1);
    ASSERT_EQ(length, 8u);
    EXPECT_EQ(std::memcmp(value, "\x09\x04\xE4\x04\x07\x04\xE4\x04", 8), 0);
    const struct {
        const char *subBlock, *text;
    } cases[] = {
        {"\\stringfileinfo\\040904E4\\companyname", "Example Composition Works"},
        {"StringFileInfo\\040904e4\\Description", "Common utilities"},
        {"\\StringFileInfo\\040904e4\\ProductName", "Document Composer \xe9t\xe9"},  // code page 1252
        {"\\StringFileInfo\\040704e4\\CompanyName", "Beispielwerke"},
        {"\\StringFileInfo\\040704e4\\ProductName", "<none>"},
        {"\\StringFileInfo\\040904e4\\Company", "<none>"},
        {"\\StringFileInfo\\000004e4\\CompanyName", "<none>"},
    };
    for (const auto &c : cases) {
        const bool found = SYSVerQueryValue(block.data(), c.subBlock, &value, &length) != 0;
        EXPECT_EQ(found ? std::string(static_cast<const char *>(value), length) : "<none>", found ? c.text + "\0"s : c.text) << c.subBlock;
    }
    EXPECT_EQ(SYSVerQueryValue(block.data(), nullptr, &value, &length), 0);
    EXPECT_EQ(value, nullptr);
    EXPECT_EQ(length, 0u);
}

// The prepared version block of the resource found in the first size bytes
// of image, empty when there is none.
std::vector<uint64_t> PreparedBlock(const std::string &image, size_t size) {
    ResourceSpan span{};
    if (!FindVersionResource(MemorySource(image.data(), size), span)) return {};
    EXPECT_LE(span.offset + span.size, size);
    std::vector<uint64_t> block((VersionBlockSize(span.size) + 7) / 8);
    std::memcpy(block.data(), image.data() + span.offset, span.size);
    auto *bytes = reinterpret_cast<uint8_t *>(block.data());
    if (!PrepareVersionBlock(bytes, VersionBlockSize(span.size), span.size)) return {};
    return block;
}

// Of several resource languages: 0x0000, then 0x0400, then 0x0800, then
// 0x0409, then the first in the file.
TEST(PeVersion, ChoosesTheResourceLanguage) {
    const std::string image = cmnw::test::ReadFile(kFixtures + "multilang.dll");
    // The three language entries (id, then offset) of the fixture's tree.
    const std::string greek("\x08\x04\0\0", 4), english("\x09\x04\0\0", 4), russian("\x19\x04\0\0", 4);
    size_t at = 0;
    while ((at = image.find(greek, at)) != std::string::npos &&
           (image.compare(at + 8, 4, english) != 0 || image.compare(at + 16, 4, russian) != 0))
        ++at;
    ASSERT_NE(at, std::string::npos);
    const struct {
        uint16_t ids[3];
        int chosen;  // 8 Greek, 9 English, 25 Russian resource (the file version's fourth part)
    } cases[] = {
        {{0x0408, 0x0409, 0x0419}, 9},  {{0x0408, 0x0407, 0x0419}, 8},
        {{0x0408, 0x0409, 0x0800}, 25}, {{0x0408, 0x0400, 0x0800}, 9},
        {{0x0400, 0x0409, 0x0000}, 25}, {{0x0409, 0x0409, 0x0400}, 25},
    };
    for (const auto &c : cases) {
        std::string patched = image;
        for (int i = 0; i < 3; ++i) {
            patched[at + 8 * i] = static_cast<char>(c.ids[i] & 0xFF);
            patched[at + 8 * i + 1] = static_cast<char>(c.ids[i] >> 8);
        }
        std::vector<uint64_t> block = PreparedBlock(patched, patched.size());
        const void *value = nullptr;
        uint32_t length = 0;
        ASSERT_TRUE(!block.empty() && QueryVersionValue(reinterpret_cast<uint8_t *>(block.data()), "\\", &value, &length));
        SYSFixedFileInfo fixed;
        std::memcpy(&fixed, value, sizeof fixed);
        EXPECT_EQ(static_cast<int>(fixed.fileVersionLS & 0xFFFF), c.chosen)
            << std::hex << c.ids[0] << " " << c.ids[1] << " " << c.ids[2];
    }
}

// Every truncation and a damaged byte at every offset: the reader either
// finds a resource inside the image or none, and queries stay in the block.
TEST(PeVersion, DamagedAndTruncatedImagesStayInBounds) {
    const std::string image = cmnw::test::ReadFile(kFixtures + "verinfo.dll");
    ASSERT_FALSE(image.empty());
    auto probe = [](const std::string &bytes, size_t size) {
        std::vector<uint64_t> block = PreparedBlock(bytes, size);
        const auto *start = reinterpret_cast<const uint8_t *>(block.data());
        for (const char *sub : {"\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\040904e4\\ProductName",
                                "\\a\\b\\c\\d\\e\\f\\g\\h"}) {
            const void *value = nullptr;
            uint32_t length = 0;
            if (block.empty() || !QueryVersionValue(start, sub, &value, &length)) continue;
            ASSERT_GE(static_cast<const uint8_t *>(value), start);
            ASSERT_LE(static_cast<const uint8_t *>(value) + length, start + block.size() * 8);
        }
    };
    for (size_t size = 0; size <= image.size(); ++size) probe(image, size);
    for (size_t at = 0; at < image.size(); ++at) {
        for (char b : {'\0', '\xff', '\x7f'}) {
            std::string damaged = image;
            damaged[at] = b;
            probe(damaged, damaged.size());
        }
    }
}

// The record's fields but the time, joined by "|".
std::string Joined(const UTLVerInfo &info) {
    std::string all = info.fileName;
    for (const char *f : {info.fileVersion, info.companyName, info.description, info.internalName,
                          info.legalCopyright, info.originalFilename, info.productName, info.productVersion})
        all += std::string("|") + f;
    return all;
}

// Of a resource in several languages, US English is read (not the first,
// Greek); texts come in code page 1252, "?" for a character it lacks. A
// copyright is cut at its line end; the suite's path form reaches the file.
TEST(VerInfo, RecordsOfModulesWithAndWithoutAResource) {
    const std::string path = kFixtures + "verinfo.dll";
    const UTLVerInfo info = UTLGetVerInfo(path.c_str());
    static_assert(sizeof info == 10240);
    EXPECT_EQ(Joined(info), "verinfo.dll|11.2.0.222|Example Composition Works|Common utilities|cmnw32|"
                            "Copyright 2007|verinfo.dll|Document Composer \xe9t\xe9|11.2");
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    const std::string changed = std::ctime(&st.st_mtime);
    EXPECT_EQ(info.fileTime, changed.substr(0, changed.find('\n')));
    EXPECT_EQ(Joined(UTLGetVerInfo(("C:" + path).c_str())), Joined(info));
    EXPECT_EQ(Joined(UTLGetVerInfo((kFixtures + "multilang.dll").c_str())),
              "multilang.dll|2.0.0.9|Example Composition Works|||||Euro \x80 Trade\x99 caf\xe9 ? ? end|2.0");
    TempDir dir;
    for (const std::string &none :
         {kFixtures + "noversion.dll", std::string(CMNW_TEST_BINARY_DIR "/libcmnw32.so"),
          dir.Write("notes.txt", "plain text\n"), dir.Write("mz.exe", "MZ and nothing more"), dir.File("missing.dll")}) {
        const UTLVerInfo empty = UTLGetVerInfo(none.c_str());
        EXPECT_EQ(Joined(empty) + empty.fileTime, "||||||||") << none;
    }
    EXPECT_EQ(Joined(UTLGetVerInfo(nullptr)), "||||||||");
}

// Without a translation entry the strings are read under code page 1252 and
// the language last read in the process: 0 in a fresh one.
TEST(VerInfo, MissingTranslationUsesTheLastLanguage) {
    const std::string neutral = kFixtures + "notrans.dll", english = kFixtures + "verinfo.dll";
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process
    EXPECT_EXIT(
        {
            const UTLVerInfo first = UTLGetVerInfo(neutral.c_str());
            bool ok = std::string(first.companyName) == "Neutral Works" &&
                      std::string(first.productVersion) == "1.0" && std::string(first.fileVersion) == "1.0.0.3";
            UTLGetVerInfo(english.c_str());  // language 0x0409 from now on
            const UTLVerInfo again = UTLGetVerInfo(neutral.c_str());
            std::exit(ok && again.companyName[0] == '\0' && std::string(again.fileName) == "notrans.dll" ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

std::string Patch(const std::string &word, const std::string &id) {
    return "@@" + word + " PATCH 11.2:" + id + ":PCR 1:400.112:..\\C\\unit:May 24 2007:15:54:00:" + '\0';
}

// The running CRC of the library (no inversion) over the concatenated texts,
// from zlib's standard CRC-32, in hexadecimal.
std::string RunningCrc(const std::vector<std::string> &files) {
    std::string all;
    for (const std::string &f : files) all += f;
    char text[16];
    std::snprintf(text, sizeof text, "%lx",
                  ~crc32(0L, reinterpret_cast<const Bytef *>(all.data()), static_cast<uInt>(all.size())) & 0xFFFFFFFFul);
    return text;
}

// main,third,crc,release printed: the results of a report over dir with the
// running values given.
std::string Report(const std::string &dir, std::vector<std::string> exclude, int verbose, long main = 0,
                   long third = 0, uint32_t releaseSize = 16) {
    std::vector<char *> ex;
    for (std::string &e : exclude) ex.push_back(e.data());
    unsigned long crc = 0xFFFFFFFFul;
    char release[16] = "stale";
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(UTLGetVersions(dir.c_str(), &main, &third, &crc, release, releaseSize, ex.data(),
                             static_cast<int>(ex.size()), verbose), 0);
    const std::string printed = ::testing::internal::GetCapturedStdout();
    char text[64];
    std::snprintf(text, sizeof text, "%ld,%ld,%lx,%s ", main, third, crc, release);
    return text + printed;
}

TEST(Versions, ReportsPatchLevelsReleaseAndCrcOfUnpatchedFiles) {
    TempDir dir;
    const std::string a = "head" + Patch("QVS", "P03") + Patch("QVS", "UP9") + "tail";
    const std::string b = Patch("QVS", "P02");                        // not above 3: into the CRC
    const std::string c = "plain text without records\n";             // into the CRC
    const std::string d = Patch("3RD", "P07") + Patch("3RD", "P05");  // 3RD only: into the CRC
    const std::string e = Patch("QVS", "P09") + Patch("3RD", "P12");  // excluded; sorts first
    for (const auto &[name, text] : {std::pair{"a.dll", a}, {"b.dll", b}, {"c.txt", c}, {"d.dll", d}, {"Old-e.dll", e}})
        dir.Write(name, text);
    ASSERT_EQ(mkdir(dir.File("sub").c_str(), 0700), 0);
    EXPECT_EQ(Report(dir.path(), {"old-"}, 1),
              "3,7," + RunningCrc({b, c, d}) + ",11.2 filename=(a) qvspatch=3 3rdparty=0\nfilename=(b) crc=" +
                  RunningCrc({b}) + "\nfilename=(c) crc=" + RunningCrc({b, c}) + "\nfilename=(d) crc=" +
                  RunningCrc({b, c, d}) + "\n");
    // Nothing excluded, running values from earlier directories, quiet; the
    // release cut to its buffer, and a no longer raises the maximum.
    EXPECT_EQ(Report(dir.path(), {}, 0, 2, 20, 3), "9,20," + RunningCrc({a, b, c, d}) + ",11 ");
    for (const std::string &path : {dir.File("sub"), dir.File("missing")})
        EXPECT_EQ(Report(path, {}, 1), "0,0,ffffffff, ");
    long m = 0;
    EXPECT_EQ(UTLGetVersions(nullptr, &m, &m, nullptr, nullptr, 0, nullptr, 0, 0), 0);
}

}  // namespace
