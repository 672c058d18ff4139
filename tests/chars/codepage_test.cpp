// Code page sets: reading, the shared built-in set and its file, translation.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "chars/codepage_fixture.h"
#include "cmnw32/cfg.h"
#include "cmnw32/codepage.h"

using cmnw::testing::ScratchDir;

namespace {

// Identifier, name, alias, and the byte under each walked code page.
struct Char {
    std::string text[3];
    std::vector<uint8_t> bytes;
};

std::vector<Char> Walk(UTLCPSET set, const std::vector<int32_t> &ids) {
    std::vector<Char> all;
    uint8_t byte = 0;
    char id[UTL_CP_IDENT_SIZE], name[UTL_CP_NAME_SIZE], alias[UTL_CP_NAME_SIZE];
    for (size_t p = 0; p < ids.size(); ++p) {
        EXPECT_EQ(UTLSetDefCodePage(set, ids[p], nullptr), UTL_CP_OK) << ids[p];
        size_t k = 0;
        for (uint16_t st = UTLGetFirstCodePageChar(set, &byte, id, name, alias); st == UTL_CP_OK;
             st = UTLGetNextCodePageChar(set, &byte, id, name, alias), ++k) {
            if (p == 0) all.push_back({{id, name, alias}, {}});
            if (k < all.size()) all[k].bytes.push_back(byte);
        }
        EXPECT_EQ(k, all.size()) << ids[p];
    }
    return all;
}

// The walk as text, a line "identifier,name,alias,byte,..." per character.
std::string Dump(UTLCPSET set, const std::vector<int32_t> &ids) {
    std::string text;
    for (const Char &c : Walk(set, ids)) {
        text += c.text[0] + "," + c.text[1] + "," + c.text[2];
        for (uint8_t b : c.bytes) text += "," + std::to_string(b);
        text += "\n";
    }
    return text;
}

// A set read from an in-memory configuration holding these lines.
class OwnSet : public ::testing::Test {
protected:
    void Fill(const std::vector<std::string> &pages, const std::vector<std::string> &chars) {
        ASSERT_NE(CFGCreate(), nullptr);
        for (const std::string &line : pages)
            ASSERT_NE(CFGAddLine("CodePages", "CodePage", line.c_str()), 0);
        for (const std::string &line : chars)
            ASSERT_NE(CFGAddLine("CodePage", "Char", line.c_str()), 0);
        set_ = UTLCreateCodePage();
        ASSERT_NE(set_, nullptr);
        pagesStatus_ = UTLLoadCodePages(set_);
        charsStatus_ = UTLLoadCodePagesChars(set_);
        CFGDiscard();
    }
    void TearDown() override { EXPECT_EQ(UTLDestroyCodePage(set_), UTL_CP_OK); }

