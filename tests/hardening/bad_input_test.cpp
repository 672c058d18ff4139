// Hostile input for every exported function that reads caller text or
// buffers: empty texts, texts longer than every fixed buffer, bytes
// 0x80-0xFF, nulls where the contract allows them, and buffers that end
// right at an unreadable page so that any read or write past the length
// given faults at once, with or without a sanitizer.
#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <cstring>
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cmnw32.h"
#include "common/test_support.h"

namespace {

using namespace std::string_literals;

using cmnw::test::GuardedBuffer;

struct Sample {
    std::string label;
    std::string text;
};

// Texts that reach every fixed buffer and every class of byte.
std::vector<Sample> HostileTexts() {
    std::vector<Sample> samples{{"empty", ""}, {"blank", "   "}, {"every-byte", ""}};
    for (int c = 1; c < 256; ++c) samples.back().text += static_cast<char>(c);
    for (size_t length : {300u, 1100u, 70000u})
        for (const std::string fill : {"9", "Ab", "\x80\xff\xe9\xa0", "12/", "1:", "%@%", "Z,9.-", "\xc3\xa9\xe2\x82\xac"}) {
            std::string text;
            while (text.size() < length) text += fill;
            samples.push_back({fill + "/" + std::to_string(length), text.substr(0, length)});
        }
    return samples;
}

using TextCall = std::function<void(const char *)>;

int32_t QuietError(const char *, int32_t, uint32_t, const char *) { return 0; }
int32_t QuietInfo(const char *, const char *) { return 0; }

// Reports of bad input go nowhere: only safety is under test here.
class BadInput : public ::testing::Test {
protected:
    void SetUp() override {
        UTLSetErrorNotify(&QuietError);
        UTLSetInfoNotify(&QuietInfo);
    }
};

std::vector<std::pair<const char *, TextCall>> Readers() {
    static char out[2048];
    static int a, b, c;
    return {
        {"FMTGetDateFmtNum", [](const char *t) { FMTGetDateFmtNum(t); }},
        {"FMTGetDateFmtSep", [](const char *t) { char s[2]; FMTGetDateFmtSep(t, s); }},
        {"FMTGetDateFmtInfo", [](const char *t) { char s[2], tp[40]; FMTGetDateFmtInfo(t, &a, s, &b, tp); }},
        {"FMTGetDateFmtValues", [](const char *t) { FMTGetDateFmtValues(t, 1, "/", 4, &a, &b, &c); }},
        {"FMTGetDateFmtValues/sep", [](const char *t) { FMTGetDateFmtValues("1/2/2024", 1, t, 4, &a, &b, &c); }},
        {"FMTMakeDate", [](const char *t) { GuardedBuffer o(64); FMTMakeDate(o.data(), t, 12, 31, 2024); }},
        {"FMTDateFormatString", [](const char *t) { FMTDateFormatString(t, out, sizeof out); }},
        {"FMTDayOfWeek", [](const char *t) { FMTDayOfWeek(t, "1/4"); FMTDayOfWeek("1/2/2024", t); }},
        {"FMTDiffDays", [](const char *t) { FMTDiffDays(t, t, "1/2/2024", "1/4"); }},
        {"FMTDiffMonths", [](const char *t) { FMTDiffMonths("1/2/2024", "1/4", t, t); }},
        {"FMTDate2Date", [](const char *t) { GuardedBuffer o(64); FMTDate2Date(t, "1/4", o.data(), t); }},
        {"FMTDate", [](const char *t) { GuardedBuffer o(64); FMTDate(o.data(), t); }},
        {"FMTGetTimeFmtNum", [](const char *t) { FMTGetTimeFmtNum(t); }},
        {"FMTGetTimeFmtInfo", [](const char *t) { char s[2], tp[40]; FMTGetTimeFmtInfo(t, &a, s, tp); }},
        {"FMTGetTimeFmtValues", [](const char *t) { char m[3]; FMTGetTimeFmtValues(t, 1, ":", m, &a, &b, &c); }},
        {"FMTTimeFormatString", [](const char *t) { FMTTimeFormatString(t, out, sizeof out); }},
        {"FMTMakeTime", [](const char *t) { GuardedBuffer o(12); FMTMakeTime(o.data(), t, 23, 59, 59); }},
        {"FMTDiffSeconds", [](const char *t) { FMTDiffSeconds(t, t, "12:00:00", "1:"); }},
        {"FMTTime2Time", [](const char *t) { GuardedBuffer o(12); FMTTime2Time(t, t, o.data(), "2:"); }},
        {"FMTTime", [](const char *t) { GuardedBuffer o(12); FMTTime(o.data(), t); }},
        {"FMTGetLTime", [](const char *t) { FMTGetLTime(t); }},
        {"FMTHextime2Date", [](const char *t) { GuardedBuffer o(11); FMTHextime2Date(t, o.data(), 11); }},
        {"FMTDate2Hextime", [](const char *t) { GuardedBuffer o(9); FMTDate2Hextime(t, o.data(), 9); }},
        {"FMTHextime2Time", [](const char *t) { GuardedBuffer o(9); FMTHextime2Time(t, o.data(), 9); }},
        {"FMTGetTMTime", [](const char *t) { std::tm tm; FMTGetTMTime(t, t, &tm); FMTGetTMTime(t, "%m/%d/%Y", &tm); }},
        {"FMTGetStrTime", [](const char *t) { std::tm tm{}; GuardedBuffer o(100); FMTGetStrTime(o.data(), 100, t, &tm); }},
        {"FMTDateTime2DateTime", [](const char *t) { char o[128]; FMTDateTime2DateTime(t, "X", o, "1/4% 1:"); FMTDateTime2DateTime(t, t, o, "X"); }},
        {"FMTConvertNumFormat", [](const char *t) { GuardedBuffer o(64); FMTConvertNumFormat(t, " DEM", 63, o.data()); FMTConvertNumFormat("ZZ9.99", t, 63, o.data()); }},
        {"UTLIsValidNumChar", [](const char *t) { UTLIsValidNumChar('1', t, t); }},
        {"UTLGetValidYesNo", [](const char *t) { UTLGetValidYesNo('y', t, t); }},
        {"FMTIsNotBlank", [](const char *t) { FMTIsNotBlank(t); }},
        {"FMTFmtString", [](const char *t) { GuardedBuffer o(1026); FMTFmtString(t, o.data(), 1025, "3,-,2,-"); FMTFmtString("5551234567", o.data(), 1025, t); }},
        {"FMTDefmtString", [](const char *t) { GuardedBuffer o(1026); FMTDefmtString(t, o.data(), 1025, "3,-,2,-"); FMTDefmtString("123-45-6789", o.data(), 1025, t); }},
        {"FMTFormatString", [](const char *t) { for (char code : {'N', 'D', 'T', 'C', 'M'}) FMTFormatString(code, t); }},
        {"UTLBarcodeMaxLen", [](const char *t) { UTLBarcodeMaxLen(t); UTLBarcodeChar(t, '1', 0, 1); }},
        {"UTLFormatMessage", [](const char *t) { GuardedBuffer o(256); UTLFmtMsgString(o.data(), 256, t, 2, t, "x"); }},
        {"UTLGetINISubs", [](const char *t) { GuardedBuffer o(64); UTLGetINISubs(t, o.data(), 64); }},
        {"UTLstristr", [](const char *t) { UTLstristr(t, "9a"); UTLstristr("abc", t); }},
        {"UTLstrrstr", [](const char *t) { UTLstrrstr(t, "12"); UTLstrrstr("abc", t); }},
        {"UTLstricmp", [](const char *t) { UTLstricmp(t, "ab"); UTLstricoll(t, t); UTLstrcoll("z", t); }},
        {"Utf8CharLen", [](const char *t) { Utf8CharLen(t); Utf8ToUtf16Char(t); }},
        {"UTLuastrcpy", [](const char *t) { std::vector<uint16_t> o(std::strlen(t) + 1); UTLuastrcpy(o.data(), t); }},
        {"UTLSetLocale", [](const char *t) { UTLSetLocale(t); UTLGetLocale(); UTLSetLocale("USD"); }},
        {"UTLGetLocaleSettings", [](const char *t) { LocaleSettings s; UTLGetLocaleSettings(t, &s); }},
        {"UTLFindLocale", [](const char *t) { UTLFindLocale(t); }},
        {"UTLFMT2ICULocale", [](const char *t) { GuardedBuffer o(32); UTLFMT2ICULocale(t, o.data(), 32); }},
        {"UTLFileType", [](const char *t) { UTLFileType(t); }},
        {"UTLDebugOption", [](const char *t) { char o[64]; UTLDebugOption(t); UTLDebugValue(t, o, sizeof o); }},
        {"UTLErrorMsg", [](const char *t) { UTLPlatformInfo(t, t); }},
        {"UTLLocateCharByName", [](const char *t) { UTLLocateCharByName(nullptr, t, t, t); }},
    };
}

TEST_F(BadInput, ReadersStayWithinTextsOfEveryLengthAndByte) {
    cmnw::test::TempDir traceDir;
    UTLSetTraceName(traceDir.File("trace.log").c_str());
    const auto readers = Readers();
    for (const Sample &sample : HostileTexts()) {
        GuardedBuffer text(sample.text + '\0');  // the terminator is the last readable byte
        for (const auto &[name, call] : readers) {
            SCOPED_TRACE(std::string(name) + " with " + sample.label);
            call(text.data());
            ASSERT_EQ(std::memcmp(text.data(), sample.text.c_str(), sample.text.size() + 1), 0)
                << "input text changed";
        }
    }
}

TEST_F(BadInput, InPlaceRewritersKeepToTheirBuffer) {
    for (const Sample &sample : HostileTexts()) {
        SCOPED_TRACE(sample.label);
        // Room for what the contract lets each of them write back.
        const std::string room(128, '\0');
        auto run = [&](const char *name, const std::function<void(char *, unsigned)> &call) {
            SCOPED_TRACE(name);
            GuardedBuffer buffer(sample.text + room);
            call(buffer.data(), static_cast<unsigned>(sample.text.size()));
        };
        run("FMTIntlValDate", [](char *t, unsigned n) { FMTIntlValDate(t, n, "1/4", " DEM"); });
        run("FMTDeformatDate", [](char *t, unsigned n) { FMTDeformatDate(t, n, "4.4", nullptr); });
        run("FMTDateAdd", [](char *t, unsigned) { FMTDateAdd(t, "1/4", 40, -13, 2); });
        run("FMTValTime", [](char *t, unsigned n) { FMTValTime(t, n, "2:"); });
        run("FMTDeformatTime", [](char *t, unsigned n) { FMTDeformatTime(t, n, "1:"); });
        run("FMTTimeAdd", [](char *t, unsigned) { FMTTimeAdd(t, "1:", 70, 70, 25); });
        run("FMTValNumFormat", [](char *t, unsigned n) { char p[] = "ZZZ,ZZ9.99-"; FMTValNumFormat(n > 64 ? 64 : int(n), p, t); });
        run("FMTValidNumericFormat", [](char *t, unsigned) { FMTValidNumericFormat(t); });
        run("FMTDeformatNum", [](char *t, unsigned) { FMTDeformatNum(t, " DEM"); });
        run("FMTUnconvertNumFormat", [](char *t, unsigned) { char o[64]; FMTUnconvertNumFormat(t, " FRF", 63, o); });
        run("UTLstrlwr", [](char *t, unsigned) { UTLstrupr(UTLstrlwr(t)); });
        run("UTLStrClip", [](char *t, unsigned n) { UTLStrClip(t, static_cast<int32_t>(n)); });
        run("UTLTrimSpace", [](char *t, unsigned n) { UTLTrimSpace(t, static_cast<int32_t>(n)); });
        run("UTLUtf8ToAnsi", [](char *t, unsigned n) { UTLUtf8ToAnsi(t, static_cast<int32_t>(n)); });
    }
}

// Functions given a length read that many bytes and no more: the buffer ends
// at the guard page with no terminator.
TEST_F(BadInput, LengthBoundedReadersNeedNoTerminator) {
    for (const Sample &sample : HostileTexts()) {
        SCOPED_TRACE(sample.label);
        GuardedBuffer in(sample.text);
        const auto n = static_cast<uint32_t>(in.size());
        std::vector<char> out(4 * n + 64);

        UTLCalculateBlockCRC32(n, 0, in.data());
        UTLEncodeBase64(in.data(), n, out.data());
        UTLDecodeBase64(in.data(), n, out.data());
        UTLText2Binary(in.data(), n, out.data(), static_cast<uint32_t>(out.size()));
        UTLText2BinarySize(in.data(), n);
        FMTValBarcode(in.data(), static_cast<int>(n), "C");
        UTLmemicmp(in.data(), in.data(), n);
        UTLstrnicmp(in.data(), in.data(), n);
        UTLstrncoll(in.data(), in.data(), n);

        const char *src = in.data();
        char *dst = out.data();
        AnsiToUtf8(&src, in.end(), &dst, out.data() + out.size());
        src = in.data();
        std::vector<uint16_t> wide(n + 1);
        uint16_t *wdst = wide.data();
        Utf8ToUtf16(&src, in.end(), &wdst, wide.data() + wide.size());

        // Byte translators work in place on exactly len bytes.
        if (n <= UINT16_MAX) {
            const auto len = static_cast<uint16_t>(n);
            EBCDIC2ASCII(in.data(), len);
            ASCII2EBCDIC(in.data(), len);
            ForceASCII2EBCDICCR2Space(in.data(), len);
            int error = 0;
            UTLSignedStrToStrExt(in.data(), len, 0, &error);  // in place, no room to grow
        }
    }
}

TEST_F(BadInput, SizedWritersStopAtTheSizeGiven) {
    const std::string data(300, '\xA5');
    for (uint32_t size : {0u, 1u, 2u, 5u, 63u, 64u, 399u, 400u, 401u}) {
        SCOPED_TRACE(size);
        GuardedBuffer out(size);
        UTLBinary2Text(data.data(), static_cast<uint32_t>(data.size()), out.data(), size);
        UTLGetUniqueString(out.data(), size);
        UTLFormatMessage(out.data(), size, "%1 and %2 and more", nullptr);
        UTLGetINISubsNoDef("name", out.data(), size);
        UTLDebugValue("TraceFile", out.data(), size);
        if (size > 0) {
            UTLFMT2ICULocale("DEM", out.data(), static_cast<int>(size));
            FMTDateFormatString("4.4", out.data(), size);
            FMTTimeFormatString("2:", out.data(), size);
            std::tm tm{};
            FMTGetStrTime(out.data(), static_cast<int>(size), "%A %B %d %Y %H:%M:%S", &tm);
        }
    }
}

TEST_F(BadInput, NullsWhereTheContractAllowsThem) {
    int a = 0;
    uint32_t room = 64;
    char *cursor = nullptr, out[64] = "x", mask[8];
    const long got[] = {FMTGetDateFmtNum(nullptr), FMTGetTimeFmtNum(nullptr), FMTGetLTime(nullptr),
                        FMTMakeDate(nullptr, "1/4", 1, 1, 2000), FMTFillHEXTime(nullptr, 0),
                        FMTGetStrTime(nullptr, 10, "%Y", nullptr), FMTIsNotBlank(nullptr), UTLBarcodeMaxLen(nullptr),
                        UTLstristr(nullptr, "a") != nullptr, UTLstrrstr(nullptr, "a") != nullptr,
                        UTLFormatMessage(nullptr, 10, "x", nullptr), UTLEncodeBase64(nullptr, 3, nullptr),
                        UTLDecodeBase64(nullptr, 3, nullptr), UTLMakeCRCName(nullptr, 1),
                        UTLParseKeywordInt(&cursor, &a, "size"), UTLParseKeywordInt(nullptr, &a, nullptr),
                        FMTFmtString(nullptr, mask, sizeof mask - 1, nullptr), UTLGetComputerName(nullptr, &room)};
    EXPECT_EQ(std::vector<long>(std::begin(got), std::end(got)),
              (std::vector<long>{1, 1, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0xFFFF, 0, 0, 0, 0}));
    UTLGetINISubs(nullptr, out, sizeof out);
    EXPECT_STREQ(out, "");
    const uint16_t *noUnits = nullptr;
    char *to = out;
    Utf16ToUtf8(nullptr, nullptr, &to, out + 1);
    Utf16ToUtf8(&noUnits, nullptr, &to, out + 1);
    EXPECT_EQ(to, out);
    FMTConvertNumFormat(nullptr, " DEM", sizeof out, out);
    FMTSetHostLocale(nullptr);
    EXPECT_NE(FMTGetHostLocale(nullptr), nullptr);
}

// Every function that rewrites, cuts, trims or maps a caller's text in place
// leaves a text that is already in its final form unwritten, so a string
// constant (read-only memory) is safe. Each row is first run on a writable
// copy, which must come out unchanged with the expected result (the text
// really is final), then on the same bytes in a page made read-only.
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
