// Error texts, the notify functions, message templates, the trace log and
// the debug switches.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <csignal>
#include <cstring>
#include <ctime>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "cmnw32/cfg.h"
#include "cmnw32/errors.h"
#include "cmnw32/mem.h"
#include "cmnw32/messages.h"
#include "cmnw32/trace.h"
#include "common/test_support.h"
#include "diag/trace_prefix.h"

namespace {

using namespace std::string_literals;
using cmnw::test::ReadFile;
using cmnw::test::TempDir;

MEMLIST MakeInserts(std::initializer_list<const char *> texts) {
    MEMLIST list = MEMCreateList();
    for (const char *t : texts) MEMAppendItem(list, t, std::strlen(t) + 1);
    return list;
}

std::string Format(const char *message, MEMLIST inserts, uint32_t size = 256) {
    std::string out(size, '\x7f');
    return out.substr(0, static_cast<size_t>(UTLFormatMessage(out.data(), size, message, inserts)));
}

// Escapes and inserts of up to four are checked against a model below; here
// two-digit insert numbers, a missing insert list and the variadic form.
TEST(FormatMessage, InsertsEscapesAndTheVariadicForm) {
    MEMLIST file = MakeInserts({"f.txt"}), three = MakeInserts({"one", "two", "three"});
    MEMLIST twelve = MakeInserts({"1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "twelve"});
    EXPECT_EQ(Format("File %1 not found%n", file), "File f.txt not found\n");
    EXPECT_EQ(Format("%123", twelve), "twelve3");
    EXPECT_EQ(Format("%1 %2", nullptr), "%1 %2");
    char b[64];
    EXPECT_EQ(UTLFmtMsgString(b, sizeof b, "%3-%2-%1-%4", 3, "one", "two", "three"), 16);
    EXPECT_EQ(b, Format("%3-%2-%1-%4", three));
    EXPECT_STREQ(b, "three-two-one-%4");
    EXPECT_EQ(UTLFmtMsgString(b, sizeof b, "%1", 0), 2);
    EXPECT_STREQ(b, "%1");
    for (MEMLIST list : {file, three, twelve}) MEMDestroyList(list);
}

// A second, straightforward model of the template rules, checked against the
// library on random templates.
std::string ModelFormat(const std::string &message, const std::vector<std::string> &inserts, size_t size) {
    std::string out;
    const size_t limit = size - 1;
    auto digit = [&](size_t at) { return at < message.size() && std::isdigit(static_cast<unsigned char>(message[at])); };
    for (size_t i = 0; i < message.size() && out.size() < limit;) {
        if (message[i] != '%') {
            out += message[i++];
        } else if (i + 1 >= message.size()) {
            break;
        } else if (message[i + 1] != '0' && digit(i + 1)) {
            const size_t len = digit(i + 2) ? 3 : 2;
            const size_t n = std::stoul(message.substr(i + 1, len - 1));
            out += (n >= 1 && n <= inserts.size() ? inserts[n - 1] : message.substr(i, len)).substr(0, limit - out.size());
            i += len;
        } else {
            out += message[i + 1] == 'n' ? '\n' : message[i + 1] == '0' ? '\0' : message[i + 1];
            i += 2;
        }
    }
    return out;
}

TEST(FormatMessage, RandomTemplatesMatchModel) {
    std::mt19937 rng(1234);
    const char alphabet[] = "%%%0123456789nab";
    const std::vector<std::string> inserts = {"alpha", "", "gamma-delta", "x"};
    MEMLIST list = MakeInserts({"alpha", "", "gamma-delta", "x"});
    for (int round = 0; round < 3000; ++round) {
        std::string message;
        for (size_t i = 0, len = rng() % 20; i < len; ++i) message += alphabet[rng() % (sizeof alphabet - 1)];
        const uint32_t size = 1 + rng() % 40;
        EXPECT_EQ(Format(message.c_str(), list, size), ModelFormat(message, inserts, size)) << message << " size " << size;
    }
    MEMDestroyList(list);
}

// Pads with NULs to n, cuts without a terminator, and reads nothing after
// the source's terminator (a source of 2 bytes at the end of readable memory).
TEST(StringHelpers, Strncpy) {
    char buf[8];
    std::memset(buf, 'Z', sizeof buf);
    EXPECT_EQ(UTLstrncpy(buf, "ab", 5), buf);
    EXPECT_EQ(std::string(buf, 6), std::string("ab\0\0\0Z", 6));
    UTLstrncpy(buf, "abcdef", 4);
    EXPECT_EQ(std::string(buf, 6), "abcd\0Z"s);
    cmnw::test::GuardedBuffer shortSource(std::string("q\0", 2));
    UTLstrncpy(buf, shortSource.data(), 7);
    EXPECT_EQ(std::string(buf, 7), std::string("q\0\0\0\0\0\0", 7));
}

TEST(StringHelpers, SearchFunctions) {
    const char *text = "Hello abcabc aaaa";
    const struct {
        char *(*fn)(const char *, const char *);
        const char *haystack, *needle;
        int at;  // -1: not found
    } cases[] = {
        {UTLstristr, text, "ABCA", 6},   {UTLstristr, text, "hello a", 0},
        {UTLstristr, text, "worlds", -1}, {UTLstristr, text, "", 0},
        {UTLstrrstr, text, "bc", 10},    {UTLstrrstr, text, "", 0},
        {UTLstrrstr, text, nullptr, 0},  {UTLstrrstr, text, "x", -1},
        {UTLstrrstr, text, "aa", 15},    {UTLstrrstr, "aaa", "aa", 0},
    };
    for (const auto &c : cases) {
        const char *found = c.fn(c.haystack, c.needle);
        EXPECT_EQ(found == nullptr ? -1 : found - c.haystack, c.at)
            << (c.haystack ? c.haystack : "(null)") << " / " << (c.needle ? c.needle : "(null)");
    }
}

TEST(Substitution, LookupsAndWriteBack) {
    char out[64];
    auto subs = [&out](auto lookup, const char *name, int size = sizeof out) {
        std::memset(out, 'Z', sizeof out);
        lookup(name, out, size);
        return std::string(out);
    };
    unsetenv("CMNW32_INI");
    EXPECT_EQ(subs(UTLGetINISubs, "MEMW32.DLL"), "libmemw32.so");  // without a configuration
    CFGCreate();
    CFGSetString("Window32Subs", "MYMOD.DLL", "libmine.so");
    const struct {
        const char *name, *withDefault, *noDefault;
    } cases[] = {{"UNKNOWN.DLL", "UNKNOWN.DLL", ""}, {"mymod.dll", "libmine.so", "libmine.so"},
                 {"cfgw32.dll", "libcfgw32.so", "libcfgw32.so"}, {"CMNW16.DLL", "libcmnw32.so", "libcmnw32.so"}, {"", "", ""},
                 {"sysadp.dll", "libsysadp.so", "libsysadp.so"}};
    for (const auto &c : cases)
        EXPECT_EQ(subs(UTLGetINISubs, c.name) + "|" + subs(UTLGetINISubsNoDef, c.name),
                  std::string(c.withDefault) + "|" + c.noDefault) << c.name;
    // The built-in answer now lives in the configuration, and a changed
    // configuration wins over the table.
    EXPECT_NE(CFGGetString("Window32Subs", "cfgw32.dll", out, sizeof out), 0);
    EXPECT_STREQ(out, "libcfgw32.so");
    CFGSetString("Window32Subs", "CFGW32.DLL", "libother.so");
    EXPECT_EQ(subs(UTLGetINISubs, "CFGW32.DLL"), "libother.so");
    EXPECT_EQ(subs(UTLGetINISubs, "UNKNOWN.DLL", 4), "UNK");  // cut to the buffer
    EXPECT_EQ(subs(UTLGetINISubs, nullptr), "");
}

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
std::vector<std::string> infos;
int32_t CollectInfo(const char *where, const char *message) {
    infos.push_back(std::string(where) + "|" + message);
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

    UTLInfoNotifyFunc defInfo = UTLSetInfoNotify(&CollectInfo);
    EXPECT_EQ(UTLPlatformInfo("w", "m"), 3);
    EXPECT_EQ(infos, std::vector<std::string>{"w|m"});
    EXPECT_EQ(UTLSetInfoNotify(nullptr), &CollectInfo);
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
    char prefix[16];
    std::memset(prefix, 'x', sizeof prefix);
    EXPECT_EQ(cmnw::diag::FormatTracePrefix(prefix, 8, 7), 7u);  // cut, nothing past the room
    EXPECT_EQ(std::string(prefix, 6) + prefix[7] + prefix[8], std::string("   7. \0x", 8));

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
    // The stamp reads CLOCK_REALTIME; time() may lag it by a tick just after a second turns.
    auto now = [] { timespec t{}; clock_gettime(CLOCK_REALTIME, &t); return t.tv_sec; };
    for (int i = 0; i < 3; ++i) {
        const time_t before = now();
        ASSERT_NE(UTLLogTrace("line"), nullptr);
        const time_t after = now();
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
