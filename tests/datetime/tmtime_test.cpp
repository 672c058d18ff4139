// Reading broken-down times from text: the lenient scanner, its range
// checks, the derived day of year and day of week, and reading back what
// FMTGetStrTime wrote.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <ctime>
#include <random>
#include <string>

#include "cmnw32/date.h"
#include "cmnw32/locale.h"
#include "cmnw32/time.h"

namespace {

struct Fields {
    int sec, min, hour, mday, mon, year, wday, yday;
};

Fields Of(const std::tm &t) {
    return {t.tm_sec, t.tm_min, t.tm_hour, t.tm_mday, t.tm_mon, t.tm_year, t.tm_wday, t.tm_yday};
}

bool operator==(const Fields &a, const Fields &b) { return std::memcmp(&a, &b, sizeof a) == 0; }

std::ostream &operator<<(std::ostream &os, const Fields &f) {
    return os << f.year + 1900 << "-" << f.mon + 1 << "-" << f.mday << " " << f.hour << ":"
              << f.min << ":" << f.sec << " wday " << f.wday << " yday " << f.yday;
}

TEST(TMTime, ReadsTexts) {
    UTLSetLocale("USD");
    struct Case {
        const char *text;
        const char *format;
        int result;
        Fields fields;
    } cases[] = {
        {"5/24/60", "%m/%d/%y", 0, {0, 0, 0, 24, 4, 60, 2, 144}},
        {"24:00:00", "%H:%M:%S", 0, {0, 0, 24, 1, 0, 0, 1, 0}},
        {"366/2008", "%j/%Y", 0, {0, 0, 0, 31, 11, 108, 3, 365}},
        {"05/24", "%m/%d/%Y", 0, {0, 0, 0, 24, 4, 0, 4, 143}},  // ends early
        {"on 2007-05-24 at 14h05", "%Y %m %d %H %M", 0, {0, 5, 14, 24, 4, 107, 4, 143}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        std::tm tm;
        std::memset(&tm, 0x55, sizeof tm);
        EXPECT_EQ(FMTGetTMTime(c.text, c.format, &tm), c.result);
        EXPECT_EQ(Of(tm), c.fields);
        EXPECT_EQ(tm.tm_isdst, 0);
    }
}

TEST(TMTime, RangeChecksFail) {
    UTLSetLocale("USD");
    struct Case {
        const char *text;
        const char *format;
    } cases[] = {
        {"25:00:00", "%H:%M:%S"}, {"10:60:00", "%H:%M:%S"}, {"10:00:60", "%H:%M:%S"},
        {"0/5/2007", "%m/%d/%Y"},  {"13/5/2007", "%m/%d/%Y"}, {"5/32/2007", "%m/%d/%Y"},
        {"5/24/0", "%m/%d/%Y"},    {"000/2007", "%j/%Y"},     {"367/2007", "%j/%Y"},
        {"Mayo 24", "%m %d"},      {"Smarch 3", "%B %d"},     {"5/24/", "%m/%d/%y"},
        {"", "%m"},
    };
    for (const Case &c : cases) {
        std::tm tm{};
        EXPECT_EQ(FMTGetTMTime(c.text, c.format, &tm), 1) << c.text << " " << c.format;
    }
    // The fields read before the failing one stay.
    std::tm tm{};
    EXPECT_EQ(FMTGetTMTime("5/24/2007 25:00", "%m/%d/%Y %H:%M", &tm), 1);
    EXPECT_EQ(tm.tm_year * 10000 + tm.tm_mon * 100 + tm.tm_mday, 1070424);
}

TEST(TMTime, ReadsBackWhatStrTimeWrote) {
    UTLSetLocale("USD");
    std::mt19937 rng(1999);
    // Any second of 1950..2049 (the two-digit years of the default window).
    std::uniform_int_distribution<long long> seconds(-631152000LL, 2524607999LL);
    const char *formats[] = {
        "%m/%d/%Y %H:%M:%S", "%d.%m.%Y", "%B %d, %Y %H:%M", "%b %#d %y", "%Y%m%d%H%M%S",
        "%#d-%<b-%Y %#H.%#M.%#S", "%j/%Y", "%>B %y", "%Y, %j %I",
    };
    for (int i = 0; i < 3000; ++i) {
        const time_t t = static_cast<time_t>(seconds(rng));
        std::tm written{};
        gmtime_r(&t, &written);
        for (const char *format : formats) {
            char text[80];
            ASSERT_GT(FMTGetStrTime(text, sizeof text, format, &written), 0);
            std::tm read{};
            ASSERT_EQ(FMTGetTMTime(text, format, &read), 0) << text << " / " << format;
            // Compare the fields the format holds; the derived ones follow the date.
            const std::string f = format;
            const bool hasDay = f.find('d') != std::string::npos || f.find('j') != std::string::npos;
            const auto has = [&f](const char *c) { return f.find(c) != std::string::npos; };
            const Fields w = Of(written), r = Of(read);
            ASSERT_EQ((std::array{r.mon, r.year, hasDay ? r.mday : 0, hasDay ? r.yday : 0,
                                  hasDay ? r.wday : 0, has("%H") ? r.hour : 0,
                                  has("%M") ? r.min : 0, has("%S") ? r.sec : 0}),
                      (std::array{w.mon, w.year, hasDay ? w.mday : 0, hasDay ? w.yday : 0,
                                  hasDay ? w.wday : 0, has("%H") ? w.hour : 0,
                                  has("%M") ? w.min : 0, has("%S") ? w.sec : 0}))
                << text << " / " << format;
        }
    }
}

}  // namespace
