// Every function that rewrites, cuts, trims or maps a caller's text in place
// leaves a text that is already in its final form unwritten, so a string
// constant (read-only memory) is safe. Each row is first run on a writable
// copy, which must come out unchanged with the expected result (the text
// really is final), then on the same bytes in a page made read-only.
#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "cmnw32.h"

namespace {

using namespace std::string_literals;

// The texts handed to a row: a at the page start, b 512 bytes further on.
using Call = std::function<long(char *a, char *b)>;

struct Row {
    const char *name;
    std::string a, b;  // bytes as given, embedded NULs kept
    long expected;
    Call call;
};

uint16_t *Wide(char *text) { return reinterpret_cast<uint16_t *>(text); }
long Same(const char *a, const char *b) { return std::strcmp(a, b) == 0 ? 0 : 1; }

const Row kRows[] = {
    {"FMTValidNumericFormat", "ZZ9.99", "", 0, [](char *a, char *) { return FMTValidNumericFormat(a); }},
    {"FMTValNumFormat", "ZZ9.99", "  1.50", 0, [](char *a, char *b) { return FMTValNumFormat(6, a, b); }},
    {"FMTValNumFormat mask", "99/99/99", "12/31/99", 0, [](char *a, char *b) { return FMTValNumFormat(8, a, b); }},
    {"FMTDeformatNum", "-1234.50", "", 0, [](char *a, char *) { return FMTDeformatNum(a, nullptr); }},
    {"FMTAddCommas", "1,234,567.891", "", 1, [](char *a, char *) { return FMTAddCommas(a); }},
    {"FMTUnconvertNumFormat", "Z.ZZ9,99", "", 0, [](char *a, char *) {
         char dst[40];
         FMTUnconvertNumFormat(a, " DEM", 32, dst);
         return Same(dst, "Z,ZZ9.99");
     }},
    {"FMTIntlValDate", "01/02/2008", "", 0, [](char *a, char *) { return FMTIntlValDate(a, 64, "1/4", " USD"); }},
    {"FMTIntlValDate blank", "  /  /  ", "", 0, [](char *a, char *) { return FMTIntlValDate(a, 64, "1/4", " USD"); }},
    {"FMTDeformatDate", "01/02/2008", "", 0, [](char *a, char *) { return FMTDeformatDate(a, 64, "1/4", " USD"); }},
    {"FMTDateAdd", "01/02/2008", "", 0, [](char *a, char *) { return FMTDateAdd(a, "1/4", 0, 0, 0); }},
    {"FMTValTime", "09:30:15", "", 0, [](char *a, char *) { return FMTValTime(a, 11, "1:"); }},
    {"FMTValTime blank", "  :  :  ", "", 0, [](char *a, char *) { return FMTValTime(a, 11, "1:"); }},
    {"FMTDeformatTime", "09:30:15", "", 0, [](char *a, char *) { return FMTDeformatTime(a, 11, "1:"); }},
    {"FMTTimeAdd", "09:30:15", "", 0, [](char *a, char *) { return FMTTimeAdd(a, "1:", 0, 0, 0); }},
    {"FMTGetDateFmtString", "/", "", 0, [](char *a, char *) { char o[8]; return FMTGetDateFmtString(o, 1, a, 4); }},
    {"FMTGetTimeFmtString", ":", "", 0, [](char *a, char *) { char o[8]; return FMTGetTimeFmtString(o, 1, a); }},
    {"UTLstrupr", "ABC 1", "", 0, [](char *a, char *) { return UTLstrupr(a) == a ? 0L : 1L; }},
    {"UTLstrlwr", "abc 1", "", 0, [](char *a, char *) { return UTLstrlwr(a) == a ? 0L : 1L; }},
    {"UTLStrClip", "abc", "", 3, [](char *a, char *) { return UTLStrClip(a, 3); }},
    {"UTLTrimSpace", "abc\xA0", "", 4, [](char *a, char *) { return UTLTrimSpace(a, 4); }},
    {"UTLStrClipW", "a\0b\0"s, "", 2, [](char *a, char *) { return UTLStrClipW(Wide(a), 2); }},
    {"UTLTrimSpaceW", "a\0b\0"s, "", 2, [](char *a, char *) { return UTLTrimSpaceW(Wide(a), 2); }},
    {"UTLStrLeftW", "a\0b\0"s, "", 2, [](char *a, char *) { return UTLStrLeftW(Wide(a)); }},
    {"UTLKillSpacesW", "a\0b\0"s, "", 2, [](char *a, char *) { return UTLKillSpacesW(Wide(a)); }},
    {"UTLUtf8ToAnsi", "plain text", "", 10, [](char *a, char *) { return UTLUtf8ToAnsi(a, 10); }},
    {"EBCDIC2ASCII", "\x01\x02\x03", "", 0, [](char *a, char *) { return EBCDIC2ASCII(a, 3), 0L; }},
    {"ASCII2EBCDIC", "\x01\x02\x03", "", 0, [](char *a, char *) {
         ASCII2EBCDIC(a, 3);
         ForceASCII2EBCDIC(a, 3);
         return ForceASCII2EBCDICCR2Space(a, 3), 0L;
     }},
    {"UTLSignedStrToStr", "123", "", 1, [](char *a, char *) { return UTLSignedStrToStr(a, 3, 1); }},
    {"UTLMakeValidFileName", "name.txt", "", 0, [](char *a, char *) { return UTLMakeValidFileName(a, 8); }},
    {"UTLDefaultExtension", "dir/name.txt", "", 0, [](char *a, char *) { return UTLDefaultExtension(a, "dat"); }},
    {"UTLSearchPath", "name.txt", "", 0, [](char *a, char *) { return UTLSearchPath("", a); }},
    {"UTLParseKeywordBool", "FLAG", "", 1, [](char *a, char *) {
         int32_t on = 0;
         return UTLParseKeywordBool(&a, &on, "FLAG") + 0L;
     }},
};

TEST(ReadOnlyText, FinalFormTextsAreNeverWritten) {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    for (const Row &row : kRows) {
        char writable[1024] = {};
        row.a.copy(writable, row.a.size());
        row.b.copy(writable + 512, row.b.size());
        ASSERT_EQ(row.call(writable, writable + 512), row.expected) << row.name;
        ASSERT_EQ(std::string(writable, row.a.size()), row.a) << row.name << ": not final";
        ASSERT_EQ(std::string(writable + 512, row.b.size()), row.b) << row.name << ": not final";

        auto *text = static_cast<char *>(
            mmap(nullptr, page, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
        ASSERT_NE(text, MAP_FAILED);
        std::memcpy(text, writable, sizeof writable);
        ASSERT_EQ(mprotect(text, page, PROT_READ), 0);
        EXPECT_EXIT(std::exit(row.call(text, text + 512) == row.expected ? 0 : 1),
                    testing::ExitedWithCode(0), "")
            << row.name;
        munmap(text, page);
    }
}

}  // namespace
