// Writing a code page set to the code page file and reading it back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "chars/codepage_fixture.h"
#include "cmnw32/cfg.h"
#include "cmnw32/codepage.h"

using cmnw::testing::ScratchDir;
using cmnw::testing::WalkAll;
using cmnw::testing::WalkedChar;

namespace {

struct Snapshot {
    std::vector<int32_t> ids;
    std::vector<std::vector<WalkedChar>> pages;  // characters per code page
};

Snapshot Take(UTLCPSET set, const std::vector<int32_t> &ids) {
    Snapshot snap{ids, {}};
    for (int32_t id : ids) {
        EXPECT_EQ(UTLSetDefCodePage(set, id, nullptr), UTL_CP_OK) << id;
        snap.pages.push_back(WalkAll(set));
    }
    return snap;
}

void ExpectSame(const Snapshot &a, const Snapshot &b) {
    ASSERT_EQ(a.pages.size(), b.pages.size());
    for (size_t p = 0; p < a.pages.size(); ++p) {
        ASSERT_EQ(a.pages[p].size(), b.pages[p].size()) << p;
        for (size_t k = 0; k < a.pages[p].size(); ++k) {
            const WalkedChar &x = a.pages[p][k], &y = b.pages[p][k];
            EXPECT_TRUE(x.byte == y.byte && x.identifier == y.identifier && x.name == y.name &&
                        x.alias == y.alias)
                << "page " << p << " char " << k << ": " << x.identifier << "/" << y.identifier;
        }
    }
}

TEST(CodePageFile, BuiltInSetWrittenAndReadBackIsTheSame) {
    ScratchDir scratch;
    scratch.UseConfig();
    UTLCPSET builtIn = UTLLoadCodePage();
    ASSERT_NE(builtIn, nullptr);
    const Snapshot before = Take(builtIn, {1004, 9999, 9998});
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
    ExpectSame(before, Take(fromFile, {1004, 9999, 9998}));
    EXPECT_EQ(UTLDestroyCodePage(fromFile), UTL_CP_OK);
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
    const std::vector<WalkedChar> chars = WalkAll(set);
    ASSERT_EQ(chars.size(), 3u);
    // No second byte for ID2; the empty fields of ID3 were skipped.
    EXPECT_EQ(chars[0].alias + " " + std::to_string(chars[0].byte) + " " +
                  std::to_string(chars[1].byte) + " " + chars[2].name + " " + chars[2].alias +
                  " " + std::to_string(chars[2].byte),
              "uno 20 0 three 12 0");
    EXPECT_EQ(UTLLocateCharByName(set, nullptr, nullptr, "uno"), 20);

    // Written back, blank aliases keep their place.
    ASSERT_EQ(UTLUnloadCodePage(set), UTL_CP_OK);
    EXPECT_EQ(UTLDestroyCodePage(set), UTL_CP_OK);
    const std::string text = scratch.Read("mine.ini");
    EXPECT_NE(text.find("Char=ID2,two, ,11,0\n"), std::string::npos) << text;
    set = UTLLoadCodePage();
    ASSERT_EQ(UTLSetDefCodePage(set, 5, nullptr), UTL_CP_OK);
    EXPECT_EQ(WalkAll(set)[1].byte, 11);
    EXPECT_EQ(UTLDestroyCodePage(set), UTL_CP_OK);
}

}  // namespace
