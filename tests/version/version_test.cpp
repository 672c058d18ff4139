// Patch markers (recognising and ordering them, checking that patch numbers
// run without gaps, scanning modules for their records), version resources of
// module files (the block reader and the record built from it) and the
// patch-level report of a directory.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <vector>

#include "cmnw32/mem.h"
#include "cmnw32/sysver.h"
#include "cmnw32/version.h"
#include "common/test_support.h"
#include "version/pe_version.h"

namespace {

using namespace cmnw::version;
using cmnw::test::TempDir;
using namespace std::string_literals;

// ASCII text as UTF-16LE bytes.
std::string Utf16Le(const std::string &text) {
    std::string out;
    for (char c : text) out += std::string{c, '\0'};
    return out;
}

TEST(PatchOrder, ComparePatchKnowsTheFiveMarkers) {
    struct {
        std::string bytes;
        int32_t result;
    } cases[] = {
        {"@@QVS PATCH 11.2:P03:", 0}, {"@@RWT PATCH", 0}, {"@@3RD PATCH", 0},
        {Utf16Le("@@MXTRLOG PATCH"), 0}, {Utf16Le("@@RWT PATCH"), 0}, {Utf16Le("@@QVS PATCH"), 1},
        {"@@MXTRLOG PATCH", 1}, {"@@qvs PATCH", 1}, {"@QVS PATCH", 1}, {"", 1},
    };
    for (const auto &c : cases) EXPECT_EQ(UTLKVRVERComparePatch(c.bytes.c_str()), c.result) << c.bytes;
    EXPECT_EQ(UTLKVRVERComparePatch(nullptr), 1);
    const char *text = "a:b:c";
    const struct { char c; int n; const char *found; } finds[] = {
        {':', 1, text + 1}, {':', 2, text + 3}, {':', 3, nullptr}, {':', 0, nullptr}, {'c', 1, text + 4}};
    for (const auto &f : finds) EXPECT_EQ(UTLKVRVERFindChar(text, f.c, f.n), f.found) << f.c << f.n;
    EXPECT_EQ(UTLKVRVERFindChar(nullptr, ':', 1), nullptr);
}

// Each list sorts strictly in its order under its comparison.
TEST(PatchOrder, SummariesSortByWordPrefixAndNumberRecordsByIdentifier) {
    const struct {
        int32_t (*compare)(const char *, const char *);
        std::vector<std::string> sorted;
    } orders[] = {
        {UTLKVRVERCompareFunc,
         {"3RD PATCH 1.0:P2", "QVS PATCH 11.2:P" /* no digits first */, "QVS PATCH 11.2:P9",
          "QVS PATCH 10.0:P10", "QVS PATCH 11.2:P11", "QVS PATCH 11.2:UP1",
          "QVS PATCH 11.2" /* no colon last */, "RWT PATCH 1:P1"}},
        {UTLKVRVERCompareFunc2, {"ZZZ:P1:x", "A:p2:a", "A:P3", "B:P10:a", "QVS:UP10:b", "no field"}},
    };
    for (const auto &o : orders)
        for (size_t i = 0; i < o.sorted.size(); ++i)
            for (size_t j = 0; j < o.sorted.size(); ++j) {
                const int got = o.compare(o.sorted[i].c_str(), o.sorted[j].c_str());
                EXPECT_EQ((got > 0) - (got < 0), (i > j) - (i < j)) << o.sorted[i] << " vs " << o.sorted[j];
            }
    EXPECT_EQ(UTLKVRVERCompareFunc("QVS PATCH 11.2:P10a", "QVS PATCH 9:P10A"), 0);  // release and case ignored
}

std::string Field(const std::string &text, const char *problem = "* Not detected, see explanation below.") {
    return (text + std::string(25, ' ')).substr(0, 25) + problem;
}

TEST(PatchOrder, ConsecutiveCheckReportsEachMissingNumber) {
    char line[256];
    const char *const kSpaced = "   Problem with Patch Info (no digit).";
    const struct {
        const char *summary;
        std::string line;
        int32_t result;
    } steps[] = {
        {"QVS PATCH 11.2:P03", Field("QVS PATCH 11.2:P01"), 0},
        {"QVS PATCH 11.2:P03", Field("QVS PATCH 11.2:P02"), 0},
        {"QVS PATCH 11.2:P03", "QVS PATCH 11.2:P03", 1},
        {"QVS PATCH 11.2:P04", "QVS PATCH 11.2:P04", 1},
        {"QVS PATCH 11.2:UP1", "QVS PATCH 11.2:UP1", 1},  // own counter
        {"QVS PATCH 11.2:UP12", Field("QVS PATCH 11.2:UP02"), 0},
        {"RWT PATCH 1:P1", "RWT PATCH 1:P1", 1},
        {"MXTRLOG PATCH 1:P12", Field("MXTRLOG PATCH 1:P01"), 0},
        {"MXTRLOG PATCH 1:P12", Field("MXTRLOG PATCH 1:P02"), 0},
        {"3RD PATCH 4:X7", "3RD PATCH 4:X7", 1},  // prefix the entry does not know
        {"ABC PATCH 1:P5", "ABC PATCH 1:P5", 1},  // no entry
        {"QVS PATCH 11.2", Field("QVS PATCH 11.2", " Problem with Patch Info (no colon)."), 1},
        {"QVS PATCH 11.2:03", Field("QVS PATCH 11.2:03", " Problem with Patch Info (no prefix)."), 1},
        {"QVS PATCH 11.2:P1000",
         Field("QVS PATCH 11.2:P1000", " Problem with Patch Info (incorrect patch number)."), 1},
        {"QVS PATCH 11.2:P", Field("QVS PATCH 11.2:P", kSpaced), 1},
        {"QVS PATCH 11.2:P 5", Field("QVS PATCH 11.2:P 5", kSpaced), 1},
        {"QVS PATCH 11.2:P05 with a long release text", "QVS PATCH 11.2:P05 with a long release text", 1},
    };
    for (const auto &s : steps) {
        EXPECT_EQ(UTLKVRVERCheckConsecutive(s.summary, line), s.result) << s.summary;
        EXPECT_EQ(std::string(line), s.line) << s.summary;
    }
    EXPECT_EQ(UTLKVRVERComparePatch("x"), 1);  // a scan of any "@" starts the counters again
    EXPECT_EQ(UTLKVRVERCheckConsecutive("QVS PATCH 11.2:P02", line), 0);
    EXPECT_EQ(std::string(line), Field("QVS PATCH 11.2:P01"));
    EXPECT_EQ(UTLKVRVERCheckConsecutive("QVS PATCH 11.2:P02", nullptr), 1);
}

const std::string kRecord = "QVS PATCH 11.2:P03:PCR 1:1:x:May 24 2007:15:54:00:";

struct ScanResult { std::vector<std::string> records, summaries; };

// The records and summaries of a scan of path, each up to its first NUL.
ScanResult ScanFile(const char *path, int want = 0) {
    MEMLIST lists[2] = {MEMCreateList(), MEMCreateList()};
    EXPECT_EQ(UTLQueryPatchInfo(path, lists[0], lists[1]), want);
    std::vector<std::string> texts[2];
    for (int i = 0; i < 2; ++i) {
        for (MEMITEM it = MEMFirstItem(lists[i]); it != nullptr; it = MEMNextItem(it))
            texts[i].emplace_back(static_cast<const char *>(MEMItemData(it)));
        MEMDestroyList(lists[i]);
    }
    return {texts[0], texts[1]};
}

ScanResult Scan(const std::string &content) {
    TempDir dir;
    return ScanFile(dir.Write("module.bin", content).c_str());
}

TEST(PatchScan, FindsRecordsAcrossReadBoundariesAndCutsLongOnes) {
    const std::string marked = "@@" + kRecord + '\0', x(65535, 'x');
    const std::string wide = Utf16Le("@@MXTRLOG PATCH 10.1:P05:PCR 7:src:May 1 2007:") + std::string(2, '\0');
    const std::vector<std::string> one = {kRecord}, oneSummary = {"QVS PATCH 11.2:P03"};
    // Boundaries of the 4096-byte reads and the 65536-byte window (the random
    // files of the model test below cross them by chance only).
    const struct {
        const char *name;
        std::string content;
        std::vector<std::string> records, summaries;
    } cases[] = {
        {"record straddles 4096", x.substr(0, 4070) + marked, one, oneSummary},
        {"last @ before 65536", x + marked, one, oneSummary},
        {"record straddles 65536", x.substr(0, 65500) + marked, one, oneSummary},
        {"wide straddles 65536", x.substr(0, 65520) + wide, {"MXTRLOG PATCH 10.1:P05:PCR 7:"}, {"MXTRLOG PATCH 10.1:P05"}},
        {"wide, colon beyond 513 bytes", Utf16Le("@@RWT PATCH 2.0" + x.substr(0, 300) + ":P1:a:b:"), {}, {}},
        {"long record cut at 1023", "@@QVS PATCH 1:P1:" + x.substr(0, 2000), {"QVS PATCH 1:P1:" + x.substr(0, 1008)}, {"QVS PATCH 1:P1"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ScanResult r = Scan(c.content);
        EXPECT_EQ(r.records, c.records);
        EXPECT_EQ(r.summaries, c.summaries);
    }
}

// A plain model of the scan over the whole content in memory.
ScanResult ModelScan(const std::string &d) {
    static const std::string kSingle[] = {"@@QVS PATCH", "@@RWT PATCH", "@@3RD PATCH"};
    static const std::string kWide[] = {Utf16Le("@@MXTRLOG PATCH"), Utf16Le("@@RWT PATCH")};
    ScanResult r;
    auto add = [&r](const std::string &record) {
        const size_t first = record.find(':');
        const size_t second = first == std::string::npos ? first : record.find(':', first + 1);
        if (second == std::string::npos) return;
        r.records.push_back(record);
        r.summaries.push_back(record.substr(0, second));
    };
    for (size_t i = 0; i + 11 < d.size();) {
        size_t skip = 1;
        for (const std::string &m : kSingle) {
            if (d.compare(i, m.size(), m) != 0) continue;
            const std::string text = d.substr(i + 2, 1023);
            add(text.substr(0, text.find('\0')));
            skip = m.size();
        }
        for (const std::string &m : kWide) {
            if (d.compare(i, m.size(), m) != 0) continue;
            skip = m.size();
            const std::string window = d.substr(i + 4, 513);
            size_t colons = 0, last = 0;
            for (size_t k = 0; k < window.size() && colons < 3; ++k)
                if (window[k] == ':') last = k, ++colons;
            if (colons == 0) continue;
            const size_t units = colons == 3 ? last / 2 + 1 : std::min(last / 2 + 9, window.size() / 2);
            std::string narrow;
            for (size_t u = 0; u < units; ++u) {
                const unsigned c = static_cast<unsigned char>(window[2 * u]) |
                                   static_cast<unsigned char>(window[2 * u + 1]) << 8;
                if (c == 0) break;
                std::string utf8;  // each unit on its own, as Utf16ToUtf8 does
                if (c < 0x80) utf8 = {static_cast<char>(c)};
                else if (c < 0x800) utf8 = {static_cast<char>(0xC0 | c >> 6), static_cast<char>(0x80 | (c & 0x3F))};
                else utf8 = {static_cast<char>(0xE0 | c >> 12), static_cast<char>(0x80 | (c >> 6 & 0x3F)),
                             static_cast<char>(0x80 | (c & 0x3F))};
                if (narrow.size() + utf8.size() >= 256) break;  // one byte stays free
                narrow += utf8;
            }
            add(narrow);
        }
        i += skip;
    }
    return r;
}

TEST(PatchScan, AgreesWithAPlainModelOnRandomFiles) {
    const std::string pieces[] = {"@@" + kRecord + '\0', "@@3RD PATCH 1.0:P9:q:", "@@RWT PATCH 1:P1",
                                  Utf16Le("@@MXTRLOG PATCH 1:P2:c:d:"), Utf16Le("@@RWT PATCH 3:UP4:abcdefghijk"),
                                  "@", "@@", std::string("@\0@", 3)};
    std::mt19937 rng(20070524);
    for (int round = 0; round < 40; ++round) {
        std::string content;
        for (const size_t target = rng() % 140000; content.size() < target;) {
            if (rng() % 3 == 0) {
                content += pieces[rng() % std::size(pieces)];
                continue;
            }
            for (size_t k = 0, n = rng() % (rng() % 8 == 0 ? 9000 : 40); k < n; ++k)
                content += static_cast<char>(rng() % 4 == 0 ? rng() % 256 : 'a');
        }
        SCOPED_TRACE(round);
        ScanResult got = Scan(content), want = ModelScan(content);
        ASSERT_EQ(got.records, want.records);
        ASSERT_EQ(got.summaries, want.summaries);
    }
}

TEST(PatchScan, SharedLibraryCarriesBothOfItsRecordsAnUnopenableFileGives8) {
    std::vector<std::string> records = ScanFile(CMNW_TEST_BINARY_DIR "/libcmnw32.so").records;
    std::sort(records.begin(), records.end());
    EXPECT_EQ(records, (std::vector<std::string>{
                           "QVS PATCH 11.2:P02:PCR20834:400.112:..\\C\\utldebug:May  1 2007:08:29:14:",
                           "QVS PATCH 11.2:P03:PCR 20987:400.112:..\\C\\utlctype:May 24 2007:15:54:00:"}));
    EXPECT_TRUE(ScanFile("/nonexistent/dir/file.dll", 8).records.empty());
    ScanFile(nullptr, 8);
    TempDir dir;
    EXPECT_EQ(UTLQueryPatchInfo(dir.Write("x", "@@" + kRecord).c_str(), nullptr, nullptr), 0);
}

// A scan leaves the end-of-file flag set, so the reader is checked in a
// fresh process.
TEST(PatchScan, ShiftAndReadMovesReadsAndClosesAtTheEnd) {
    TempDir dir;
    const std::string path = dir.Write("data", std::string(4096, 'a') + 'B' + std::string(903, 'a'));
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto check = [&path] {
        FILE *file = std::fopen(path.c_str(), "rb");
        std::vector<char> buffer(UTL_PATCH_BUFFER_SIZE);
        char *b = buffer.data();
        const bool ok = UTLShiftAndRead(b, 4096, 4096, file) == 4096 &&
                        UTLShiftAndRead(b, 4000, 4096, file) == 904 && b[96] == 'B' &&  // end: file closed
                        UTLShiftAndRead(b, 10, 1000, file) == 0 && UTLShiftAndRead(b, 990, 990, file) == -1 &&
                        UTLShiftAndRead(b, -1, 10, stdin) == -1 && UTLShiftAndRead(b, 11, 10, stdin) == -1 &&
                        UTLShiftAndRead(b, 0, 4097, stdin) == -1 && UTLShiftAndRead(nullptr, 0, 0, stdin) == -1 &&
                        // A scan starts afresh and leaves the flag set again.
                        UTLQueryPatchInfo(path.c_str(), nullptr, nullptr) == 0 && UTLShiftAndRead(b, 0, 0, stdin) == -1;
        std::exit(ok ? 0 : 1);
    };
    EXPECT_EXIT(check(), ::testing::ExitedWithCode(0), "");
}

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
    EXPECT_EQ(SYSVerQueryValue(block.data(), nullptr, &value, &length) + (value != nullptr) + length, 0u);  // all cleared
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
        for (int i = 0; i < 3; ++i)
            patched.replace(at + 8 * i, 2, {static_cast<char>(c.ids[i] & 0xFF), static_cast<char>(c.ids[i] >> 8)});
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
