// A process killed at any moment while it saves a configuration, saves a code
// page set and appends trace lines: each file holds one complete version and
// every trace line is whole.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <regex>
#include <sstream>
#include <string>

#include "chars/codepage_fixture.h"
#include "cmnw32/cfg.h"
#include "cmnw32/codepage.h"
#include "cmnw32/trace.h"

namespace {

using cmnw::testing::ScratchDir;

// CMNW_KILL_ROUNDS runs more rounds by hand (the default 1000 take about a
// second, ten under AddressSanitizer).
const int kRounds = std::getenv("CMNW_KILL_ROUNDS") != nullptr && std::atoi(std::getenv("CMNW_KILL_ROUNDS")) > 0
                        ? std::atoi(std::getenv("CMNW_KILL_ROUNDS")) : 1000;

// The text CFGSave writes for the configuration in force.
std::string SavedText(const ScratchDir &scratch) {
    EXPECT_EQ(CFGSave(scratch.File("cfg.ini").c_str()), 0);
    return scratch.Read("cfg.ini");
}

TEST(KillWhileSaving, FilesHoldOneCompleteVersionAndTraceLinesAreWhole) {
    // A kill leaves the page cache alone, so the files may as well live in
    // memory, where syncs cost nothing.
    if (access("/dev/shm", W_OK) == 0) setenv("TMPDIR", "/dev/shm", 1);
    ScratchDir scratch;
    const std::string where = "[KTRes]\nDefLib=" + scratch.path() + "/\nCodepage=codepage.ini\n";
    std::string large = where + "[Large]\n";
    for (int i = 0; i < 2000; ++i) large += "key" + std::to_string(i) + "=value " + std::to_string(i) + "\n";
    const std::string onePage = "[CodePages]\nCodePage=5,AA\n[CodePage]\nChar=ID1,one,uno,10\n";
    CFGHANDLE small = CFGLoadINI(scratch.Write("small.ini", where + onePage).c_str());
    CFGHANDLE big = CFGLoadINI(scratch.Write("large.ini", large).c_str());
    ASSERT_TRUE(small != nullptr && big != nullptr);
    const std::string cfgTexts[] = {SavedText(scratch), (CFGSetCurrent(small), SavedText(scratch))};
    UTLCPSET builtIn = UTLLoadCodePage();  // no code page file yet
    UTLCPSET tiny = UTLCreateCodePage();   // the one page of the small configuration
    ASSERT_TRUE(builtIn != nullptr && tiny != nullptr);
    ASSERT_TRUE(UTLLoadCodePages(tiny) == UTL_CP_OK && UTLLoadCodePagesChars(tiny) == UTL_CP_OK);
    std::string pageTexts[2];
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(UTLUnloadCodePage(i == 0 ? builtIn : tiny), UTL_CP_OK);
        pageTexts[i] = scratch.Read("codepage.ini");
    }
    ASSERT_NE(pageTexts[0], pageTexts[1]);
    UTLSetTraceName(scratch.File("trace").c_str());
    const std::string filler(100, 'x');

    auto Cycle = [&](int n) {
        UTLLogTrace("line %d %s", n, filler.c_str());
        CFGSetCurrent(n % 2 == 0 ? big : small);
        CFGSave(scratch.File("cfg.ini").c_str());
        UTLUnloadCodePage(n % 2 == 0 ? builtIn : tiny);
    };
    // Kills fall anywhere in a child's first two rounds, timed in a child: they
    // take longer there than they would here, as its pages are copied when
    // first written.
    int started[2];
    ASSERT_EQ(pipe(started), 0);
    if (fork() == 0) {
        const auto start = std::chrono::steady_clock::now();
        Cycle(0);
        Cycle(1);
        const auto took = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
        _exit(write(started[1], &took, sizeof took) == static_cast<ssize_t>(sizeof took) ? 0 : 1);
    }
    std::chrono::microseconds::rep twoRounds = 0;
    ASSERT_EQ(read(started[0], &twoRounds, sizeof twoRounds), static_cast<ssize_t>(sizeof twoRounds));
    wait(nullptr);
    std::string cfg, pages;  // as the last kill left them
    std::mt19937 random(24);
    std::uniform_int_distribution<int> delayMicroseconds(0, static_cast<int>(twoRounds));
    for (int round = 0; round < kRounds; ++round) {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            if (write(started[1], "s", 1) != 1) _exit(1);
            for (int n = 0;; ++n) Cycle(n);
        }
        char byte;
        ASSERT_EQ(read(started[0], &byte, 1), 1);  // the delay counts from the child's start
        usleep(static_cast<useconds_t>(delayMicroseconds(random)));
        kill(child, SIGKILL);
        ASSERT_EQ(waitpid(child, nullptr, 0), child);
        cfg = scratch.Read("cfg.ini");
        pages = scratch.Read("codepage.ini");
        ASSERT_TRUE(cfg == cfgTexts[0] || cfg == cfgTexts[1]) << "round " << round << ": " << cfg.size() << " bytes";
        ASSERT_TRUE(pages == pageTexts[0] || pages == pageTexts[1]) << "round " << round;
    }
    close(started[0]);
    close(started[1]);
    ASSERT_NE(CFGLoadINI(scratch.File("cfg.ini").c_str()), nullptr);
    EXPECT_EQ(UTLDestroyCodePage(builtIn), UTL_CP_OK);  // the next load reads the file
    EXPECT_EQ(UTLDestroyCodePage(tiny), UTL_CP_OK);
    UTLCPSET loaded = UTLLoadCodePage();
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(UTLCodePageCount(loaded), pages == pageTexts[0] ? 3 : 1);
    EXPECT_EQ(UTLDestroyCodePage(loaded), UTL_CP_OK);

    const std::regex whole(" *[0-9]+\\. [A-Z][a-z]{2} [A-Z][a-z]{2} [0-9]{2} [0-9:]{8}\\.[0-9]{3} [0-9]{4} pid=[0-9]{8} line [0-9]+ x{100}");
    // A kill can stop a write where it crosses a page of the file; the next
    // process to open the trace, this one last, ends that fragment with " <cut>".
    UTLLogTrace("line %d %s", kRounds, filler.c_str());
    const std::string text = scratch.Read("trace");
    ASSERT_TRUE(text.ends_with("\n"));
    std::istringstream trace(text);
    int lines = 0, cut = 0;
    for (std::string line; std::getline(trace, line); ++lines) {
        cut += line.ends_with(" <cut>");
        ASSERT_TRUE(line.ends_with(" <cut>") || std::regex_match(line, whole)) << line;
    }
    EXPECT_GT(lines, kRounds / 4);
    int inSave = 0;  // kills that left a temporary file behind
    for (const auto &entry : std::filesystem::directory_iterator(scratch.path()))
        inSave += entry.path().extension().string().size() == 7;
    std::printf("%d kills, %d inside a save, %d trace lines, %d cut\n", kRounds, inSave, lines, cut);
    EXPECT_GT(inSave, kRounds / 200);  // the kills do reach into the saves
}

}  // namespace
