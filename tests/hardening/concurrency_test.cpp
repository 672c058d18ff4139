// The functions the headers call safe from several threads, run from eight
// threads at once from a cold start (no warm-up on the main thread), so that
// every one-time lookup is first built under contention. Under the
// ThreadSanitizer build these tests prove the absence of data races; in the
// other builds they check that every thread gets the same answers.
#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "cmnw32.h"
#include "common/test_support.h"
#include "locale/locale_tables.h"

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

// Pure conversions, and date, time and number formatting in the current
// locale: every thread gets the same answers, round by round.
TEST(Concurrency, ConversionsAndFormattingAgreeAcrossThreads) {
    std::vector<std::string> answers(kThreads);
    RunTogether([&](int thread) {
        for (int round = 0; round < 150; ++round) {
            const std::string text = "Gr\xc3\xbc\xc3\x9f" "e " + std::to_string(round) + " \xe2\x82\xac";
            const auto size = static_cast<uint32_t>(text.size());
            char b64[64] = {}, plain[64], crcName[8] = {}, ansi[64], date[64], converted[64], time[12], again[12];
            char value[40], picture[] = "ZZZ,ZZ9.99", masked[32] = {};
            uint16_t wide[64], *dst = wide;
            const char *src = text.data();
            int month = 0, day = 0, year = 0;
            UTLEncodeBase64(text.data(), size, b64);
            UTLMakeCRCName(crcName, static_cast<uint32_t>(round) * 2654435761u);
            Utf8ToUtf16(&src, text.data() + size, &dst, wide + 64);
            std::snprintf(ansi, sizeof ansi, "%s", text.c_str());
            UTLUtf8ToAnsi(ansi, static_cast<int32_t>(size));
            FMTMakeDate(date, "4.4", 1 + round % 12, 1 + round % 28, 1990 + round);
            FMTDate2Date(date, "4.4", converted, "D4");
            FMTMakeTime(time, "2:", round % 24, round % 60, 59 - round % 60);
            FMTTime2Time(time, "2:", again, "1:");
            std::snprintf(value, sizeof value, "%d.%d", round * 997, round % 10);
            FMTFmtString(std::to_string(123456789 + round).c_str(), masked, 31, "3,-,2,-");
            const int valid = FMTGetDateFmtValues(date, 4, ".", 4, &month, &day, &year);
            std::string out = std::string(b64) + crcName + ansi + date + converted + time + again + masked + "|";
            out += std::to_string(UTLCalculateBlockCRC32(size, 0, text.data())) + "," +
                   std::to_string(UTLDecodeBase64(b64, static_cast<uint32_t>(std::strlen(b64)), plain)) + "," +
                   std::to_string(UTLtoupper(0xE0 + round % 16)) + "," + std::to_string(UTLstricoll("\xc4" "bc", "\xe4" "bd")) +
                   "," + std::to_string(EBC2ASC(ASC2EBC(static_cast<uint8_t>(round)))) + "," +
                   std::to_string(valid * 100000000 + month * 1000000 + day * 10000 + year) + "," +
                   std::to_string(FMTDiffDays("01/01/2024", "1/4", date, "4.4")) + "," +
                   std::to_string(FMTValNumFormat(static_cast<int>(sizeof value), picture, value)) + value + "," +
                   std::to_string(FMTValBarcode("12345", 5, "C"));
            for (const uint16_t *w = wide; w < dst; ++w) out += "," + std::to_string(*w);
            answers[thread] += out + "\n";
        }
    });
    for (int i = 1; i < kThreads; ++i) EXPECT_EQ(answers[i], answers[0]) << "thread " << i;
}

// One call of a function that takes a locale argument, for the locale name
// (null: the current locale) and a variant, its answer written as text.
using LocaleProbe = std::string (*)(const char *name, int variant);

std::string Arg(const char *name) { return std::string(" ") + (name != nullptr ? name : ""); }

// The answer of edit on a copy of text, then the copy as edit left it.
template <typename Edit>
std::string Edited(const char *text, Edit edit) {
    char buffer[64] = {};
    std::snprintf(buffer, 40, "%s", text);
    const std::string answer = edit(buffer);
    return answer + "|" + buffer;
}

