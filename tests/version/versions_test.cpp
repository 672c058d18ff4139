#include <gtest/gtest.h>
#include <sys/stat.h>
#include <zlib.h>

#include <string>
#include <vector>

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
        EXPECT_EQ(o.mainPatch, 0);
        EXPECT_EQ(o.thirdParty, 0);
        EXPECT_EQ(o.crc, 0xFFFFFFFFul);
        EXPECT_STREQ(o.release, "");
        EXPECT_EQ(o.printed, "");
    }
    long m = 0;
    EXPECT_EQ(UTLGetVersions(nullptr, &m, &m, nullptr, nullptr, 0, nullptr, 0, 0), 0);
}

}  // namespace
