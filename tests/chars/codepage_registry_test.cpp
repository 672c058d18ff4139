// Code page sets: filled from a configuration of the caller's own, the
// shared, counted load, the built-in set the registry loads when no code
// page file can be read, and the code page file written and read back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chars/codepage_fixture.h"
#include "cmnw32/cfg.h"
#include "cmnw32/codepage.h"

using cmnw::testing::Dump;
using cmnw::testing::ScratchDir;
using cmnw::testing::Walk;

namespace {

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
    void TearDown() override {
        if (set_ != nullptr) {
            EXPECT_EQ(UTLDestroyCodePage(set_), UTL_CP_OK);
        }
    }

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
                                      "SOLO,name,alias,9", "LONGIDENT,long, ,4"};
    // 104 more characters sharing one identifier, of which only the hundredth
    // and the hundred-and-first have a byte; 101 more where only the last has.
    for (int i = 0; i < 104; ++i)
        chars.push_back("MANY,m" + std::to_string(i) + ", ," + (i == 99 ? "11" : i == 100 ? "12" : "0"));
    for (int i = 0; i < 101; ++i) chars.push_back("MORE,o, ," + std::string(i == 100 ? "13" : "0"));
    Fill({"1,P"}, chars);
    ASSERT_EQ(UTLSetDefCodePage(set_, 1, nullptr), UTL_CP_OK);
    EXPECT_EQ(UTLLocateCharByName(set_, "DUP", nullptr, nullptr), 7);
    EXPECT_EQ(UTLLocateCharByName(set_, "MANY", nullptr, nullptr), 11);
    EXPECT_EQ(UTLLocateCharByName(set_, "MORE", nullptr, nullptr), 0);
    EXPECT_EQ(UTLLocateCharByName(set_, "LONGIDENTIFIER", nullptr, nullptr), 4);  // cut to 9
    EXPECT_EQ(UTLLocateCharByName(set_, "", nullptr, nullptr), 0);
    EXPECT_EQ(UTLLocateCharByName(set_, " SOLO", nullptr, nullptr), 0);
    EXPECT_EQ(UTLLocateCharByName(set_, "none", "name", nullptr), 9);
    EXPECT_EQ(UTLLocateCharByName(set_, "none", "none", "alias"), 9);
    EXPECT_EQ(UTLLocateCharByName(set_, nullptr, "  ", "alias"), 9);
    EXPECT_EQ(UTLLocateCharByName(set_, nullptr, "m101", nullptr), 0);
    EXPECT_EQ(UTLLocateCharByName(set_, nullptr, nullptr, nullptr), 0);
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
    EXPECT_EQ(UTLLocateCharByName(set_, "A", nullptr, nullptr), UTL_CP_FAIL);
    EXPECT_EQ(UTLLocateNameByChar(set_, 1, id, nullptr, nullptr), UTL_CP_FAIL);
    char a[] = "A";
    EXPECT_EQ(UTLSetDefCodePage(set_, 2, a), UTL_CP_FAIL);  // id and short name must both match
    EXPECT_EQ(Walk(set_, {2}).size(), 3u);
    EXPECT_EQ(UTLGetNextCodePageChar(set_, &byte, nullptr, nullptr, nullptr), UTL_CP_FAIL);
    EXPECT_EQ(byte, 0xEE);
}

TEST_F(OwnSet, KeepsAtMost1025Characters) {
    std::vector<std::string> chars;
    for (int i = 0; i < 1100; ++i) chars.push_back("C" + std::to_string(i) + ",n, ,1");
    Fill({"1,A"}, chars);
    EXPECT_EQ(Walk(set_, {1}).size(), 1025u);
    EXPECT_EQ(UTLLocateCharByName(set_, "C1024", nullptr, nullptr), 1);
    EXPECT_EQ(UTLLocateCharByName(set_, "C1025", nullptr, nullptr), 0);
}

