#include "cmnw32/trace.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <sstream>
#include <string>
#include <vector>

#include "cmnw32/cfg.h"
#include "cmnw32/errors.h"
#include "common/test_support.h"

namespace {

using cmnw::test::ReadFile;
using cmnw::test::TempDir;

std::vector<std::string> Lines(const std::string &text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// Points the configuration at an INI file with the given text.
void UseIni(const TempDir &dir, const std::string &text) {
    setenv("CMNW32_INI", dir.Write("test.ini", text).c_str(), 1);
}

// Splits a prefixed trace line "%4u. Www Mmm dd hh:mm:ss.mmm yyyy pid=%08d msg"
// into its number (four columns) and message; false when the prefix is off.
bool SplitPrefixed(const std::string &line, std::string *number, std::string *message) {
    static const char kShape[] = "####. AAA AAA 99 99:99:99.999 9999 pid=99999999 ";
    static const std::string kDays = "SunMonTueWedThuFriSat";
    static const std::string kMonths = "JanFebMarAprMayJunJulAugSepOctNovDec";
    const size_t len = sizeof kShape - 1;
    if (line.size() < len) return false;
    for (size_t i = 0; i < len; ++i) {
        const char c = line[i], want = kShape[i];
        const bool digit = c >= '0' && c <= '9';
        if (want == '9' && !digit) return false;
        if (want == '#' && !digit && c != ' ') return false;
        if (want != '9' && want != '#' && want != 'A' && c != want) return false;
    }
    const std::string day = line.substr(6, 3), month = line.substr(10, 3);
    if (kDays.find(day) % 3 != 0 || kMonths.find(month) % 3 != 0) return false;
    if (number != nullptr) *number = line.substr(0, 4);
    if (message != nullptr) *message = line.substr(len);
    return true;
}

TEST(LogTrace, NumberedPrefixedLinesInTraceOfCurrentDirectory) {
    TempDir dir(true);
    unsetenv("CMNW32_INI");
    EXPECT_EQ(UTLLogTrace(nullptr), nullptr);  // nothing open: nothing happens
    FILE *stream = UTLLogTrace("first %d", 1);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(UTLLogTrace("second %s", "x"), stream);
    EXPECT_EQ(UTLLogTrace(nullptr), nullptr);  // closes
    EXPECT_NE(UTLLogTrace("third"), nullptr);  // reopens, numbering goes on
    auto lines = Lines(ReadFile(dir.File("trace")));
    ASSERT_EQ(lines.size(), 3u);
    const char *messages[] = {"first 1", "second x", "third"};
    for (size_t i = 0; i < 3; ++i) {
        std::string number, message;
        ASSERT_TRUE(SplitPrefixed(lines[i], &number, &message)) << lines[i];
        EXPECT_EQ(number, "   " + std::to_string(i + 1));
        EXPECT_EQ(message, messages[i]);
    }
    char pid[16];
    snprintf(pid, sizeof pid, "pid=%08d ", static_cast<int>(getpid()));
    EXPECT_NE(lines[0].find(pid), std::string::npos);
}

TEST(LogTrace, UnopenableFileReturnsNullAndIsRetried) {
    TempDir dir(true);
    unsetenv("CMNW32_INI");
    UTLSetTraceName(dir.File("missing/dir/trace").c_str());
    EXPECT_EQ(UTLLogTrace("lost"), nullptr);
    UTLSetTraceName(dir.File("t2").c_str());
    EXPECT_STREQ(UTLTraceName(), dir.File("t2").c_str());
    EXPECT_NE(UTLLogTrace("kept"), nullptr);
    auto lines = Lines(ReadFile(dir.File("t2")));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("kept"), std::string::npos);
}

TEST(LogTrace, BareTraceFileGoesIntoDataPath) {
    TempDir dir(true);
    ASSERT_EQ(mkdir(dir.File("data").c_str(), 0700), 0);
    UseIni(dir, "[Data]\nTraceFile =  my.log  \nDataPath=" + dir.File("data") + "\n");
    ASSERT_NE(UTLLogTrace("x"), nullptr);
    EXPECT_FALSE(ReadFile(dir.File("data/my.log")).empty());
    EXPECT_TRUE(ReadFile(dir.File("trace")).empty());
}

TEST(LogTrace, TraceFileWithDirectoryIgnoresDataPath) {
    TempDir dir(true);
    ASSERT_EQ(mkdir(dir.File("logs").c_str(), 0700), 0);
    // A folder without a drive letter is enough; backslashes are mapped when
    // the file is opened.
    UseIni(dir, "[Data]\nTraceFile=logs\\t.log\nDataPath=/nonexistent\n");
    ASSERT_NE(UTLLogTrace("y"), nullptr);
    EXPECT_FALSE(ReadFile(dir.File("logs/t.log")).empty());
}

// The stamp text is cached per second: it must still name the second of the
// line, and a forked child must print its own process id.
TEST(LogTrace, StampFollowsTheClockAndTheProcess) {
    TempDir dir(true);
    unsetenv("CMNW32_INI");
    auto stampOf = [](time_t t) {
        std::tm local{};
        localtime_r(&t, &local);
        char text[64];
        std::strftime(text, sizeof text, "%a %b %d %H:%M:%S", &local);
        return std::string(text) + "." + std::to_string(local.tm_year + 1900);
    };
    for (int i = 0; i < 3; ++i) {
        const time_t before = time(nullptr);
        ASSERT_NE(UTLLogTrace("line"), nullptr);
        const time_t after = time(nullptr);
        std::string line = Lines(ReadFile(dir.File("trace"))).back();
        std::string stamp = line.substr(6, 19) + "." + line.substr(30, 4);
        EXPECT_TRUE(stamp == stampOf(before) || stamp == stampOf(after)) << line;
        if (i == 1) usleep(1100 * 1000);
    }
    const pid_t child = cmnw::test::StartChild([] { return UTLLogTrace("child") != nullptr ? 0 : 1; });
    ASSERT_EQ(cmnw::test::WaitChild(child), 0);
    char pid[16];
    snprintf(pid, sizeof pid, "pid=%08d ", static_cast<int>(child));
    EXPECT_NE(Lines(ReadFile(dir.File("trace"))).back().find(pid), std::string::npos);
    UTLLogTrace(nullptr);
}

TEST(LogTrace, NoTimeStampKeepsCounting) {
    TempDir dir(true);
    UseIni(dir, "[Debug_Switches]\nPrintTimeStamp=No\n");
    UTLLogTrace("with prefix");
    EXPECT_EQ(UTLResetDebug(), 0);
    UTLLogTrace("bare %d", 2);
    UTLLogTrace(nullptr);
    ASSERT_EQ(UTLResetDebug(), 0);
    auto lines = Lines(ReadFile(dir.File("trace")));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(SplitPrefixed(lines[0], nullptr, nullptr)) << lines[0];
    EXPECT_EQ(lines[1], "bare 2");
}

TEST(LogTrace, LongLinesAreWrittenWhole) {
    TempDir dir(true);
    unsetenv("CMNW32_INI");
    std::string big(70000, 'q');
    ASSERT_NE(UTLLogTrace("%s|", big.c_str()), nullptr);
    auto lines = Lines(ReadFile(dir.File("trace")));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find(big + "|"), std::string::npos);
}