const char *const kDateTexts[] = {"5/24/2007", "24 Mai 2007", "M\xe4rz 3, 1999", "13/45/2001"};
const char *const kDateDescriptors[] = {"4", "J4", "F4", "2.4", "R"};
const char *const kPictures[] = {"$ZZZ,ZZ9.99CR", "$$$,$$9.99-", "ZZ9.99DB", "(ZZ,Z$9.00)"};
const char *const kShown[] = {"Z.ZZ9,99 DM", "$Z,ZZ9.99 CR ", "kr 9 999,00", "ZZ9,99 Dt"};
const char *const kNumbers[] = {"(1.234,50)", "1,234.50 CR", "-12 345,6", "kr 1'234.5"};
// The characters typed into numeric and yes/no fields, one per variant.
constexpr char kTypedChars[] = ",. '$DMkr\xa3yYnNjJoOsS";

const struct {
    const char *function;
    LocaleProbe probe;
    bool readsCurrent;  // a null name reads the current locale
} kLocaleProbes[] = {
    {"FMTIntlValDate", [](const char *n, int v) { return Edited(kDateTexts[v % 4], [&](char *t) {
         return std::to_string(FMTIntlValDate(t, 40, kDateDescriptors[v / 4 % 5], Arg(n).c_str())); }); }, true},
    {"FMTDeformatDate", [](const char *n, int v) { return Edited(kDateTexts[v % 4], [&](char *t) {
         return std::to_string(FMTDeformatDate(t, 40, kDateDescriptors[v / 4 % 5], Arg(n).c_str())); }); }, true},
    {"FMTConvertNumFormat", [](const char *n, int v) { return Edited(kPictures[v % 4], [&](char *t) {
         char out[48] = {};
         return FMTConvertNumFormat(t, Arg(n).c_str(), 40, out), std::string(out); }); }, true},
    {"FMTUnconvertNumFormat", [](const char *n, int v) { return Edited(kShown[v % 4], [&](char *t) {
         char out[48] = {};
         return FMTUnconvertNumFormat(t, Arg(n).c_str(), 40, out), std::string(out); }); }, true},
    {"FMTDeformatNum", [](const char *n, int v) {
         return Edited(kNumbers[v % 4], [&](char *t) { return FMTDeformatNum(t, Arg(n).c_str()), std::string(); }); }, true},
    {"UTLIsValidNumChar", [](const char *n, int v) {
         return std::to_string(UTLIsValidNumChar(static_cast<unsigned char>(kTypedChars[v]), v % 2 ? "$ZZ9" : "ZZ9", Arg(n).c_str()));
     }, true},
    {"UTLGetValidYesNo", [](const char *n, int v) {
         return std::to_string(UTLGetValidYesNo(static_cast<unsigned char>(kTypedChars[v]), nullptr, Arg(n).c_str()));
     }, true},
    {"UTLGetLocaleSettings", [](const char *n, int) {
         LocaleSettings s;
         UTLGetLocaleSettings(Arg(n).c_str(), &s);
         return std::string(reinterpret_cast<const char *>(&s), offsetof(LocaleSettings, spellDict)) + s.spellDict;
     }, false},
    {"FMTGetStrTime", [](const char *n, int v) {
         const std::string format = (n != nullptr ? std::string("%@") + n : "") + "%A, %<>B %#d %>b %Y";
         std::tm t{};
         t.tm_wday = v % 7, t.tm_mon = v % 12, t.tm_mday = 1 + v, t.tm_year = 100 + v;
         char out[80];
         return std::to_string(FMTGetStrTime(out, sizeof out, format.c_str(), &t)) + out;
     }, true},
};
constexpr int kProbes = static_cast<int>(std::size(kLocaleProbes));
constexpr int kVariants = 20;
static_assert(sizeof kTypedChars > kVariants);

