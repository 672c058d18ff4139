#include "cmnw32/cfg.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "cmnw32/mem.h"
#include "companion/temp_dir.h"

namespace {

using cmnw::testing::TempDir;

std::string Get(const char *section, const char *key) {
    char buf[256] = "untouched";
    if (!CFGGetString(section, key, buf, sizeof buf)) return "<missing>";
    return buf;
}

std::vector<std::string> AllValues(const char *section, const char *key) {
    std::vector<std::string> out;
    char buf[256];
    for (CFGCURSOR c = CFGFirstValue(section, key, buf, sizeof buf); c != nullptr;
         c = CFGNextValue(c, section, key, buf, sizeof buf))
        out.push_back(buf);
    return out;
}

const char kSample[] =
    "; leading comment\r\n"
    "Top = outside any section\r\n"
    "[Data]\r\n"
    "  TraceFile =  trace.log  \r\n"
    "# another comment\r\n"
    "\r\n"
    "Char=a\r\n"
    "CHAR = b\r\n"
    "noequals line\r\n"
    "=novalue\r\n"
    "char=c\r\n"
    "[ debug_switches ]  trailing text\r\n"
    "Echo=Yes\r\n"
    "Empty=\r\n"
    "[DATA]\r\n"
    "Char=d\r\n";

TEST(CfgRead, SectionsKeysCommentsCaseAndRepeats) {
    TempDir dir;
    ASSERT_NE(CFGLoadINI(dir.Write("a.ini", kSample).c_str()), nullptr);
    EXPECT_EQ(Get("data", "tracefile"), "trace.log");
    EXPECT_EQ(Get("DATA", "TRACEFILE"), "trace.log");
    EXPECT_EQ(Get("", "top"), "outside any section");
    EXPECT_EQ(Get("Debug_Switches", "echo"), "Yes");
    EXPECT_EQ(Get("Debug_Switches", "Empty"), "");
    EXPECT_EQ(Get("Data", "noequals line"), "<missing>");
    EXPECT_EQ(Get("Data", "; leading comment"), "<missing>");
    EXPECT_EQ(Get("Nope", "Char"), "<missing>");
    EXPECT_EQ(AllValues("data", "char"), (std::vector<std::string>{"a", "b", "c", "d"}));
    EXPECT_TRUE(AllValues("data", "none").empty());
}

TEST(CfgRead, CutsToBufferAndLeavesBufferAloneWhenMissing) {
    TempDir dir;
    ASSERT_NE(CFGLoadINI(dir.Write("a.ini", "[S]\nK=abcdefgh\n").c_str()), nullptr);
    char buf[5] = "zzzz";
    EXPECT_EQ(CFGGetString("S", "K", buf, sizeof buf), 1);
    EXPECT_STREQ(buf, "abcd");
    char missing[4] = "xyz";
    EXPECT_EQ(CFGGetString("S", "Q", missing, sizeof missing), 0);
    EXPECT_STREQ(missing, "xyz");
    EXPECT_EQ(CFGGetString("S", "K", buf, 0), 0);
    EXPECT_EQ(CFGGetString(nullptr, "K", buf, sizeof buf), 0);
    CFGGetStringDef("S", "Q", buf, sizeof buf, "default");
    EXPECT_STREQ(buf, "defa");
    CFGGetStringDef("S", "Q", buf, sizeof buf, nullptr);
    EXPECT_STREQ(buf, "");
}

TEST(CfgRead, YesNoWordsAndIntegers) {
    TempDir dir;
    std::string text = "[S]\n";
    const char *yes[] = {"Yes", "yes", "Y", "y", "TRUE", "true", "On", "ON", "1"};
    const char *no[] = {"No", "NO", "n", "N", "False", "off", "OFF", "0"};
    int i = 0;
    for (const char *w : yes) text += "y" + std::to_string(i++) + "=" + w + "\n";
    i = 0;
    for (const char *w : no) text += "n" + std::to_string(i++) + "=" + w + "\n";
    text += "other=maybe\nnum= -42\nplus=+7\nbad=x1\nbig=99999999999999999999999\n";
    ASSERT_NE(CFGLoadINI(dir.Write("a.ini", text).c_str()), nullptr);
    for (i = 0; i < 9; ++i) {
        std::string key = "y" + std::to_string(i);
        EXPECT_NE(CFGGetYesNo("S", key.c_str()), 0) << key;
        EXPECT_EQ(CFGGetYesNoDef("S", key.c_str(), 0), 1) << key;
    }
    for (i = 0; i < 8; ++i) {
        std::string key = "n" + std::to_string(i);
        EXPECT_EQ(CFGGetYesNo("S", key.c_str()), 0) << key;
        EXPECT_EQ(CFGGetYesNoDef("S", key.c_str(), 1), 0) << key;
    }
    EXPECT_EQ(CFGGetYesNo("S", "other"), 0);
    EXPECT_EQ(CFGGetYesNoDef("S", "other", 7), 7);
    EXPECT_EQ(CFGGetYesNoDef("S", "missing", 5), 5);
    EXPECT_EQ(CFGGetInt("S", "num", 3), -42);
    EXPECT_EQ(CFGGetInt("S", "plus", 3), 7);
    EXPECT_EQ(CFGGetInt("S", "bad", 3), 3);
    EXPECT_EQ(CFGGetInt("S", "big", 3), 3);
    EXPECT_EQ(CFGGetInt("S", "missing", -1), -1);
}

TEST(CfgWrite, SetAddSaveReloadRoundTrip) {
    TempDir dir;
    ASSERT_NE(CFGCreate(), nullptr);
    EXPECT_EQ(CFGSetString("Data", "TraceFile", "t.log"), 1);
    EXPECT_EQ(CFGSetString("data", "tracefile", "u.log"), 1);
    EXPECT_EQ(CFGAddLine("CodePage", "Char", "x,1"), 1);
    EXPECT_EQ(CFGAddLine("CODEPAGE", "CHAR", "y,2"), 1);
    EXPECT_EQ(CFGSetString("Data", "bad=key", "v"), 0);
    EXPECT_EQ(CFGSetString("Data", "k", "two\nlines"), 0);
    std::string path = dir.File("out.ini");
    ASSERT_EQ(CFGSave(path.c_str()), 0);
    EXPECT_EQ(TempDir::Read(path), "[Data]\nTraceFile=u.log\n\n[CodePage]\nChar=x,1\nCHAR=y,2\n");
    CFGDiscard();
    EXPECT_EQ(CFGCurrent(), nullptr);
    ASSERT_NE(CFGLoadINI(path.c_str()), nullptr);
    EXPECT_EQ(Get("data", "tracefile"), "u.log");
    EXPECT_EQ(AllValues("codepage", "char"), (std::vector<std::string>{"x,1", "y,2"}));
}

TEST(CfgEnvironment, LoadedOnceAtFirstNeed) {
    TempDir dir;
    std::string path = dir.Write("env.ini", "[Data]\nTraceFile=env.log\n");
    setenv("CMNW32_INI", path.c_str(), 1);
    EXPECT_EQ(Get("Data", "TraceFile"), "env.log");
    CFGHANDLE first = CFGCurrent();
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(CFGCurrent(), first);
    MEMLIST files = CFGLoadedFiles();
    ASSERT_EQ(MEMCount(files), 1u);
    auto *entry = static_cast<CFGFileEntry *>(MEMItemData(MEMFirstItem(files)));
    EXPECT_STREQ(entry->fileName, path.c_str());
    EXPECT_EQ(entry->loaded, 1);
    CFGDiscard();
    EXPECT_EQ(CFGCurrent(), nullptr);
    EXPECT_EQ(Get("Data", "TraceFile"), "<missing>");
}

}  // namespace