// The file-size limit set `room` bytes past the end of the trace cuts the
// next line there (0: refuses it whole). A cut fragment, and one found at the
// end of the file when it opens, ends in " <cut>" on a line of its own and
// the lines after it stand whole.
TEST(LogTrace, LineCutByTheFileSizeLimitDoesNotSwallowTheNext) {
    TempDir dir(true);
    unsetenv("CMNW32_INI");
    signal(SIGXFSZ, SIG_IGN);
    rlimit unlimited{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &unlimited), 0);
    const std::string cut = "cut " + std::string(80, 'c');
    ASSERT_TRUE(cmnw::test::WriteFile("trace", "killed"));
    for (rlim_t room : {30, 0, 1, 60, 200}) {
        ASSERT_NE(UTLLogTrace("before"), nullptr);
        struct stat st {};
        ASSERT_EQ(stat("trace", &st), 0);
        rlimit limit = unlimited;
        limit.rlim_cur = static_cast<rlim_t>(st.st_size) + room;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
        UTLLogTrace("%s", cut.c_str());
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &unlimited), 0);
    }
    UTLLogTrace("after");
    std::string shape;  // the message of a whole line, the length of a fragment
    for (const std::string &line : Lines(ReadFile("trace"))) {
        std::string message;
        if (line.ends_with(" <cut>"))
            shape += std::to_string(line.size() - 6) + " ";
        else if (SplitPrefixed(line, nullptr, &message))
            shape += (message == cut ? "cut" : message) + " ";
        else
            shape += "[" + line + "] ";
    }
    EXPECT_EQ(shape, "6 before 30 before before 1 before 60 before cut after ");
    signal(SIGXFSZ, SIG_DFL);
}

