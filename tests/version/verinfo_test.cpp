#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "cmnw32/version.h"
#include "common/test_support.h"

namespace {

const std::string kFixtures = CMNW_TEST_SOURCE_DIR "/tests/fixtures/version/";

std::string ModificationTime(const std::string &path) {
    struct stat st;
    if (stat(path.c_str(), &st) != 0) return "?";
    std::string text = std::ctime(&st.st_mtime);
    return text.substr(0, text.find('\n'));
}

bool AllEmpty(const UTLVerInfo &info) {
    for (const char *f : {info.fileName, info.fileVersion, info.companyName, info.description,
                          info.internalName, info.legalCopyright, info.originalFilename,
                          info.productName, info.productVersion, info.fileTime})
        if (f[0] != '\0') return false;
    return true;
}

TEST(VerInfo, RecordOfAModuleWithAVersionResource) {
    const std::string path = kFixtures + "verinfo.dll";
    const UTLVerInfo info = UTLGetVerInfo(path.c_str());
    static_assert(sizeof info == 10240);
    EXPECT_STREQ(info.fileName, "verinfo.dll");
    EXPECT_STREQ(info.fileVersion, "11.2.0.222");
    EXPECT_STREQ(info.companyName, "Example Composition Works");
    EXPECT_STREQ(info.description, "Common utilities");
    EXPECT_STREQ(info.internalName, "cmnw32");
    EXPECT_STREQ(info.legalCopyright, "Copyright 2007");  // cut at the line end
    EXPECT_STREQ(info.originalFilename, "verinfo.dll");
    EXPECT_STREQ(info.productName, "Document Composer \xe9t\xe9");
    EXPECT_STREQ(info.productVersion, "11.2");
    EXPECT_EQ(info.fileTime, ModificationTime(path));
    // The suite's path form reaches the same file.
    EXPECT_STREQ(UTLGetVerInfo(("C:" + kFixtures + "verinfo.dll").c_str()).companyName,
                 "Example Composition Works");
}

// Of a resource in several languages, US English is read (not the first,
// Greek); texts come in code page 1252, "?" for a character it lacks.
TEST(VerInfo, SeveralLanguagesGiveUsEnglishInCodePage1252) {
    const UTLVerInfo info = UTLGetVerInfo((kFixtures + "multilang.dll").c_str());
    EXPECT_STREQ(info.fileVersion, "2.0.0.9");
    EXPECT_STREQ(info.companyName, "Example Composition Works");
    EXPECT_STREQ(info.productName, "Euro \x80 Trade\x99 caf\xe9 ? ? end");
    EXPECT_STREQ(info.productVersion, "2.0");
}

TEST(VerInfo, FilesWithoutAResourceGiveEmptyRecords) {
    cmnw::test::TempDir dir;
    for (const std::string &path :
         {kFixtures + "noversion.dll", std::string(CMNW_TEST_BINARY_DIR "/libcmnw32.so"),
          dir.Write("notes.txt", "plain text\n"), dir.Write("mz.exe", "MZ and nothing more"),
          dir.File("missing.dll")})
        EXPECT_TRUE(AllEmpty(UTLGetVerInfo(path.c_str()))) << path;
    EXPECT_TRUE(AllEmpty(UTLGetVerInfo(nullptr)));
}

// Without a translation entry the strings are read under code page 1252 and
// the language last read in the process: 0 in a fresh one.
TEST(VerInfo, MissingTranslationUsesTheLastLanguage) {
    const std::string neutral = kFixtures + "notrans.dll";
    const std::string english = kFixtures + "verinfo.dll";
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a fresh process
    EXPECT_EXIT(
        {
            UTLVerInfo first = UTLGetVerInfo(neutral.c_str());
            bool ok = std::string(first.companyName) == "Neutral Works" &&
                      std::string(first.productVersion) == "1.0" &&
                      std::string(first.fileVersion) == "1.0.0.3";
            UTLGetVerInfo(english.c_str());  // language 0x0409 from now on
            UTLVerInfo again = UTLGetVerInfo(neutral.c_str());
            ok = ok && again.companyName[0] == '\0' && std::string(again.fileName) == "notrans.dll";
            std::exit(ok ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
