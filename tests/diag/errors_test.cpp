#include "cmnw32/errors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cmnw32/trace.h"
#include "common/test_support.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::GetCapturedStderr;

const char *ReplaceSome(int32_t n) {
    return n == 19 ? "nineteen" : n == 500 ? "five hundred" : n == 1 ? "one" : nullptr;
}

// Numbers 1 to 77 but 19 have texts of their own, any other the fallback; a
// replacer comes first, and a null from it keeps the table.
TEST(ErrorMsg, ListedNumbersHaveTextsAndAReplacerComesFirst) {
    for (int32_t n : {19, 0, -1, 78, INT32_MIN, INT32_MAX}) EXPECT_STREQ(UTLErrorMsg(n), "Unknown QRM error") << n;
    for (int32_t n = 1; n <= 77; ++n)
        EXPECT_TRUE(n == 19 || std::strcmp(UTLErrorMsg(n), "Unknown QRM error") != 0) << n;
    EXPECT_EQ(UTLSetMsgReplace(&ReplaceSome), nullptr);
    EXPECT_EQ(std::string(UTLErrorMsg(19)) + "|" + UTLErrorMsg(500) + "|" + UTLErrorMsg(1) + "|" + UTLErrorMsg(2),
              "nineteen|five hundred|one|Invalid object handle was passed");
    EXPECT_EQ(UTLSetMsgReplace(nullptr), &ReplaceSome);
    EXPECT_STREQ(UTLErrorMsg(1), "Wrong object type for requested operation");
}

TEST(PlatformError, DefaultNotifyPrintsFrameAndTraces) {
    cmnw::test::TempDir dir(true);
    testing::internal::CaptureStdout();
    CaptureStderr();
    EXPECT_EQ(UTLPlatformError("X", 5, 0, nullptr), 65535);
    EXPECT_EQ(UTLPlatformInfo("mod", "hello"), 65535);
    EXPECT_EQ(UTLPlatformInfo("mod", nullptr), 1);
    UTLPlatformError("W", -3, 4000000000u, "m");  // 32-bit values
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");  // a program's data output stays clean
    const std::string frame = "*********************************\n";
    EXPECT_EQ(GetCapturedStderr(), frame + "* UTLDefErrorExit\n* X <5> <0> No objects available for requested operation\n" +
                                       frame + "\nInformational in mod: hello\n" + frame +
                                       "* UTLDefErrorExit\n* W <-3> <4000000000> m\n" + frame);
    const std::string trace = cmnw::test::ReadFile(dir.File("trace"));
    EXPECT_NE(trace.find("pid="), std::string::npos);
    EXPECT_NE(trace.find("* UTLDefErrorExit * X <5> <0> No objects available for requested operation\n\n"),
              std::string::npos) << trace;
    EXPECT_NE(trace.find("* UTLDefInfoNotify * mod: hello\n"), std::string::npos) << trace;
}

std::string last;
int32_t Recorder(const char *where, int32_t number, uint32_t detail, const char *message) {
    last = std::string(where) + " " + std::to_string(number) + " " + std::to_string(detail) + " " + message;
    return 42;
}
int32_t InfoRecorder(const char *where, const char *message) {
    last = std::string(where) + message;
    return 3;
}

TEST(PlatformError, NotifySettersSilenceAndRestore) {
    cmnw::test::TempDir dir(true);
    UTLErrorNotifyFunc def = UTLSetErrorNotify(&Recorder);
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(UTLPlatformError("here", 7, 9, nullptr), 42);
    EXPECT_EQ(last, "here 7 9 Failure to bind to an object by name");
    EXPECT_EQ(UTLSetErrorNotify(nullptr), &Recorder);
    CaptureStderr();
    EXPECT_EQ(UTLPlatformError("here", 7, 0, "ignored"), 7);
    UTLSetErrorNotify(&UTLKVRErrorNotify);
    EXPECT_EQ(UTLPlatformError("here", 7, 0, "ignored"), 0);
    EXPECT_EQ(GetCapturedStderr(), "");
    EXPECT_EQ(UTLResetErrorNotify(), def);
    CaptureStderr();
    EXPECT_EQ(UTLPlatformError("again", 1, 0, "text"), 65535);
    EXPECT_NE(GetCapturedStderr().find("* again <1> <0> text"), std::string::npos);

    UTLInfoNotifyFunc defInfo = UTLSetInfoNotify(&InfoRecorder);
    EXPECT_EQ(UTLPlatformInfo("w", "m"), 3);
    EXPECT_EQ(last, "wm");
    EXPECT_EQ(UTLSetInfoNotify(nullptr), &InfoRecorder);
    EXPECT_EQ(UTLPlatformInfo("w", "m"), 1);
    EXPECT_EQ(UTLResetInfoNotify(), defInfo);
}

TEST(LibVersion, StaticRecord) {
    const UTLVersionRec *v = UTLLibVersion();
    ASSERT_EQ(v, UTLLibVersion());
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&v->stamp), 4) + v->version, "\x10\x20\x11\x40" "400.112.010");
    // Build date and time as "Mmm dd yyyy" and "hh:mm:ss".
    ASSERT_EQ(std::strlen(v->date) * 100 + std::strlen(v->time), 1108u);
    EXPECT_EQ(std::string() + v->date[3] + v->date[6] + v->time[2] + v->time[5], "  ::");
}

}  // namespace
