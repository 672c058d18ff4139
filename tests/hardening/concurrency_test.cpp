// The functions the headers call safe from several threads, run from eight
// threads at once from a cold start (no warm-up on the main thread), so that
// every one-time lookup is first built under contention. Under the
// ThreadSanitizer build these tests prove the absence of data races; in the
// other builds they check that every thread gets the same answers.
#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "cmnw32.h"
#include "common/test_support.h"

namespace {

constexpr int kThreads = 8;

// Runs body(thread index) on kThreads threads released together.
template <typename Body>
void RunTogether(Body body) {
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int i = 0; i < kThreads; ++i) {
        threads.emplace_back([&, i] {
            ready.fetch_add(1);
            while (ready.load() < kThreads) std::this_thread::yield();
            body(i);
        });
    }
    for (auto &t : threads) t.join();
}

// Runs probe(thread, round) for a number of rounds on every thread and
// expects every thread to have produced the same texts, round by round.
template <typename Probe>
void ExpectSameAnswers(int rounds, Probe probe) {
    std::vector<std::string> answers(kThreads);
    RunTogether([&](int i) {
        for (int round = 0; round < rounds; ++round) answers[i] += probe(round) + "\n";
    });
    for (int i = 1; i < kThreads; ++i) EXPECT_EQ(answers[i], answers[0]) << "thread " << i;
    EXPECT_FALSE(answers[0].empty());
}

std::string Hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%08x", value);
    return text;
}

TEST(Concurrency, PureConversionsAgreeAcrossThreads) {
    ExpectSameAnswers(200, [](int round) {
        std::string out;
        const std::string text = "Gr\xc3\xbc\xc3\x9f" "e " + std::to_string(round) + " \xe2\x82\xac";
        out += Hex(UTLCalculateBlockCRC32(static_cast<uint32_t>(text.size()), 0, text.data()));
        char b64[64] = {};
        UTLEncodeBase64(text.data(), static_cast<uint32_t>(text.size()), b64);
        out += b64;
        char plain[64] = {};
        out += std::to_string(UTLDecodeBase64(b64, static_cast<uint32_t>(std::strlen(b64)), plain));
        char crcName[8] = {};
        UTLMakeCRCName(crcName, static_cast<uint32_t>(round) * 2654435761u);
        out += crcName;

        uint16_t wide[64];
        const char *src = text.data();
        uint16_t *dst = wide;
        Utf8ToUtf16(&src, text.data() + text.size(), &dst, wide + 64);
        for (const uint16_t *w = wide; w < dst; ++w) out += Hex(*w);

        char ansi[64];
        std::snprintf(ansi, sizeof ansi, "%s", text.c_str());
        UTLUtf8ToAnsi(ansi, static_cast<int32_t>(text.size()));
        out += ansi;
        out += static_cast<char>(UTLtoupper(0xE0 + round % 16));
        out += std::to_string(UTLstricoll("\xc4" "bc", "\xe4" "bd"));
        out += static_cast<char>(EBC2ASC(ASC2EBC(static_cast<uint8_t>(round))));
        return out;
    });
}

TEST(Concurrency, DateTimeAndNumberFormattingInTheCurrentLocale) {
    ExpectSameAnswers(100, [](int round) {
        std::string out;
        char date[64];
        FMTMakeDate(date, "4.4", 1 + round % 12, 1 + round % 28, 1990 + round);
        out += date;
        int month = 0, day = 0, year = 0;
        out += std::to_string(FMTGetDateFmtValues(date, 4, ".", 4, &month, &day, &year));
        out += std::to_string(month * 10000 + day * 100 + year);
        out += std::to_string(FMTDiffDays("01/01/2024", "1/4", date, "4.4"));
        char converted[64];
        FMTDate2Date(date, "4.4", converted, "D4");
        out += converted;

        char time[12];
        FMTMakeTime(time, "2:", round % 24, round % 60, 59 - round % 60);
        out += time;
        char again[12];
        FMTTime2Time(time, "2:", again, "1:");
        out += again;

        char value[40];
        std::snprintf(value, sizeof value, "%d.%d", round * 997, round % 10);
        char picture[] = "ZZZ,ZZ9.99";
        out += std::to_string(FMTValNumFormat(static_cast<int>(sizeof value), picture, value));
        out += value;

        char masked[32] = {};
        FMTFmtString(std::to_string(123456789 + round).c_str(), masked, 31, "3,-,2,-");
        out += masked;
        out += std::to_string(FMTValBarcode("12345", 5, "C"));
        return out;
    });
}

TEST(Concurrency, TraceLinesFromEightThreadsStayWhole) {
    cmnw::test::TempDir dir;
    const std::string path = dir.File("trace.log");
    UTLSetTraceName(path.c_str());
    constexpr int kLines = 200;
    RunTogether([&](int i) {
        for (int n = 0; n < kLines; ++n) UTLLogTrace("thread %d line %d end", i, n);
    });
    UTLLogTrace(nullptr);

    const std::string log = cmnw::test::ReadFile(path);
    std::vector<int> seen(kThreads * kLines, 0);
    size_t start = 0, lines = 0;
    while (start < log.size()) {
        const size_t end = log.find('\n', start);
        ASSERT_NE(end, std::string::npos);
        const std::string line = log.substr(start, end - start);
        int thread = -1, number = -1;
        const size_t at = line.find("thread ");
        ASSERT_NE(at, std::string::npos) << line;
        ASSERT_EQ(std::sscanf(line.c_str() + at, "thread %d line %d end", &thread, &number), 2)
            << line;
        ASSERT_EQ(line.substr(line.size() - 3), "end") << line;
        ++seen[thread * kLines + number];
        ++lines;
        start = end + 1;
    }
    EXPECT_EQ(lines, static_cast<size_t>(kThreads * kLines));
    for (int count : seen) EXPECT_EQ(count, 1);
}

TEST(Concurrency, RecursiveCriticalSectionsGuardASharedCount) {
    UTLCRITICAL_SECTION lock;
    UTLCRITICAL_SECTION *section = &lock;
    ASSERT_EQ(UTLInitializeCriticalSection(section), 0);
    long counter = 0;
    RunTogether([&](int) {
        for (int n = 0; n < 2000; ++n) {
            UTLEnterCriticalSection(section);
            UTLEnterCriticalSection(section);  // recursive
            ++counter;
            UTLLeaveCriticalSection(section);
            UTLLeaveCriticalSection(section);
        }
    });
    UTLCleanupCriticalSection(section);
    EXPECT_EQ(counter, kThreads * 2000L);
}

}  // namespace
