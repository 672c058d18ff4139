#include "cmnw32/trace.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include "cmnw32/cfg.h"
#include "cmnw32/errors.h"
#include "common/test_support.h"

namespace {

using cmnw::test::ReadFile;
using cmnw::test::TempDir;

std::vector<std::string> Lines(const std::string &text, const char *end = "\n") {
    std::vector<std::string> lines;
    for (size_t start = 0, at; (at = text.find(end, start)) != std::string::npos; start = at + std::strlen(end))
        lines.push_back(text.substr(start, at - start));
    return lines;
}

// A fresh current directory, with the configuration read from an INI file
// of the given text (none when it is null).
struct TraceDir : TempDir {
    explicit TraceDir(const char *ini = nullptr) : TempDir(true) {
        if (ini == nullptr) unsetenv("CMNW32_INI");
        else UseIni(ini);
    }
    void UseIni(const std::string &text) const { setenv("CMNW32_INI", Write("test.ini", text).c_str(), 1); }
    std::vector<std::string> Trace(const char *name = "trace") const { return Lines(ReadFile(File(name))); }
};

// The number (four columns) then the message of a prefixed trace line
// "%4u. Www Mmm dd hh:mm:ss.mmm yyyy pid=%08d msg"; "   ?[line]" when the
// prefix is off.
std::string Unprefixed(const std::string &line) {
    static const std::regex prefix(
        "[ 0-9]{3}[0-9]\\. (Sun|Mon|Tue|Wed|Thu|Fri|Sat) (Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec) "
        "[0-9]{2} [0-9]{2}:[0-9]{2}:[0-9]{2}\\.[0-9]{3} [0-9]{4} pid=[0-9]{8} ");
    constexpr size_t kLength = 48;
    if (line.size() < kLength || !std::regex_match(line.substr(0, kLength), prefix)) return "   ?[" + line + "]";
    return line.substr(0, 4) + line.substr(kLength);
}

std::string Pid(pid_t pid) {
    char text[16];
    snprintf(text, sizeof text, "pid=%08d ", static_cast<int>(pid));
    return text;
}

// Lines are numbered on across a close and written whole however long; a
// file that cannot be opened gives null and is tried again at the next line.
TEST(LogTrace, NumberedPrefixedLinesInFileAndMemory) {
    TraceDir dir;
    EXPECT_EQ(UTLLogTrace(nullptr), nullptr);  // nothing open: nothing happens
    FILE *stream = UTLLogTrace("first %d", 1);
    ASSERT_NE(stream, nullptr);
    EXPECT_EQ(UTLLogTrace("second %s", "x"), stream);
    EXPECT_EQ(UTLLogTrace(nullptr), nullptr);  // closes
    const std::string big(70000, 'q');
    EXPECT_NE(UTLLogTrace("%s|", big.c_str()), nullptr);
    const auto lines = dir.Trace();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(Unprefixed(lines[0]) + Unprefixed(lines[1]) + Unprefixed(lines[2]),
              "   1first 1   2second x   3" + big + "|");
    EXPECT_NE(lines[0].find(Pid(getpid())), std::string::npos);

    UTLLogTrace(nullptr);
    UTLSetTraceName(dir.File("missing/dir/trace").c_str());
    EXPECT_EQ(UTLLogTrace("lost"), nullptr);
    UTLSetTraceName(dir.File("t2").c_str());
    EXPECT_STREQ(UTLTraceName(), dir.File("t2").c_str());
    EXPECT_NE(UTLLogTrace("kept"), nullptr);
    ASSERT_EQ(dir.Trace("t2").size(), 1u);
    EXPECT_EQ(Unprefixed(dir.Trace("t2")[0]).substr(4), "kept");

    // Memory records end in "\n\r" and are numbered afresh after a dump; a
    // dump to a file that cannot be opened discards what was recorded.
    UTLLogTraceMemory("%s", big.c_str());
    UTLDumpMemTrace(dir.File("no/such/dir").c_str());
    UTLLogTraceMemory("one %d", 1);
    UTLLogTraceMemory("two");
    UTLDumpMemTrace(dir.File("mem.log").c_str());
    UTLLogTraceMemory("three");
    UTLDumpMemTrace(dir.File("mem.log").c_str());
    std::string records;
    for (const std::string &record : Lines(ReadFile(dir.File("mem.log")), "\n\r")) records += Unprefixed(record) + "|";
    EXPECT_EQ(records, "   1one 1|   2two|   1three|");
}

// The trace named in the configuration lands in the data folder as written.
void ExpectTraceIn(const char *traceFile, bool bare, const char *written) {
    TraceDir dir;
    ASSERT_EQ(mkdir(dir.File("data").c_str(), 0700), 0);
    dir.UseIni(std::string("[Data]\nTraceFile =") + traceFile + "\nDataPath=" + (bare ? dir.File("data") : "/none") + "\n");
    ASSERT_NE(UTLLogTrace("x"), nullptr);
    UTLLogTrace(nullptr);
    EXPECT_EQ(dir.Trace(written).size(), 1u);
    EXPECT_TRUE(dir.Trace().empty());
}

TEST(LogTrace, BareTraceFileGoesIntoDataPath) { ExpectTraceIn("  my.log  ", true, "data/my.log"); }

// A folder without a drive letter is enough; backslashes are mapped.
TEST(LogTrace, TraceFileWithFolderIgnoresDataPath) { ExpectTraceIn("data\\t.log", false, "data/t.log"); }

// The stamp text is cached per second: it must still name the second of the
// line, and a forked child must print its own process id.
TEST(LogTrace, StampFollowsTheClockAndTheProcess) {
    TraceDir dir;
    auto stampOf = [](time_t t) {
        char text[64];
        std::tm local{};
        return std::string(text, std::strftime(text, sizeof text, "%a %b %d %H:%M:%S.%Y", localtime_r(&t, &local)));
    };
    for (int i = 0; i < 3; ++i) {
        const time_t before = time(nullptr);
        ASSERT_NE(UTLLogTrace("line"), nullptr);
        const time_t after = time(nullptr);
        const std::string line = dir.Trace().back(), stamp = line.substr(6, 19) + "." + line.substr(30, 4);
        EXPECT_TRUE(stamp == stampOf(before) || stamp == stampOf(after)) << line;
        if (i == 1) usleep(1100 * 1000);
    }
    const pid_t child = cmnw::test::StartChild([] { return UTLLogTrace("child") != nullptr ? 0 : 1; });
    ASSERT_EQ(cmnw::test::WaitChild(child), 0);
    EXPECT_NE(dir.Trace().back().find(Pid(child)), std::string::npos);
    UTLLogTrace(nullptr);
}

// Without the master switch every option answers no, but the time stamp
// switch needs none: lines without it go on counting.
TEST(DebugSwitches, DisabledMasterSwitchAnswersNoButTheStampSwitchHolds) {
    TraceDir dir("[Debug_Switches]\nPrintTimeStamp=No\nTraceAll=Yes\n");
    UTLLogTrace("with prefix");
    EXPECT_EQ(UTLResetDebug(), 0);
    UTLLogTrace("bare %d", 2);
    UTLLogTrace(nullptr);
    ASSERT_EQ(UTLResetDebug(), 0);
    const auto lines = dir.Trace();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Unprefixed(lines[0]) + "|" + lines[1], "   1with prefix|bare 2");
    EXPECT_EQ(UTLDebugOption("TraceAll"), 0);
    char value[16] = "keep";
    EXPECT_EQ(UTLDebugValue("TraceAll", value, sizeof value), 0);
    EXPECT_STREQ(value, "");
}