TEST(CodePageHandles, NullAndUnknownSetsAreRefused) {
    int notASet = 0;
    char name[UTL_CP_NAME_SIZE];
    uint16_t index = 0;
    uint8_t byte;
    for (UTLCPSET bad : {static_cast<UTLCPSET>(nullptr), reinterpret_cast<UTLCPSET>(&notASet)}) {
        EXPECT_EQ(UTLDestroyCodePage(bad), UTL_CP_FAIL);
        EXPECT_EQ(UTLLoadCodePages(bad), UTL_CP_FAIL);
        EXPECT_EQ(UTLUnloadCodePages(bad), UTL_CP_FAIL);
        EXPECT_EQ(UTLSetDefCodePage(bad, 1004, nullptr), UTL_CP_FAIL);
        EXPECT_EQ(UTLCodePageCount(bad), 0);
        EXPECT_EQ(UTLGetIndexCodePageChar(bad, &index, &byte, nullptr, name, nullptr), UTL_CP_FAIL);
        EXPECT_EQ(UTLGetFirstCodePageChar(bad, &byte, nullptr, name, nullptr), UTL_CP_FAIL);
        EXPECT_EQ(UTLLocateCharByName(bad, "SP010000", nullptr, nullptr), UTL_CP_FAIL);
        EXPECT_EQ(UTLLocateNameByChar(bad, 32, nullptr, name, nullptr), UTL_CP_FAIL);
    }
    UTLCPSET set = UTLCreateCodePage();
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(UTLCodePageCount(set), 0);
    EXPECT_EQ(UTLDestroyCodePage(set), UTL_CP_OK);
    EXPECT_EQ(UTLDestroyCodePage(set), UTL_CP_FAIL);  // gone
}

TEST(CodePageSharedLoad, LoadsOnceAndFreesWithTheLastRelease) {
    ScratchDir scratch;
    scratch.UseConfig();
    UTLCPSET first = UTLLoadCodePage();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(UTLLoadCodePage(), first);
    EXPECT_EQ(UTLDestroyCodePage(first), UTL_CP_OK);
    EXPECT_EQ(UTLCodePageCount(first), 3);  // still held
    EXPECT_EQ(UTLDestroyCodePage(first), UTL_CP_OK);
    EXPECT_EQ(UTLCodePageCount(first), 0);  // freed
    EXPECT_EQ(UTLSetDefCodePage(first, 1004, nullptr), UTL_CP_FAIL);
    // A set of the caller's own released without any load leaves the count
    // at zero: the next load builds a fresh set again.
    ASSERT_EQ(UTLDestroyCodePage(UTLCreateCodePage()), UTL_CP_OK);
    UTLCPSET again = UTLLoadCodePage();
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(UTLCodePageCount(again), 3);
    EXPECT_EQ(UTLDestroyCodePage(again), UTL_CP_OK);
}

uint64_t Fnv1a(const std::string &text) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (unsigned char c : text) h = (h ^ c) * 0x100000001b3ull;
    return h;
}

// The built-in set: every row in a digest, then written to the code page
// file by the unload and read back the same.
TEST(CodePageBuiltIn, HoldsEveryRowAndReadsBackWhatItWrites) {
    ScratchDir scratch;
    scratch.UseConfig();  // points at an empty directory: no code page file
    UTLCPSET builtIn = UTLLoadCodePage();
    ASSERT_NE(builtIn, nullptr);
    ASSERT_EQ(UTLCodePageCount(builtIn), 3);
    const std::string before = Dump(builtIn, {1004, 9999, 9998});
    EXPECT_EQ(std::count(before.begin(), before.end(), '\n'), 742);
    EXPECT_EQ(Fnv1a(before), 0x5cbec0f1f9442382ull);
    CFGHANDLE inForce = CFGCurrent();
    ASSERT_EQ(UTLUnloadCodePage(builtIn), UTL_CP_OK);
    EXPECT_EQ(CFGCurrent(), inForce);
    EXPECT_EQ(UTLCodePageCount(builtIn), 3);  // still loaded
    ASSERT_EQ(UTLDestroyCodePage(builtIn), UTL_CP_OK);
    const std::string text = scratch.Read("codepage.ini");
    EXPECT_NE(text.find("CodePage=1004,W1\n"), std::string::npos);
    EXPECT_NE(text.find("Char=SP010000,space, ,32,32,32\n"), std::string::npos);
    UTLCPSET fromFile = UTLLoadCodePage();
    ASSERT_NE(fromFile, nullptr);
    EXPECT_EQ(Dump(fromFile, {1004, 9999, 9998}), before);
    EXPECT_EQ(UTLDestroyCodePage(fromFile), UTL_CP_OK);
}