    UTLCPSET set_ = nullptr;
    uint16_t pagesStatus_ = 0, charsStatus_ = 0;
};

TEST_F(OwnSet, SplitsFieldsTrimsTextsAndKeepsBytesModulo256) {
    Fill({" 7 , AB", "8,CDE", "-9,,,x"},
         {"  ID1  ,  first name ,  alias one , 1, 2 ,3",
          "ID2,,,second, ,258,-1",  // a run of commas is one separator
          "ID3,third",              // missing fields: empty texts, bytes 0
          "ID4567890123,a-name-that-is-longer-than-thirty-chars,al, 65x,+66, 99999999999999999999"});
    EXPECT_EQ(pagesStatus_, UTL_CP_OK);
    EXPECT_EQ(charsStatus_, UTL_CP_OK);
    ASSERT_EQ(UTLCodePageCount(set_), 3);
    char cd[] = "CD", ab[] = "AB";
    EXPECT_EQ(UTLSetDefCodePage(set_, 8, cd), UTL_CP_OK);  // short name cut to 2
    EXPECT_EQ(UTLSetDefCodePage(set_, 7, ab), UTL_CP_OK);
    // "-1" and 10^20 - 1 are 255 modulo 256; "65x" reads as 65.
    EXPECT_EQ(Dump(set_, {7, 8, -9}),
              "ID1,first name,alias one,1,2,3\n"
              "ID2,second,,2,255,0\n"
              "ID3,third,,0,0,0\n"
              "ID4567890,a-name-that-is-longer-than-thi,al,65,66,255\n");
}

TEST_F(OwnSet, RepeatedTextsAreReachedInOrderUpToTheHundredth) {
    std::vector<std::string> chars = {"DUP,first, ,0", "DUP,second, ,0", "DUP,third, ,7",
                                      "SOLO,name,alias,9"};
    // Only the hundredth and later of one identifier have a byte.
    for (int i = 0; i < 104; ++i)
        chars.push_back("MANY,m" + std::to_string(i) + ", ," + (i == 99 ? "11" : i == 100 ? "12" : "0"));
    for (int i = 0; i < 101; ++i) chars.push_back("MORE,o, ," + std::string(i == 100 ? "13" : "0"));
    Fill({"1,P"}, chars);
    ASSERT_EQ(UTLSetDefCodePage(set_, 1, nullptr), UTL_CP_OK);
    EXPECT_EQ(UTLLocateCharByName(set_, "DUP", nullptr, nullptr), 7);
    EXPECT_EQ(UTLLocateCharByName(set_, "MANY", nullptr, nullptr), 11);
    EXPECT_EQ(UTLLocateCharByName(set_, "MORE", nullptr, nullptr), 0);
    EXPECT_EQ(UTLLocateCharByName(set_, "none", "name", nullptr), 9);
    EXPECT_EQ(UTLLocateCharByName(set_, "none", "none", "alias"), 9);
    char name[UTL_CP_NAME_SIZE];
    EXPECT_EQ(UTLLocateNameByChar(set_, 12, nullptr, name, nullptr), UTL_CP_OK);
    EXPECT_STREQ(name, "m100");
    EXPECT_EQ(UTLLocateNameByChar(set_, 0, nullptr, name, nullptr), UTL_CP_OK);
    EXPECT_STREQ(name, "first");  // byte 0: the first character the page lacks
}

TEST_F(OwnSet, CodePageWithoutShortNameStopsTheReading) {
    Fill({"1,A", "1004", "2,B"}, {"X,x, ,1,2"});
    EXPECT_EQ(pagesStatus_, UTL_CP_FAIL);
    EXPECT_EQ(UTLCodePageCount(set_), 1);
    EXPECT_EQ(UTLSetDefCodePage(set_, 2, nullptr), UTL_CP_FAIL);
}

TEST_F(OwnSet, WalkFailsWithoutDefaultAndEndsAfterTheLastCharacter) {
    Fill({"1,A", "2,B"}, {"A,a, ,1,0", "B,b, ,2", "C,c, ,3,4"});
    uint8_t byte = 0xEE;
    char id[UTL_CP_IDENT_SIZE] = "keep";
    EXPECT_EQ(UTLGetFirstCodePageChar(set_, &byte, id, nullptr, nullptr), UTL_CP_FAIL);
    EXPECT_EQ(byte, 0xEE);
    EXPECT_STREQ(id, "keep");
    char a[] = "A";
    EXPECT_EQ(UTLSetDefCodePage(set_, 2, a), UTL_CP_FAIL);  // id and short name must both match
    EXPECT_EQ(Walk(set_, {2}).size(), 3u);
    EXPECT_EQ(UTLGetNextCodePageChar(set_, &byte, nullptr, nullptr, nullptr), UTL_CP_FAIL);
    // By index, and by byte: a value whose low eight bits are the byte.
    uint16_t index = 2;
    char name[UTL_CP_NAME_SIZE], alias[UTL_CP_NAME_SIZE] = "x";
    EXPECT_EQ(UTLGetIndexCodePageChar(set_, &index, &byte, id, name, nullptr), UTL_CP_OK);
    EXPECT_EQ(std::string(id) + name + std::to_string(byte), "Cc4");
    EXPECT_EQ(UTLLocateNameByChar(set_, 4 + 256, id, name, alias), UTL_CP_OK);
    EXPECT_EQ(std::string(id) + name + alias, "Cc");
}

// A handle the library did not make, or one already destroyed, is refused.
TEST(CodePageHandles, UnknownAndDestroyedSetsAreRefused) {
    int notASet = 0;
    const auto bad = reinterpret_cast<UTLCPSET>(&notASet);
    EXPECT_EQ(UTLDestroyCodePage(bad), UTL_CP_FAIL);
    EXPECT_EQ(UTLLoadCodePages(bad), UTL_CP_FAIL);
    EXPECT_EQ(UTLLocateCharByName(bad, "SP010000", nullptr, nullptr), UTL_CP_FAIL);
    UTLCPSET set = UTLCreateCodePage();
    EXPECT_EQ(UTLDestroyCodePage(set), UTL_CP_OK);
    EXPECT_EQ(UTLDestroyCodePage(set), UTL_CP_FAIL);
}

uint64_t Fnv1a(const std::string &text) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : text) h = (h ^ c) * 0x100000001b3ull;
    return h;
}

