#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>
#include <sys/stat.h>
#include <vector>
#include <zlib.h>

#include "cmnw32/version.h"
#include "common/test_support.h"

namespace {

using cmnw::test::TempDir;

std::string Patch(const std::string &word, const std::string &id) {
    return "@@" + word + " PATCH 11.2:" + id +
           ":PCR 1:400.112:..\\C\\unit:May 24 2007:15:54:00:" + std::string(1, '\0');
}

// The running CRC of the library (no inversion) over the concatenated texts,
// from zlib's standard CRC-32.
unsigned long RunningCrc(const std::vector<std::string> &files) {
    std::string all;
    for (const std::string &f : files) all += f;
    uLong standard =
        crc32(0L, reinterpret_cast<const Bytef *>(all.data()), static_cast<uInt>(all.size()));
    return ~standard & 0xFFFFFFFFul;
}

struct Outcome {
    long mainPatch = 0;
    long thirdParty = 0;
    unsigned long crc = 0xFFFFFFFFul;
    char release[16] = "stale";
    std::string printed;
};

Outcome Report(const std::string &dir, std::vector<std::string> exclude = {}, int verbose = 0) {
    Outcome o;
    std::vector<char *> ex;
    for (std::string &e : exclude) ex.push_back(e.data());
    ::testing::internal::CaptureStdout();
    EXPECT_EQ(UTLGetVersions(dir.c_str(), &o.mainPatch, &o.thirdParty, &o.crc, o.release,
                             sizeof o.release, ex.data(), static_cast<int>(ex.size()), verbose),
              0);
    o.printed = ::testing::internal::GetCapturedStdout();
    return o;
}

TEST(Versions, ReportsPatchLevelsReleaseAndCrcOfUnpatchedFiles) {
    TempDir dir;
    const std::string a = "head" + Patch("QVS", "P03") + Patch("QVS", "UP9") + "tail";
    const std::string b = Patch("QVS", "P02");                        // not above 3: into the CRC
    const std::string c = "plain text without records\n";             // into the CRC
    const std::string d = Patch("3RD", "P07") + Patch("3RD", "P05");  // 3RD only: into the CRC
    const std::string e = Patch("QVS", "P09") + Patch("3RD", "P12");  // excluded
    dir.Write("a.dll", a);
    dir.Write("b.dll", b);
    dir.Write("c.txt", c);
    dir.Write("d.dll", d);
    dir.Write("Old-e.dll", e);  // sorts first
    ASSERT_EQ(mkdir(dir.File("sub").c_str(), 0700), 0);

    Outcome o = Report(dir.path(), {"old-"}, 1);
    EXPECT_EQ(o.mainPatch, 3);
    EXPECT_EQ(o.thirdParty, 7);
    EXPECT_STREQ(o.release, "11.2");
    EXPECT_EQ(o.crc, RunningCrc({b, c, d}));
    char crcB[16], crcC[16], crcD[16];
    std::snprintf(crcB, sizeof crcB, "%lx", RunningCrc({b}));
    std::snprintf(crcC, sizeof crcC, "%lx", RunningCrc({b, c}));
    std::snprintf(crcD, sizeof crcD, "%lx", RunningCrc({b, c, d}));
    EXPECT_EQ(o.printed, std::string("filename=(a) qvspatch=3 3rdparty=0\n") +
                             "filename=(b) crc=" + crcB + "\nfilename=(c) crc=" + crcC +
                             "\nfilename=(d) crc=" + crcD + "\n");

    // Nothing excluded, running values from earlier directories, quiet.
    Outcome all;
    all.mainPatch = 2;
    all.thirdParty = 20;
    std::vector<char *> none;
    ::testing::internal::CaptureStdout();
    UTLGetVersions(dir.path().c_str(), &all.mainPatch, &all.thirdParty, &all.crc, all.release, 3,
                   none.data(), 0, 0);
    EXPECT_EQ(::testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(all.mainPatch, 9);  // from Old-e.dll, which comes first
    EXPECT_EQ(all.thirdParty, 20);
    EXPECT_STREQ(all.release, "11");               // cut to the buffer
    EXPECT_EQ(all.crc, RunningCrc({a, b, c, d}));  // a no longer raises the maximum
}

TEST(Versions, EmptyOrMissingDirectoryChangesNothing) {
    TempDir dir;
    for (const std::string &path : {dir.path(), dir.File("missing")}) {
        Outcome o = Report(path, {}, 1);
        EXPECT_EQ(o.mainPatch * 10 + o.thirdParty, 0);
        EXPECT_EQ(o.crc, 0xFFFFFFFFul);
        EXPECT_EQ(o.release + o.printed, "");
    }
    long m = 0;
    EXPECT_EQ(UTLGetVersions(nullptr, &m, &m, nullptr, nullptr, 0, nullptr, 0, 0), 0);
}

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