// Eight threads call every probe with random locale arguments: the 46
// built-in locales and enough invented ones to make the settings cache grow
// while the others read it. One round in four reads the current locale,
// which a ninth thread keeps switching between two locales: the answer must
// be that of one of them, never a mix. Every other answer must be the one a
// single thread gets.
TEST(Concurrency, LocaleArgumentsWhileAnotherThreadSwitchesTheCurrentLocale) {
    std::vector<std::string> names;
    for (const auto &row : cmnw::locale::kLocaleRows) names.emplace_back(row.name);
    for (int i = 0; i < 40; ++i) names.push_back("Q" + std::to_string(10 + i));
    FMTSetHostLocale("DEM");

    const char *const kSwitched[2] = {"DEM", "FRF"};
    std::string current[2][kProbes][kVariants];
    for (int l = 0; l < 2; ++l) {
        UTLSetLocale(kSwitched[l]);
        for (int p = 0; p < kProbes; ++p)
            for (int v = 0; v < kVariants; ++v) current[l][p][v] = kLocaleProbes[p].probe(nullptr, v);
    }

    using Call = std::tuple<int, size_t, int, std::string>;  // probe, name, variant, answer
    std::vector<std::vector<Call>> calls(kThreads);
    std::vector<int> mixed(kThreads, 0);
    std::atomic<int> working{kThreads};
    std::thread switcher([&] { for (unsigned i = 0; working.load() > 0; ++i) UTLSetLocale(kSwitched[i & 1]); });
    RunTogether([&](int thread) {
        std::mt19937 rng(1234 + thread);
        for (int round = 0; round < 12000; ++round) {
            const int p = static_cast<int>(rng() % kProbes);
            const int v = static_cast<int>(rng() % kVariants);
            if (round % 4 == 0 && kLocaleProbes[p].readsCurrent) {
                const std::string answer = kLocaleProbes[p].probe(nullptr, v);
                const std::string name = UTLGetLocale();
                mixed[thread] += (answer != current[0][p][v] && answer != current[1][p][v]) ||
                                 (name != kSwitched[0] && name != kSwitched[1]);
                continue;
            }
            const size_t n = rng() % names.size();
            calls[thread].emplace_back(p, n, v, kLocaleProbes[p].probe(names[n].c_str(), v));
        }
        working.fetch_sub(1);
    });
    switcher.join();

    std::map<std::tuple<int, size_t, int>, std::string> alone;
    for (int thread = 0; thread < kThreads; ++thread) {
        EXPECT_EQ(mixed[thread], 0) << "thread " << thread;
        int wrong = 0;
        for (const auto &[p, n, v, answer] : calls[thread]) {
            auto [it, added] = alone.try_emplace({p, n, v});
            if (added) it->second = kLocaleProbes[p].probe(names[n].c_str(), v);
            if (answer != it->second && wrong++ < 3)
                ADD_FAILURE() << kLocaleProbes[p].function << " for " << names[n] << " variant " << v;
        }
        EXPECT_EQ(wrong, 0) << "thread " << thread;
    }
}

TEST(Concurrency, VersionRecordsOfTwoModulesAtOnce) {
    const std::string dir = CMNW_TEST_SOURCE_DIR "/tests/fixtures/version/";
    const std::string modules[2] = {dir + "verinfo.dll", dir + "notrans.dll"};
    const UTLVerInfo alone[2] = {UTLGetVerInfo(modules[0].c_str()), UTLGetVerInfo(modules[1].c_str())};
    std::atomic<int> wrong{0};
    RunTogether([&](int i) {
        for (int n = 0; n < 250; ++n) {
            const UTLVerInfo info = UTLGetVerInfo(modules[i % 2].c_str());
            wrong += std::memcmp(&info, &alone[i % 2], sizeof info) != 0;
        }
    });
    EXPECT_STRNE(alone[0].companyName, alone[1].companyName);
    EXPECT_EQ(wrong.load(), 0);
}

TEST(Concurrency, TraceLinesFromEightThreadsStayWhole) {
    cmnw::test::TempDir dir;
    UTLSetTraceName(dir.File("trace.log").c_str());
    constexpr int kLines = 200;
    RunTogether([&](int i) {
        for (int n = 0; n < kLines; ++n) UTLLogTrace("thread %d line %d end", i, n);
    });
    UTLLogTrace(nullptr);
    std::vector<int> seen(kThreads * kLines, 0);
    std::istringstream log(cmnw::test::ReadFile(dir.File("trace.log")));
    size_t lines = 0;
    for (std::string line; std::getline(log, line); ++lines) {
        int thread = -1, number = -1, end = 0;
        const size_t at = line.find("thread ");
        ASSERT_TRUE(at != std::string::npos &&
                    std::sscanf(line.c_str() + at, "thread %d line %d end%n", &thread, &number, &end) == 2 &&
                    at + end == line.size() && thread >= 0 && thread < kThreads && number >= 0 && number < kLines)
            << line;
        ++seen[thread * kLines + number];
    }
    EXPECT_EQ(lines, static_cast<size_t>(kThreads * kLines));
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), kThreads * kLines);
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