// Loaded once for all callers, freed with the last release; the unload
// writes the code page file and a later load reads back the same rows.
TEST(CodePageBuiltIn, SharedHoldsEveryRowAndReadsBackWhatItWrites) {
    ScratchDir scratch;
    scratch.UseConfig();  // points at an empty directory: no code page file
    UTLCPSET builtIn = UTLLoadCodePage();
    ASSERT_NE(builtIn, nullptr);
    EXPECT_EQ(UTLLoadCodePage(), builtIn);
    EXPECT_EQ(UTLDestroyCodePage(builtIn), UTL_CP_OK);
    ASSERT_EQ(UTLCodePageCount(builtIn), 3);  // still held
    const std::string before = Dump(builtIn, {1004, 9999, 9998});
    EXPECT_EQ(std::count(before.begin(), before.end(), '\n'), 742);
    EXPECT_EQ(Fnv1a(before), 0x5cbec0f1f9442382ull);
    ASSERT_EQ(UTLUnloadCodePage(builtIn), UTL_CP_OK);
    EXPECT_EQ(UTLCodePageCount(builtIn), 3);  // still loaded
    ASSERT_EQ(UTLDestroyCodePage(builtIn), UTL_CP_OK);
    EXPECT_EQ(UTLCodePageCount(builtIn), 0);  // freed
    const std::string text = scratch.Read("codepage.ini");
    EXPECT_NE(text.find("CodePage=1004,W1\n"), std::string::npos);
    EXPECT_NE(text.find("Char=SP010000,space, ,32,32,32\n"), std::string::npos);
    // A set of the caller's own released without any load leaves the count
    // at zero: the next load builds a fresh set again.
    ASSERT_EQ(UTLDestroyCodePage(UTLCreateCodePage()), UTL_CP_OK);
    UTLCPSET fromFile = UTLLoadCodePage();
    ASSERT_NE(fromFile, nullptr);
    EXPECT_EQ(Dump(fromFile, {1004, 9999, 9998}), before);
    EXPECT_EQ(UTLDestroyCodePage(fromFile), UTL_CP_OK);
}

constexpr int32_t kPageIds[3] = {1004, 9999, 9998};

// Plain model: scan every row by identifier (up to its hundredth occurrence),
// then name, then alias.
uint8_t ModelLookup(const std::vector<Char> &rows, int target, const Char &probe) {
    for (int field = 0; field < 3; ++field) {
        const std::string &wanted = probe.text[field];
        if (field > 0 && wanted.empty()) continue;
        int seen = 0;
        for (const Char &row : rows) {
            if (row.text[field] != wanted) continue;
            if (++seen > 100 || (wanted.empty() && seen > 1)) break;
            if (row.bytes[target] != 0) return row.bytes[target];
        }
    }
    return 0;
}

class Translate : public ::testing::Test {
protected:
    void SetUp() override {
        scratch_.UseConfig();
        set_ = UTLLoadCodePage();
        ASSERT_NE(set_, nullptr);
        rows_ = Walk(set_, {kPageIds[0], kPageIds[1], kPageIds[2]});
    }
    void TearDown() override { EXPECT_EQ(UTLDestroyCodePage(set_), UTL_CP_OK); }

    ScratchDir scratch_;
    UTLCPSET set_ = nullptr;
    std::vector<Char> rows_;
};

