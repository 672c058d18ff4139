// The Unicode transforms against independent references: iconv for UTF-8,
// UTF-16 and code page 1252, ICU for CESU-8, and a plain model of the
// lenient decoder for malformed input.
#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <random>
#include <string>
#include <vector>

#include "chars/iconv_reference.h"
#include "cmnw32/unicode.h"
#include "common/cp1252.h"

namespace {

using cmnw::test::Convert;
using Units = std::vector<uint16_t>;

std::string Utf32Bytes(const std::vector<uint32_t> &codePoints) {
    std::string bytes;
    for (uint32_t c : codePoints) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>(c >> (8 * i)));
    }
    return bytes;
}

Units UnitsOf(const std::string &utf16le) {
    Units units(utf16le.size() / 2);
    for (size_t i = 0; i < units.size(); ++i) {
        units[i] = static_cast<uint16_t>(static_cast<uint8_t>(utf16le[2 * i]) |
                                         static_cast<uint8_t>(utf16le[2 * i + 1]) << 8);
    }
    return units;
}

std::string BytesOf(const Units &units) {
    std::string bytes;
    for (uint16_t u : units) {
        bytes.push_back(static_cast<char>(u & 0xFF));
        bytes.push_back(static_cast<char>(u >> 8));
    }
    return bytes;
}

Units Decode(const std::string &utf8, size_t roomFactor = 1) {
    Units out(utf8.size() * roomFactor + 2);
    const char *src = utf8.data();
    uint16_t *dst = out.data();
    Utf8ToUtf16(&src, utf8.data() + utf8.size(), &dst, out.data() + out.size());
    EXPECT_EQ(src, utf8.data() + utf8.size());
    out.resize(static_cast<size_t>(dst - out.data()));
    return out;
}

std::string Encode(const Units &units) {
    std::string out(units.size() * 3 + 1, '\0');
    const uint16_t *src = units.data();
    char *dst = out.data();
    Utf16ToUtf8(&src, units.data() + units.size(), &dst, out.data() + out.size());
    EXPECT_EQ(src, units.data() + units.size());
    out.resize(static_cast<size_t>(dst - out.data()));
    return out;
}

std::vector<uint32_t> RandomCodePoints(std::mt19937 &rng, size_t n) {
    // Weighted towards the ranges where the encodings change length.
    const std::pair<uint32_t, uint32_t> ranges[] = {
        {0x00, 0x7F},    {0x80, 0xFF},     {0x370, 0x3FF},     {0x100, 0x7FF},
        {0x800, 0xD7FF}, {0xE000, 0xFFFF}, {0x10000, 0x10FFFF}};
    std::vector<uint32_t> out;
    for (size_t i = 0; i < n; ++i) {
        auto [lo, hi] = ranges[rng() % std::size(ranges)];
        out.push_back(lo + rng() % (hi - lo + 1));
    }
    return out;
}

TEST(UtfReference, ValidTextMatchesIconvAndCesu8) {
    std::mt19937 rng(20240611);
    UErrorCode status = U_ZERO_ERROR;
    for (int round = 0; round < 400; ++round) {
        std::string utf32 = Utf32Bytes(RandomCodePoints(rng, rng() % 64));
        auto utf8 = Convert("UTF-32LE", "UTF-8", utf32);
        auto utf16 = Convert("UTF-32LE", "UTF-16LE", utf32);
        ASSERT_TRUE(utf8 && utf16);
        Units units = UnitsOf(*utf16);
        EXPECT_EQ(Decode(*utf8), units) << "round " << round;

        std::string wide = BytesOf(units);
        std::string cesu(wide.size() * 2 + 4, '\0');
        status = U_ZERO_ERROR;
        int32_t n =
            ucnv_convert("CESU-8", "UTF-16LE", cesu.data(), static_cast<int32_t>(cesu.size()),
                         wide.data(), static_cast<int32_t>(wide.size()), &status);
        ASSERT_TRUE(U_SUCCESS(status)) << u_errorName(status);
        cesu.resize(static_cast<size_t>(n));
        EXPECT_EQ(Encode(units), cesu) << "round " << round;
    }
}

// The lenient decoder written plainly, for any bytes.
Units ModelDecode(const std::string &in) {
    Units out;
    size_t i = 0;
    auto byte = [&](size_t k) { return static_cast<uint32_t>(static_cast<uint8_t>(in[k])); };
    while (i < in.size()) {
        uint32_t lead = byte(i);
        size_t len = lead >= 0xF0 && lead <= 0xF4   ? 4
                     : lead >= 0xE0 && lead <= 0xEF ? 3
                     : lead >= 0xC0 && lead <= 0xDF ? 2
                                                    : 1;
        if (i + len > in.size()) len = 1;
        uint32_t value = lead;
        if (len == 2) value = (lead & 0x1F) << 6 | (byte(i + 1) & 0x3F);
        if (len == 3)
            value = (lead & 0x0F) << 12 | (byte(i + 1) & 0x3F) << 6 | (byte(i + 2) & 0x3F);
        if (len == 4) {
            value = ((lead & 7) << 18 | (byte(i + 1) & 0x3F) << 12 | (byte(i + 2) & 0x3F) << 6 |
                     (byte(i + 3) & 0x3F)) -
                    0x10000;
            out.push_back(static_cast<uint16_t>(0xD800 | (value >> 10)));
            value = 0xDC00 | (value & 0x3FF);
        }
        out.push_back(static_cast<uint16_t>(value));
        i += len;
    }
    return out;
}

