#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstring>

#include "locale/locale_settings.h"

namespace {

// The cache key folds exactly the ASCII capitals, in every byte position,
// whatever the neighbouring bytes are.
TEST(LocaleKey, FoldsAsciiCapitalsOnly) {
    for (int c = 0; c < 256; ++c) {
        for (int pos = 0; pos < 8; ++pos) {
            unsigned char bytes[8];
            std::memset(bytes, 0xC4, sizeof bytes);  // a non-ASCII capital around it
            bytes[pos] = static_cast<unsigned char>(c);
            uint64_t word;
            std::memcpy(&word, bytes, 8);
            uint64_t folded = cmnw::locale::FoldAsciiCapitals(word);
            unsigned char out[8];
            std::memcpy(out, &folded, 8);
            int want = (c >= 'A' && c <= 'Z') ? c + 32 : c;
            EXPECT_EQ(out[pos], want) << c << " at " << pos;
            EXPECT_EQ(out[(pos + 1) % 8], 0xC4);
        }
    }
}

TEST(LocaleKey, NamesEqualWithoutRegardToCaseAndCutAt15) {
    using cmnw::locale::MakeLocaleKey;
    EXPECT_EQ(MakeLocaleKey("dem"), MakeLocaleKey("DEM"));
    EXPECT_EQ(MakeLocaleKey("DeM"), MakeLocaleKey("dEm"));
    EXPECT_FALSE(MakeLocaleKey("DEM") == MakeLocaleKey("DEMX"));
    EXPECT_FALSE(MakeLocaleKey("DEM") == MakeLocaleKey("DE"));
    EXPECT_FALSE(MakeLocaleKey("\xC4") == MakeLocaleKey("\xE4"));
    EXPECT_EQ(MakeLocaleKey("ABCDEFGHIJKLMNOP"), MakeLocaleKey("abcdefghijklmnoQ"));
    EXPECT_FALSE(MakeLocaleKey("ABCDEFGHIJKLMNO") == MakeLocaleKey("ABCDEFGHIJKLMNX"));
}

}  // namespace