TEST(DebugSwitches, DisabledOrMissingMasterSwitchAnswersNo) {
    TempDir dir(true);
    UseIni(dir, "[Debug_Switches]\nTraceAll=Yes\n");
    EXPECT_EQ(UTLDebugOption("TraceAll"), 0);
    char value[16] = "keep";
    EXPECT_EQ(UTLDebugValue("TraceAll", value, sizeof value), 0);
    EXPECT_STREQ(value, "");
}

std::vector<std::string> infos;
int32_t CollectInfo(const char *where, const char *message) {
    infos.push_back(std::string(where) + "|" + message);
    return 0;
}

TEST(DebugSwitches, EnabledAnswersAndEchoes) {
    TempDir dir(true);
    UseIni(dir,
           "[debug_switches]\nenable_debug_options=TRUE\nShow_Debug_Options=on\n"
           "TraceAll=y\nQuiet=0\nLevel=verbose\n");
    UTLSetInfoNotify(&CollectInfo);
    EXPECT_NE(UTLDebugOption("TraceAll"), 0);
    EXPECT_EQ(UTLDebugOption("Quiet"), 0);
    EXPECT_EQ(UTLDebugOption("Missing"), 0);
    char value[4];
    EXPECT_EQ(UTLDebugValue("Level", value, sizeof value), 1);
    EXPECT_STREQ(value, "ver");  // cut to the buffer
    EXPECT_EQ(UTLDebugValue("Nothing", value, sizeof value), 0);
    std::vector<std::string> expected = {
        "<Debug_Switches>|TraceAll=Yes", "<Debug_Switches>|Quiet=No", "<Debug_Switches>|Missing=No",
        "<Debug_Switches>|Level=ver", "<Debug_Switches>|Nothing is not defined in the INI file."};
    EXPECT_EQ(infos, expected);
}

// Records end in "\n\r" and are numbered afresh after a dump; a dump to a
// file that cannot be opened discards what was recorded (here a long line).
TEST(MemoryTrace, RecordsEndWithLineFeedCarriageReturnAndRestartAfterDump) {
    TempDir dir(true);
    unsetenv("CMNW32_INI");
    UTLLogTraceMemory("%s", std::string(5000, 'm').c_str());
    UTLDumpMemTrace(dir.File("no/such/dir").c_str());
    UTLLogTraceMemory("one %d", 1);
    UTLLogTraceMemory("two");
    UTLDumpMemTrace(dir.File("mem.log").c_str());
    UTLLogTraceMemory("three");
    UTLDumpMemTrace(dir.File("mem.log").c_str());
    std::string text = ReadFile(dir.File("mem.log"));
    std::vector<std::string> records;
    for (size_t start = 0, end; (end = text.find("\n\r", start)) != std::string::npos;
         start = end + 2) {
        records.push_back(text.substr(start, end - start));
    }
    ASSERT_EQ(records.size(), 3u) << text;
    const char *expected[] = {"   1one 1", "   2two", "   1three"};
    for (size_t i = 0; i < 3; ++i) {
        std::string number, message;
        ASSERT_TRUE(SplitPrefixed(records[i], &number, &message)) << records[i];
        EXPECT_EQ(number + message, expected[i]);
    }
}

TEST(IniTrace, FileNamesAndOptionsBetweenBanners) {
    TempDir dir(true);
    UseIni(dir, "[Data]\nA=1\n[Other]\nB=two\n");
    ASSERT_EQ(UTLResetDebug(), 1);
    EXPECT_EQ(UTLLogINIOptions(0), 0);
    UTLLogTrace(nullptr);
    std::string text = ReadFile(dir.File("trace"));
    std::vector<std::string> messages;
    for (const auto &line : Lines(text)) {
        size_t mark = line.find(" pid=");
        ASSERT_NE(mark, std::string::npos) << line;
        messages.push_back(line.substr(mark + 14));  // " pid=" + 8 digits + " "
    }
    std::string iniPath = dir.File("test.ini");
    std::string suiteForm;
    for (char c : iniPath) suiteForm += c == '/' ? '\\' : c;
    std::vector<std::string> expected = {
        "-------------------------- INI Files Loaded ---------------------------", " ", suiteForm,
        " ", "----------------------- Begin INI Options Trace -----------------------", "[Data]",
        "A=1", "[Other]", "B=two",
        "----------------------- End INI Options Trace -----------------------"};
    EXPECT_EQ(messages, expected) << text;
}

}  // namespace
