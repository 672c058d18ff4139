#include "cmnw32/errors.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cmnw32/trace.h"
#include "common/test_support.h"

namespace {

using testing::internal::CaptureStderr;
using testing::internal::CaptureStdout;
using testing::internal::GetCapturedStderr;
using testing::internal::GetCapturedStdout;

// Numbers 1 to 77 but 19 have texts of their own; any other number the fallback.
TEST(ErrorMsg, ListedNumbersHaveTextsOthersTheFallback) {
    for (int32_t n : {19, 0, -1, 78, INT32_MIN, INT32_MAX}) {
        EXPECT_STREQ(UTLErrorMsg(n), "Unknown QRM error") << n;
    }
    for (int32_t n = 1; n <= 77; ++n) {
        if (n != 19) {
            EXPECT_STRNE(UTLErrorMsg(n), "Unknown QRM error") << n;
        }
    }
}

const char *ReplaceSome(int32_t n) {
    if (n == 19) return "nineteen";
    if (n == 500) return "five hundred";
    if (n == 1) return "one";
    return nullptr;
}

TEST(ErrorMsg, ReplacerComesFirstAndNullKeepsTheTable) {
    EXPECT_EQ(UTLSetMsgReplace(&ReplaceSome), nullptr);
    EXPECT_STREQ(UTLErrorMsg(19), "nineteen");
    EXPECT_STREQ(UTLErrorMsg(500), "five hundred");
    EXPECT_STREQ(UTLErrorMsg(1), "one");
    EXPECT_STREQ(UTLErrorMsg(2), "Invalid object handle was passed");
    EXPECT_EQ(UTLSetMsgReplace(nullptr), &ReplaceSome);
    EXPECT_STREQ(UTLErrorMsg(1), "Wrong object type for requested operation");
}

TEST(PlatformError, DefaultNotifyPrintsFrameAndTraces) {
    cmnw::test::TempDir dir(true);
    CaptureStdout();
    CaptureStderr();
    EXPECT_EQ(UTLPlatformError("X", 5, 0, nullptr), 65535);
    EXPECT_EQ(UTLPlatformInfo("mod", "hello"), 65535);
    EXPECT_EQ(GetCapturedStdout(), "");  // a program's data output stays clean
    EXPECT_EQ(GetCapturedStderr(),
              "*********************************\n"
              "* UTLDefErrorExit\n"
              "* X <5> <0> No objects available for requested operation\n"
              "*********************************\n"
              "\nInformational in mod: hello\n");
    std::string trace = cmnw::test::ReadFile(dir.File("trace"));
    EXPECT_NE(trace.find("pid="), std::string::npos);
    EXPECT_NE(trace.find("* UTLDefErrorExit * X <5> <0> No objects available for requested "
                         "operation\n\n"),
              std::string::npos)
        << trace;
}

TEST(PlatformError, NegativeNumbersAndLargeDetailPrintAs32BitValues) {
    cmnw::test::TempDir dir(true);
    CaptureStderr();
    UTLPlatformError("W", -3, 4000000000u, "m");
    EXPECT_NE(GetCapturedStderr().find("* W <-3> <4000000000> m\n"), std::string::npos);
}

int32_t lastNumber;
uint32_t lastDetail;
std::string lastWhere, lastMessage;
int32_t Recorder(const char *where, int32_t number, uint32_t detail, const char *message) {
    lastWhere = where;
    lastNumber = number;
    lastDetail = detail;
    lastMessage = message;
    return 42;
}

TEST(PlatformError, NotifySettersSilenceAndRestore) {
    cmnw::test::TempDir dir(true);
    UTLErrorNotifyFunc def = UTLSetErrorNotify(&Recorder);
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(UTLPlatformError("here", 7, 9, nullptr), 42);
    EXPECT_EQ(lastWhere + " " + std::to_string(lastNumber) + " " + std::to_string(lastDetail) +
                  " " + lastMessage,
              "here 7 9 Failure to bind to an object by name");

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
}

std::string infoWhere, infoMessage;
int32_t InfoRecorder(const char *where, const char *message) {
    infoWhere = where;
    infoMessage = message;
    return 3;
}

TEST(PlatformInfo, DefaultNullAndCustom) {
    cmnw::test::TempDir dir(true);
    CaptureStderr();
    EXPECT_EQ(UTLPlatformInfo("mod", "hello"), 65535);
    EXPECT_EQ(UTLPlatformInfo("mod", nullptr), 1);
    EXPECT_EQ(GetCapturedStderr(), "\nInformational in mod: hello\n");
    EXPECT_NE(cmnw::test::ReadFile(dir.File("trace")).find("* UTLDefInfoNotify * mod: hello\n"),
              std::string::npos);

    UTLInfoNotifyFunc def = UTLSetInfoNotify(&InfoRecorder);
    EXPECT_EQ(UTLPlatformInfo("w", "m"), 3);
    EXPECT_EQ(infoWhere + infoMessage, "wm");
    EXPECT_EQ(UTLSetInfoNotify(nullptr), &InfoRecorder);
    EXPECT_EQ(UTLPlatformInfo("w", "m"), 1);
    EXPECT_EQ(UTLResetInfoNotify(), def);
}

TEST(LibVersion, StaticRecord) {
    const UTLVersionRec *v = UTLLibVersion();
    ASSERT_EQ(v, UTLLibVersion());
    EXPECT_EQ(v->stamp, 0x40112010u);
    const unsigned char *bytes = reinterpret_cast<const unsigned char *>(&v->stamp);
    EXPECT_EQ(bytes[0], 0x10);
    EXPECT_EQ(bytes[3], 0x40);
    EXPECT_STREQ(v->version, "400.112.010");
    // Build date and time as "Mmm dd yyyy" and "hh:mm:ss".
    ASSERT_EQ(std::strlen(v->date) * 100 + std::strlen(v->time), 1108u);
    EXPECT_EQ(std::string() + v->date[3] + v->date[6] + v->time[2] + v->time[5], "  ::");
}

}  // namespace
