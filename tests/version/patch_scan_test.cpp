#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "cmnw32/version.h"
#include "common/test_support.h"
#include "version/patch_test_util.h"

namespace {

using cmnw::test::ListTexts;
using cmnw::test::PatchLists;
using cmnw::test::TempDir;
using cmnw::test::Utf16Le;

const std::string kRecord = "QVS PATCH 11.2:P03:PCR 1:1:x:May 24 2007:15:54:00:";

struct ScanResult {
    std::vector<std::string> records;
    std::vector<std::string> summaries;
};

ScanResult Scan(const std::string &content) {
    TempDir dir;
    const std::string path = dir.Write("module.bin", content);
    PatchLists lists;
    EXPECT_EQ(UTLQueryPatchInfo(path.c_str(), lists.records, lists.summaries), 0);
    return {ListTexts(lists.records), ListTexts(lists.summaries)};
}

std::string Filler(size_t n, char c = 'x') {
    return std::string(n, c);
}

TEST(PatchScan, FindsRecordsAcrossReadBoundariesAndCutsLongOnes) {
    const std::string marked = "@@" + kRecord + std::string(1, '\0');
    const std::string wide =
        Utf16Le("@@MXTRLOG PATCH 10.1:P05:PCR 7:src:May 1 2007:") + std::string(2, '\0');
    struct Case {
        const char *name;
        std::string content;
        std::vector<std::string> records;
        std::vector<std::string> summaries;
    } cases[] = {
        // Boundaries of the 4096-byte reads and the 65536-byte window (the
        // random files of the model test below cross them by chance only).
        {"record straddles 4096", Filler(4070) + marked, {kRecord}, {"QVS PATCH 11.2:P03"}},
        {"last @ before 65536", Filler(65535) + marked, {kRecord}, {"QVS PATCH 11.2:P03"}},
        {"record straddles 65536", Filler(65500) + marked, {kRecord}, {"QVS PATCH 11.2:P03"}},
        {"wide straddles 65536", Filler(65520) + wide, {"MXTRLOG PATCH 10.1:P05:PCR 7:"},
         {"MXTRLOG PATCH 10.1:P05"}},
        {"wide, colon beyond 513 bytes", Utf16Le("@@RWT PATCH 2.0" + Filler(300) + ":P1:a:b:"), {}, {}},
        {"long record cut at 1023", "@@QVS PATCH 1:P1:" + Filler(2000),
         {"QVS PATCH 1:P1:" + Filler(1023 - 15)}, {"QVS PATCH 1:P1"}},
    };
    for (const Case &c : cases) {
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
        size_t first = record.find(':');
        size_t second = first == std::string::npos ? first : record.find(':', first + 1);
        if (second == std::string::npos) return;
        r.records.push_back(record);
        r.summaries.push_back(record.substr(0, second));
    };
    for (size_t i = 0; i + 11 < d.size();) {
        size_t skip = 1;
        for (const std::string &m : kSingle) {
            if (d.compare(i, m.size(), m) != 0) continue;
            std::string text = d.substr(i + 2, 1023);
            add(text.substr(0, text.find('\0')));
            skip = m.size();
        }
        for (const std::string &m : kWide) {
            if (d.compare(i, m.size(), m) != 0) continue;
            std::string window = d.substr(i + 4, 513), narrow;
            size_t colons = 0, last = 0;
            for (size_t k = 0; k < window.size() && colons < 3; ++k)
                if (window[k] == ':') last = k, ++colons;
            if (colons > 0) {
                size_t units =
                    colons == 3 ? last / 2 + 1 : std::min(last / 2 + 9, window.size() / 2);
                for (size_t u = 0; u < units; ++u) {
                    unsigned c = static_cast<unsigned char>(window[2 * u]) |
                                 static_cast<unsigned char>(window[2 * u + 1]) << 8;
                    if (c == 0) break;
                    std::string utf8;  // each unit on its own, as Utf16ToUtf8 does
                    if (c < 0x80) {
                        utf8 = {static_cast<char>(c)};
                    } else if (c < 0x800) {
                        utf8 = {static_cast<char>(0xC0 | c >> 6),
                                static_cast<char>(0x80 | (c & 0x3F))};
                    } else {
                        utf8 = {static_cast<char>(0xE0 | c >> 12),
                                static_cast<char>(0x80 | (c >> 6 & 0x3F)),
                                static_cast<char>(0x80 | (c & 0x3F))};
                    }
                    if (narrow.size() + utf8.size() >= 256) break;  // one byte stays free
                    narrow += utf8;
                }
                add(narrow);
            }
            skip = m.size();
        }
        i += skip;
    }
    return r;
}

TEST(PatchScan, AgreesWithAPlainModelOnRandomFiles) {
    const std::string pieces[] = {"@@" + kRecord + std::string(1, '\0'),
                                  "@@3RD PATCH 1.0:P9:q:",
                                  "@@RWT PATCH 1:P1",
                                  Utf16Le("@@MXTRLOG PATCH 1:P2:c:d:"),
                                  Utf16Le("@@RWT PATCH 3:UP4:abcdefghijk"),
                                  "@",
                                  "@@",
                                  "@\0@"};
    std::mt19937 rng(20070524);
    for (int round = 0; round < 40; ++round) {
        std::string content;
        const size_t target = rng() % 140000;
        while (content.size() < target) {
            if (rng() % 3 == 0) {
                content += pieces[rng() % std::size(pieces)];
            } else {
                size_t n = rng() % (rng() % 8 == 0 ? 9000 : 40);
                for (size_t k = 0; k < n; ++k)
                    content += static_cast<char>(rng() % 4 == 0 ? rng() % 256 : 'a');
            }
        }
        SCOPED_TRACE(round);
        ScanResult got = Scan(content), want = ModelScan(content);
        ASSERT_EQ(got.records, want.records);
        ASSERT_EQ(got.summaries, want.summaries);
    }
}

TEST(PatchScan, SharedLibraryCarriesBothOfItsRecords) {
    PatchLists lists;
    ASSERT_EQ(
        UTLQueryPatchInfo(CMNW_TEST_BINARY_DIR "/libcmnw32.so", lists.records, lists.summaries), 0);
    std::vector<std::string> records = ListTexts(lists.records);
    std::sort(records.begin(), records.end());
    EXPECT_EQ(records,
              (std::vector<std::string>{
                  "QVS PATCH 11.2:P02:PCR20834:400.112:..\\C\\utldebug:May  1 2007:08:29:14:",
                  "QVS PATCH 11.2:P03:PCR 20987:400.112:..\\C\\utlctype:May 24 2007:15:54:00:"}));
}

TEST(PatchScan, UnopenableFileGives8) {
    PatchLists lists;
    EXPECT_EQ(UTLQueryPatchInfo("/nonexistent/dir/file.dll", lists.records, lists.summaries), 8);
    EXPECT_EQ(UTLQueryPatchInfo(nullptr, lists.records, lists.summaries), 8);
    TempDir dir;
    EXPECT_EQ(UTLQueryPatchInfo(dir.Write("x", "@@" + kRecord).c_str(), nullptr, nullptr), 0);
}

// A scan leaves the end-of-file flag set, so the reader is checked in a
// fresh process.
TEST(PatchScan, ShiftAndReadMovesReadsAndClosesAtTheEnd) {
    TempDir dir;
    std::string content(5000, 'a');
    content[4096] = 'B';
    const std::string path = dir.Write("data", content);
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto check = [&path] {
        FILE *file = std::fopen(path.c_str(), "rb");
        std::vector<char> buffer(UTL_PATCH_BUFFER_SIZE);
        bool ok = UTLShiftAndRead(buffer.data(), 4096, 4096, file) == 4096 &&
                  UTLShiftAndRead(buffer.data(), 4000, 4096, file) == 904 &&  // end: file closed
                  buffer[96] == 'B' && UTLShiftAndRead(buffer.data(), 10, 1000, file) == 0 &&
                  UTLShiftAndRead(buffer.data(), 990, 990, file) == -1 &&
                  UTLShiftAndRead(buffer.data(), -1, 10, stdin) == -1 &&
                  UTLShiftAndRead(buffer.data(), 11, 10, stdin) == -1 &&
                  UTLShiftAndRead(buffer.data(), 0, 4097, stdin) == -1 &&
                  UTLShiftAndRead(nullptr, 0, 0, stdin) == -1;
        // A scan starts afresh and leaves the flag set again.
        ok = ok && UTLQueryPatchInfo(path.c_str(), nullptr, nullptr) == 0 &&
             UTLShiftAndRead(buffer.data(), 0, 0, stdin) == -1;
        std::exit(ok ? 0 : 1);
    };
    EXPECT_EXIT(check(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