TEST_F(Translate, TablesBetweenEveryPairOfCodePagesMatchThePlainModel) {
    for (int source = 0; source < 3; ++source) {
        for (int target = 0; target < 3; ++target) {
            if (source == target) continue;
            uint8_t expected[256] = {};
            for (const Char &row : rows_) {
                const uint8_t found = ModelLookup(rows_, target, row);
                if (found != 0) expected[row.bytes[source]] = found;
            }
            UTLCp2CpTable table;
            std::memset(&table, 0xAB, sizeof table);
            ASSERT_EQ(UTLSetupCp2CpTable(&table, set_, kPageIds[source], nullptr, kPageIds[target],
                                         nullptr, 0x3F),
                      0);
            EXPECT_EQ(table.identity, 0);
            for (int b = 1; b < 256; ++b) {
                EXPECT_EQ(table.map[b], expected[b])
                    << kPageIds[source] << "->" << kPageIds[target] << " " << b;
                EXPECT_EQ(UTLCpTranslateChar(&table, static_cast<uint8_t>(b)),
                          expected[b] != 0 ? expected[b] : 0x3F);
            }
            // The set's default is the source code page afterwards.
            char name[UTL_CP_NAME_SIZE];
            ASSERT_EQ(UTLLocateNameByChar(set_, 33, nullptr, name, nullptr), UTL_CP_OK);
            EXPECT_EQ(name, rows_[source == 0 ? 1 : source == 1 ? 298 : 741].text[1]);
        }
    }
}

TEST_F(Translate, IdentityTablesAndFailures) {
    UTLCp2CpTable table;
    char w1[] = "W1", lower[] = "w1", wd[] = " WD ";
    ASSERT_EQ(UTLSetupCp2CpTable(&table, set_, 1004, nullptr, 1004, nullptr, 0), 0);
    EXPECT_EQ(table.identity, 1);
    for (int b = 0; b < 256; ++b) EXPECT_EQ(UTLCpTranslateChar(&table, static_cast<uint8_t>(b)), b);
    ASSERT_EQ(UTLSetupCp2CpTable(&table, set_, 1004, w1, 1004, lower, 0), 0);
    EXPECT_EQ(table.identity, 1);
    for (uint8_t byte : table.map) EXPECT_EQ(byte, 0);

    EXPECT_EQ(UTLSetupCp2CpTable(&table, set_, 1004, nullptr, 4711, nullptr, 0), -1);
    EXPECT_EQ(UTLSetupCp2CpTable(&table, set_, 9999, wd, 1004, w1, 0), 0);
    EXPECT_STREQ(wd, "WD");  // trimmed in place
    EXPECT_EQ(UTLSetupCp2CpTable(&table, set_, 9999, lower, 1004, nullptr, 0), -1);
}

TEST_F(Translate, LibraryTableAndStrings) {
    // Before any set-up the library's own table translates nothing.
    char out[8] = "xxxxxxx";
    EXPECT_EQ(UTLCpTranslateChar(nullptr, 65), 0xFFFF);
    EXPECT_EQ(UTLCpTranslateString(nullptr, out, "abc", sizeof out), -1);
    EXPECT_EQ(out[0], '\0');

    ASSERT_EQ(UTLSetupCp2CpTable(nullptr, set_, 1004, nullptr, 9999, nullptr, 0xFFFFFFFFu), 0);
    std::strcpy(out, "xxxxxxx");
    EXPECT_EQ(UTLCpTranslateString(nullptr, out, "abcdef", 4), 0);
    EXPECT_STREQ(out, "abc");
    EXPECT_EQ(out[4], 'x');  // nothing written past the size

    UTLCp2CpTable table;
    ASSERT_EQ(UTLSetupCp2CpTable(&table, set_, 1004, nullptr, 9999, nullptr, 0x1234), 0);
    EXPECT_EQ(UTLCpTranslateChar(&table, 'A'), 0x1234);
    EXPECT_EQ(UTLCpTranslateString(&table, out, " A ", sizeof out), 0x1234);
    EXPECT_STREQ(out, " ");  // what was translated before the stop
}

}  // namespace