// The file-size limit set `room` bytes past the end of the trace cuts the
// next line there (0: refuses it whole). A cut fragment, and one found at the
// end of the file when it opens, ends in " <cut>" on a line of its own and
// the lines after it stand whole.
TEST(LogTrace, LineCutByTheFileSizeLimitDoesNotSwallowTheNext) {
    TraceDir dir;
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
    for (const std::string &line : dir.Trace())
        shape += (line.ends_with(" <cut>") ? std::to_string(line.size() - 6) : Unprefixed(line).substr(4)) + " ";
    EXPECT_EQ(shape, "6 before 30 before before 1 before 60 before " + cut + " after ");
    signal(SIGXFSZ, SIG_DFL);
}

std::vector<std::string> infos;
int32_t CollectInfo(const char *where, const char *message) {
    infos.push_back(std::string(where) + "|" + message);
    return 0;
}

// Answers are echoed when asked to, values cut to the buffer.
TEST(DebugSwitches, EnabledAnswersAndEchoes) {
    TraceDir dir("[debug_switches]\nenable_debug_options=TRUE\nShow_Debug_Options=on\n"
                 "TraceAll=y\nQuiet=0\nLevel=verbose\n");
    UTLSetInfoNotify(&CollectInfo);
    EXPECT_NE(UTLDebugOption("TraceAll"), 0);
    EXPECT_EQ(UTLDebugOption("Quiet") + UTLDebugOption("Missing"), 0);
    char value[4];
    EXPECT_EQ(UTLDebugValue("Level", value, sizeof value), 1);
    EXPECT_STREQ(value, "ver");
    EXPECT_EQ(UTLDebugValue("Nothing", value, sizeof value), 0);
    EXPECT_EQ(infos, (std::vector<std::string>{"<Debug_Switches>|TraceAll=Yes", "<Debug_Switches>|Quiet=No",
                                               "<Debug_Switches>|Missing=No", "<Debug_Switches>|Level=ver",
                                               "<Debug_Switches>|Nothing is not defined in the INI file."}));
}

TEST(IniTrace, FileNamesAndOptionsBetweenBanners) {
    TraceDir dir("[Data]\nA=1\n[Other]\nB=two\n");
    ASSERT_EQ(UTLResetDebug(), 1);
    EXPECT_EQ(UTLLogINIOptions(0), 0);
    UTLLogTrace(nullptr);
    std::string messages, suiteForm;
    for (const auto &line : dir.Trace()) messages += Unprefixed(line).substr(4) + "|";
    for (char c : dir.File("test.ini")) suiteForm += c == '/' ? '\\' : c;
    EXPECT_EQ(messages, "-------------------------- INI Files Loaded ---------------------------| |" + suiteForm +
                            "| |----------------------- Begin INI Options Trace -----------------------|[Data]|A=1|"
                            "[Other]|B=two|----------------------- End INI Options Trace -----------------------|");
}

}  // namespace
