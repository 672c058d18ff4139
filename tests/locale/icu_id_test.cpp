#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "cmnw32/locale.h"

namespace {

TEST(IcuId, EveryTableNameAndOthers) {
    struct Case {
        const char *name;
        const char *id;
    };
    const Case cases[] = {
        {"USD", "en_US"}, {"ZAA", "en_US"}, {"ESB", "en_US"}, {"ESC", "en_US"}, {"DKK", "en_US"},
        {"BED", "en_US"}, {"NLG", "en"},    {"AUD", "en"},    {"CAN", "en"},    {"IEP", "en"},
        {"NZD", "en"},    {"ZAR", "en"},    {"GBP", "en_GB"}, {"EUR", "en_US"}, {"FIM", "en_US"},
        {"BEF", "fr"},    {"CAD", "fr_CA"}, {"FRF", "fr"},    {"FLX", "fr"},    {"CHH", "fr"},
        {"ATS", "en_US"}, {"DEM", "en_US"}, {"CHL", "en_US"}, {"LUF", "en_US"}, {"ISK", "en_US"},
        {"IDR", "en_US"}, {"ITL", "en_US"}, {"CHI", "en_US"}, {"NOK", "en_US"}, {"BRC", "en_US"},
        {"PTE", "en_US"}, {"ESP", "en_US"}, {"ARS", "en_US"}, {"BOB", "en_US"}, {"CLP", "en_US"},
        {"COP", "en_US"}, {"CRC", "en_US"}, {"ECS", "en_US"}, {"GTQ", "en_US"}, {"MXN", "en_US"},
        {"PAB", "en_US"}, {"PYG", "en_US"}, {"PES", "en_US"}, {"UYU", "en_US"}, {"VEB", "en_US"},
        {"SEK", "en_US"}, {"FMK", "en_US"}, {"CHF", "en_US"}, {"dem", "en_US"}, {"gbp", "en_GB"},
        {"Cad", "fr_CA"}, {"XYZ", ""},      {"", ""},         {"US", ""},       {"USDX", ""},
    };
    for (const Case &c : cases) {
        char out[16];
        std::memset(out, 'x', sizeof out);
        UTLFMT2ICULocale(c.name, out, sizeof out);
        EXPECT_STREQ(out, c.id) << c.name;
        // After an id the rest of the buffer is cleared; without one only
        // the first byte is written.
        if (c.id[0] == '\0') {
            EXPECT_EQ(out[1], 'x') << c.name;
            continue;
        }
        EXPECT_EQ(std::string(out + std::strlen(out), sizeof out - std::strlen(out)),
                  std::string(sizeof out - std::strlen(out), '\0'))
            << c.name;
    }
}

TEST(IcuId, ShortAndMissingBuffers) {
    char out[8];
    std::memset(out, 'x', sizeof out);
    UTLFMT2ICULocale("CAD", out, 3);
    EXPECT_STREQ(out, "fr");
    EXPECT_EQ(out[3], 'x');
    std::memset(out, 'x', sizeof out);
    UTLFMT2ICULocale("CAD", out, 0);
    UTLFMT2ICULocale("CAD", out, -5);
    EXPECT_EQ(out[0], 'x');
    UTLFMT2ICULocale(nullptr, out, sizeof out);
    EXPECT_STREQ(out, "");
    UTLFMT2ICULocale("CAD", nullptr, 8);
    UTLFMT2ICULocale("CAD", out, 1);
    EXPECT_STREQ(out, "");
}

}  // namespace