// Lookups in the built-in pages; their rules are checked on the small sets
// above.
TEST(CodePageBuiltIn, LookupsByNameByteAndIndexInEachPage) {
    ScratchDir scratch;
    scratch.UseConfig();
    UTLCPSET set = UTLLoadCodePage();
    ASSERT_EQ(UTLSetDefCodePage(set, 1004, nullptr), UTL_CP_OK);
    EXPECT_EQ(UTLLocateCharByName(set, "SP320000", nullptr, nullptr), 173);
    EXPECT_EQ(UTLLocateCharByName(set, nullptr, "Zcaron", nullptr), 142);
    char id[UTL_CP_IDENT_SIZE], name[UTL_CP_NAME_SIZE], alias[UTL_CP_NAME_SIZE] = "x";
    EXPECT_EQ(UTLLocateNameByChar(set, 45 + 256, id, name, alias), UTL_CP_OK);  // a byte value
    EXPECT_EQ(std::string(id) + "," + name + "," + alias, "SP100000,hyphen,");
    EXPECT_EQ(UTLLocateNameByChar(set, 0x81, id, nullptr, nullptr), UTL_CP_FAIL);
    EXPECT_EQ(UTLLocateNameByChar(set, 32, nullptr, nullptr, nullptr), UTL_CP_FAIL);
    ASSERT_EQ(UTLSetDefCodePage(set, 9999, nullptr), UTL_CP_OK);
    uint16_t index = 298;
    uint8_t byte = 0;
    EXPECT_EQ(UTLGetIndexCodePageChar(set, &index, &byte, nullptr, name, nullptr), UTL_CP_OK);
    EXPECT_EQ(byte, 33);
    EXPECT_STREQ(name, "pencil");
    index = 742;
    EXPECT_EQ(UTLGetIndexCodePageChar(set, &index, &byte, id, name, alias), UTL_CP_FAIL);
    EXPECT_EQ(UTLGetIndexCodePageChar(set, nullptr, &byte, id, name, alias), UTL_CP_FAIL);
    // "pencil" is the first "????????" row with a byte in 9999; in 9998 none
    // of the first hundred has one, and the name finds the glyph.
    EXPECT_EQ(UTLLocateCharByName(set, "????????", nullptr, nullptr), 33);
    ASSERT_EQ(UTLSetDefCodePage(set, 9998, nullptr), UTL_CP_OK);
    EXPECT_EQ(UTLLocateCharByName(set, "????????", nullptr, nullptr), 0);
    EXPECT_EQ(UTLLocateCharByName(set, "????????", "uniF0FF", nullptr), 255);
    EXPECT_EQ(UTLDestroyCodePage(set), UTL_CP_OK);
}

TEST(CodePageFile, ReadsTheFileNamedByTheConfiguration) {
    ScratchDir scratch;
    scratch.UseIni("[KTRes]\nDefLib=" + scratch.path() + "\nCodepage=mine.ini\n");
    scratch.Write("mine.ini",
                  "[CodePages]\nCodePage=5,AA\nCodePage=6,BB\n"
                  "[CodePage]\nChar=ID1,one,uno,10,20\nChar=ID2,two, ,11\n"
                  "Char=ID3,,,three,12,22\n");
    UTLCPSET set = UTLLoadCodePage();
    ASSERT_NE(set, nullptr);
    ASSERT_EQ(UTLCodePageCount(set), 2);
    char bb[] = "BB";
    ASSERT_EQ(UTLSetDefCodePage(set, 6, bb), UTL_CP_OK);
    // No second byte for ID2; the empty fields of ID3 were skipped.
    const std::string want = "ID1,one,uno,10,20\nID2,two,,11,0\nID3,three,12,22,0\n";
    EXPECT_EQ(Dump(set, {5, 6}), want);
    EXPECT_EQ(UTLLocateCharByName(set, nullptr, nullptr, "uno"), 20);
    // Written back, blank aliases keep their place.
    ASSERT_EQ(UTLUnloadCodePage(set), UTL_CP_OK);
    EXPECT_EQ(UTLDestroyCodePage(set), UTL_CP_OK);
    EXPECT_NE(scratch.Read("mine.ini").find("Char=ID2,two, ,11,0\n"), std::string::npos);
    set = UTLLoadCodePage();
    EXPECT_EQ(Dump(set, {5, 6}), want);
    EXPECT_EQ(UTLDestroyCodePage(set), UTL_CP_OK);
}

}  // namespace