std::string RandomBytes(std::mt19937 &rng, size_t n) {
    std::string s(n, '\0');
    for (char &c : s) {
        unsigned pick = rng() % 8;
        // Mostly lead and continuation bytes, some ASCII runs.
        c = static_cast<char>(pick < 2   ? 0x20 + rng() % 0x5F
                              : pick < 5 ? 0x80 + rng() % 0x40
                                         : 0xC0 + rng() % 0x40);
    }
    return s;
}

TEST(UtfReference, MalformedUtf8MatchesTheLenientModelInAnyPieces) {
    std::mt19937 rng(77);
    for (int round = 0; round < 3000; ++round) {
        std::string in = RandomBytes(rng, rng() % 48);
        if (round % 3 == 0) in = std::string(rng() % 40, 'a') + in;  // reach the block path
        Units want = ModelDecode(in);
        ASSERT_EQ(Decode(in), want) << "round " << round;

        // Piecewise, with destinations of two units or more: every call makes
        // progress and the pieces add up to the whole.
        Units pieces;
        const char *src = in.data();
        const char *srcEnd = in.data() + in.size();
        while (src != srcEnd) {
            size_t room = 2 + rng() % 4;
            Units chunk(room + 1, 0xABCD);
            uint16_t *dst = chunk.data();
            const char *before = src;
            Utf8ToUtf16(&src, srcEnd, &dst, chunk.data() + room);
            ASSERT_EQ(chunk[room], 0xABCD);
            ASSERT_GT(src, before) << "no progress in round " << round;
            pieces.insert(pieces.end(), chunk.data(), dst);
        }
        ASSERT_EQ(pieces, want) << "round " << round;
    }
}

TEST(UtfReference, Utf16InPiecesAddsUpToTheWhole) {
    std::mt19937 rng(99);
    for (int round = 0; round < 2000; ++round) {
        Units in(rng() % 40);
        for (uint16_t &u : in) {
            unsigned pick = rng() % 4;
            u = static_cast<uint16_t>(pick == 0   ? rng() % 0x80
                                      : pick == 1 ? 0xD800 + rng() % 0x800
                                                  : rng() % 0x10000);
        }
        std::string whole = Encode(in);
        std::string pieces;
        const uint16_t *src = in.data();
        const uint16_t *srcEnd = in.data() + in.size();
        while (src != srcEnd) {
            size_t room = 4 + rng() % 12;  // 4 bytes always take one unit
            std::string chunk(room + 1, '#');
            char *dst = chunk.data();
            const uint16_t *before = src;
            Utf16ToUtf8(&src, srcEnd, &dst, chunk.data() + room);
            ASSERT_EQ(chunk[room], '#');
            ASSERT_LT(dst, chunk.data() + room) << "no byte left free";
            ASSERT_GT(src, before);
            pieces.append(chunk.data(), dst);
        }
        ASSERT_EQ(pieces, whole);
        // Each unit on its own, so the output decodes back unit for unit.
        ASSERT_EQ(ModelDecode(whole), in);
    }
}

TEST(AnsiReference, EveryByteMatchesIconv) {
    for (unsigned b = 1; b < 256; ++b) {
        std::string byte(1, static_cast<char>(b));
        auto latin1 = Convert("ISO-8859-1", "UTF-8", byte);
        auto cp1252 = Convert("CP1252", "UTF-8", byte);
        ASSERT_TRUE(latin1);
        if (!cp1252) cp1252 = latin1;  // the undefined bytes stand for themselves
        char out[4];
        for (uint32_t flags : {0u, 1u}) {
            const char *src = byte.data();
            char *dst = out;
            uint32_t n = AnsiToUtf8Ex(&src, byte.data() + 1, &dst, out + 4, flags);
            EXPECT_EQ(std::string(out, n), flags ? *cp1252 : *latin1) << std::hex << b;
        }
        uint16_t wide[2];
        UTLuastrcpy(wide, byte.c_str());
        auto utf16 = Convert("UTF-8", "UTF-16LE", *cp1252);
        EXPECT_EQ(wide[0], UnitsOf(*utf16)[0]) << std::hex << b;
        EXPECT_EQ(wide[1], 0);

        // And back: the UTF-8 form narrows to the byte again.
        std::string back = *cp1252;
        ASSERT_EQ(UTLUtf8ToAnsi(back.data(), static_cast<int32_t>(back.size())), 1);
        EXPECT_EQ(static_cast<uint8_t>(back[0]), b);
    }
}

TEST(AnsiReference, EveryBmpCharacterNarrowsAsIconvSays) {
    for (uint32_t c = 0x80; c < 0x10000; ++c) {
        if (c >= 0xD800 && c < 0xE000) continue;
        char utf8[4];
        int32_t n = Utf16CharToUtf8(static_cast<int32_t>(c), utf8);
        std::string text(utf8, static_cast<size_t>(n));
        auto reference = Convert("UTF-8", "CP1252", text);
        char want = c < 0x100 ? static_cast<char>(c) : reference ? (*reference)[0] : '?';
        ASSERT_EQ(UTLUtf8ToAnsi(text.data(), n), 1) << std::hex << c;
        ASSERT_EQ(text[0], want) << std::hex << c;
        // Characters one at a time (the version texts): the undefined bytes
        // stand for themselves, other C1 controls are lacking.
        const bool self = c < 0xA0 ? cmnw::kCp1252High[c - 0x80] == c : c < 0x100;
        ASSERT_EQ(static_cast<char>(cmnw::Cp1252ByteOf(c)), reference ? (*reference)[0]
                                                            : self    ? want
                                                                      : '?')
            << std::hex << c;
    }
}

}  // namespace
