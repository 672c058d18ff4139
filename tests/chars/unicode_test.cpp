// The Unicode transforms against ICU, iconv and a model of the lenient decoder.
#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <cstring>
#include <random>
#include <string>

#include "chars/iconv_reference.h"
#include "cmnw32/unicode.h"
#include "common/cp1252.h"

namespace {

using cmnw::test::Convert;
using Units = std::u16string;

// One call with room units of output: what it wrote and the source it took.
std::pair<Units, size_t> DecodeOnce(const std::string &in, size_t room) {
    Units out(room + 1, u'\xABCD');
    const char *src = in.data();
    auto *dst = reinterpret_cast<uint16_t *>(out.data()), *begin = dst;
    Utf8ToUtf16(&src, in.data() + in.size(), &dst, begin + room);
    EXPECT_EQ(out[room], u'\xABCD') << "wrote past the room";
    return {out.substr(0, static_cast<size_t>(dst - begin)), static_cast<size_t>(src - in.data())};
}

std::pair<std::string, size_t> EncodeOnce(const Units &in, size_t room) {
    std::string out(room + 1, '#');
    auto *src = reinterpret_cast<const uint16_t *>(in.data()), *begin = src;
    char *dst = out.data();
    Utf16ToUtf8(&src, begin + in.size(), &dst, out.data() + room);
    EXPECT_EQ(out[room], '#') << "wrote past the room";
    return {out.substr(0, static_cast<size_t>(dst - out.data())), static_cast<size_t>(src - begin)};
}

std::pair<std::string, size_t> AnsiOnce(const std::string &in, size_t room, uint32_t flags) {
    std::string out(room + 1, '#');
    const char *src = in.data();
    char *dst = out.data();
    const uint32_t n = AnsiToUtf8Ex(&src, in.data() + in.size(), &dst, out.data() + room, flags);
    EXPECT_EQ(out[room], '#') << "wrote past the room";
    EXPECT_EQ(n, static_cast<uint32_t>(dst - out.data()));
    return {out.substr(0, n), static_cast<size_t>(src - in.data())};
}

// The whole source in one call with room for the longest result, or in
// pieces into rooms of 2..7 units or 4..15 bytes when rng is given: every
// call takes something, and the encoder leaves a byte of its room free.
template <typename In, typename Once>
auto Whole(Once once, const In &in, size_t full, size_t least, std::mt19937 *rng) {
    decltype(once(in, 0).first) out;
    for (size_t at = 0; at < in.size();) {
        const size_t room = rng ? least + (*rng)() % (least * 3) : full;
        const auto [piece, taken] = once(in.substr(at), room);
        EXPECT_TRUE(at + taken == in.size() || (rng && taken > 0)) << "stopped early";
        EXPECT_TRUE(least == 2 || piece.size() < room) << "no byte left free";
        if (taken == 0) break;
        out += piece;
        at += taken;
    }
    return out;
}

Units Decode(const std::string &in, std::mt19937 *rng = nullptr) {
    return Whole(DecodeOnce, in, in.size() + 2, 2, rng);
}

std::string Encode(const Units &in, std::mt19937 *rng = nullptr) {
    return Whole(EncodeOnce, in, in.size() * 3 + 1, 4, rng);
}

// The units in an ICU charset.
std::string FromUnits(const char *charset, const Units &units) {
    UErrorCode status = U_ZERO_ERROR;
    UConverter *cnv = ucnv_open(charset, &status);
    std::string out(units.size() * 3 + 4, '\0');
    const int32_t n = ucnv_fromUChars(cnv, out.data(), static_cast<int32_t>(out.size()),
                                      units.data(), static_cast<int32_t>(units.size()), &status);
    ucnv_close(cnv);
    EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    return out.substr(0, static_cast<size_t>(std::max(n, 0)));
}

TEST(UtfReference, ValidTextMatchesIcuUtf8AndCesu8) {
    // Weighted towards the ranges where the encodings change length.
    const std::pair<uint32_t, uint32_t> ranges[] = {
        {0x00, 0x7F},    {0x80, 0xFF},     {0x370, 0x3FF},     {0x100, 0x7FF},
        {0x800, 0xD7FF}, {0xE000, 0xFFFF}, {0x10000, 0x10FFFF}};
    std::mt19937 rng(20240611);
    for (int round = 0; round < 400; ++round) {
        Units units;
        for (size_t n = rng() % 64; n > 0; --n) {
            const auto [lo, hi] = ranges[rng() % std::size(ranges)];
            const uint32_t c = lo + rng() % (hi - lo + 1);
            if (c >= 0x10000) units += static_cast<char16_t>(0xD7C0 + (c >> 10));
            units += static_cast<char16_t>(c >= 0x10000 ? 0xDC00 | (c & 0x3FF) : c);
        }
        ASSERT_EQ(Decode(FromUnits("UTF-8", units)), units) << "round " << round;
        ASSERT_EQ(Encode(units), FromUnits("CESU-8", units)) << "round " << round;
    }
}

// The lenient decoder written plainly, for any bytes.
Units ModelDecode(const std::string &in) {
    Units out;
    auto byte = [&](size_t k) { return static_cast<uint32_t>(static_cast<uint8_t>(in[k])); };
    for (size_t i = 0; i < in.size();) {
        const uint32_t lead = byte(i);
        size_t len = lead >= 0xF0 && lead <= 0xF4 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (lead > 0xF4 || i + len > in.size()) len = 1;
        uint32_t value = len == 1 ? lead : lead & (0x7F >> len);
        for (size_t k = 1; k < len; ++k) value = value << 6 | (byte(i + k) & 0x3F);
        if (len == 4) {
            value -= 0x10000;
            out += static_cast<char16_t>(0xD800 | (value >> 10));
            value = 0xDC00 | (value & 0x3FF);
        }
        out += static_cast<char16_t>(value);
        i += len;
    }
    return out;
}

TEST(UtfReference, MalformedUtf8MatchesTheLenientModelInAnyPieces) {
    std::mt19937 rng(77);
    for (int round = 0; round < 3000; ++round) {
        // Mostly lead and continuation bytes, some ASCII runs; every third
        // text long enough to reach the block path.
        std::string in(round % 3 == 0 ? rng() % 40 : 0, 'a');
        for (size_t n = rng() % 48; n > 0; --n) {
            const unsigned pick = rng() % 8;
            in += static_cast<char>(pick < 2   ? 0x20 + rng() % 0x5F
                                    : pick < 5 ? 0x80 + rng() % 0x40
                                               : 0xC0 + rng() % 0x40);
        }
        const Units want = ModelDecode(in);
        ASSERT_EQ(Decode(in), want) << "round " << round;
        ASSERT_EQ(Decode(in, &rng), want) << "round " << round;
    }
}

TEST(UtfReference, Utf16InPiecesAddsUpToTheWhole) {
    std::mt19937 rng(99);
    for (int round = 0; round < 2000; ++round) {
        Units in(rng() % 40, u'\0');
        for (char16_t &u : in) {
            const unsigned pick = rng() % 4;
            u = static_cast<char16_t>(pick == 0   ? rng() % 0x80
                                      : pick == 1 ? 0xD800 + rng() % 0x800
                                                  : rng() % 0x10000);
        }
        const std::string whole = Encode(in);
        ASSERT_EQ(Encode(in, &rng), whole);
        // Each unit on its own, so the output decodes back unit for unit.
        ASSERT_EQ(ModelDecode(whole), in);
    }
}

TEST(AnsiReference, EveryByteMatchesIconv) {
    const auto cp1252 = cmnw::test::DecodeCodePage("CP1252");
    for (unsigned b = 1; b < 256; ++b) {
        const std::string byte(1, static_cast<char>(b));
        const auto latin1 = Convert("ISO-8859-1", "UTF-8", byte);
        // The undefined bytes stand for themselves.
        const auto utf8 = Convert("CP1252", "UTF-8", byte).value_or(*latin1);
        for (uint32_t flags : {0u, 1u}) {
            char out[4];
            const char *src = byte.data();
            char *dst = out;
            const uint32_t n = AnsiToUtf8Ex(&src, byte.data() + 1, &dst, out + 4, flags);
            EXPECT_EQ(std::string(out, n), flags ? utf8 : *latin1) << std::hex << b;
        }
        uint16_t wide[2];
        UTLuastrcpy(wide, byte.c_str());
        EXPECT_EQ(wide[0], cp1252[b] < 0 ? b : static_cast<unsigned>(cp1252[b])) << std::hex << b;
        EXPECT_EQ(wide[1], 0);
        // And back: the UTF-8 form narrows to the byte again.
        std::string back = utf8;
        ASSERT_EQ(UTLUtf8ToAnsi(back.data(), static_cast<int32_t>(back.size())), 1);
        EXPECT_EQ(static_cast<uint8_t>(back[0]), b);
    }
}

TEST(AnsiReference, EveryBmpCharacterNarrowsAsIconvSays) {
    for (uint32_t c = 0x80; c < 0x10000; ++c) {
        if (c >= 0xD800 && c < 0xE000) continue;
        char utf8[4];
        const int32_t n = Utf16CharToUtf8(static_cast<int32_t>(c), utf8);
        std::string text(utf8, static_cast<size_t>(n));
        const auto reference = Convert("UTF-8", "CP1252", text);
        const char want = c < 0x100 ? static_cast<char>(c) : reference ? (*reference)[0] : '?';
        ASSERT_EQ(UTLUtf8ToAnsi(text.data(), n), 1) << std::hex << c;
        ASSERT_EQ(text[0], want) << std::hex << c;
        // Characters one at a time (the version texts): the undefined bytes
        // stand for themselves, other C1 controls are lacking.
        const bool self = c < 0xA0 ? cmnw::kCp1252High[c - 0x80] == c : c < 0x100;
        ASSERT_EQ(static_cast<char>(cmnw::Cp1252ByteOf(c)),
                  reference ? (*reference)[0] : self ? want : '?')
            << std::hex << c;
    }
}

TEST(Utf16CharToUtf8, WritesOneToFourBytes) {
    const struct { int32_t c; const char *want; } cases[] = {
        {0xD800, "\xED\xA0\x80"}, {0x10FFFF, "\xF4\x8F\xBF\xBF"}, {0x110000, ""}, {-1, ""}};
    for (const auto &c : cases) {
        char out[6] = "#####";
        int32_t n = Utf16CharToUtf8(c.c, out);
        EXPECT_EQ(std::string(out, static_cast<size_t>(n)), c.want) << std::hex << c.c;
        EXPECT_EQ(out[n], '#');
    }
}

TEST(AnsiToUtf8, StopsBeforeACharacterThatDoesNotFit) {
    const struct { const char *in; size_t room; uint32_t flags; const char *want; size_t taken; } cases[] = {
        {"ab\x80", 4, 1, "ab", 2},  {"ab\x80", 5, 1, "ab\xE2\x82\xAC", 3},
        {"abcdefghijklmnopqrstuvwxyz", 20, 0, "abcdefghijklmnopqrst", 20}, {"x", 0, 0, "", 0},
    };
    for (const auto &c : cases) {
        auto [out, taken] = AnsiOnce(c.in, c.room, c.flags);
        EXPECT_EQ(out, c.want) << c.in << " room " << c.room;
        EXPECT_EQ(taken, c.taken) << c.in << " room " << c.room;
    }
}

TEST(Utf8ToUtf16, DecodesLenientlyAndStopsSafely) {
    const struct { std::string in; size_t room; Units want; size_t taken; } cases[] = {
        {"\xC0\x80", 4, Units(1, u'\0'), 2},      // overlong forms decode as they stand
        {"ab\xE2\x82", 4, u"ab\u00E2\u0082", 4},  // cut short by the source end
        {"a\xF0\x9F\x98\x80", 2, u"a", 1},        // no room for a surrogate pair
        {"ab", 0, u"", 0},
        {"0123456789abcdefghij", 17, u"0123456789abcdefg", 17},
    };
    for (const auto &c : cases) {
        auto [out, taken] = DecodeOnce(c.in, c.room);
        EXPECT_EQ(out, c.want) << c.in << " room " << c.room;
        EXPECT_EQ(taken, c.taken) << c.in << " room " << c.room;
    }
}

TEST(Utf8ToUtf16Char, LowHalfIsTheFirstUnit) {
    const struct { const char *in; uint32_t want; } cases[] = {
        {"A", 0x00000041},          // then the terminator
        {"\xC3\xA9x", 0x007800E9},  // then the next character
        {"\xF0\x9F\x98\x80", 0xDE00D83D},  // lead and trail surrogate
        {"", 0xFFFF0000},                  // nothing after the terminator is read
        {"\xE2\x82", 0xFFFF2080},          // the terminator ends the sequence
        {"\xF0\x9F", 0x009F00F0},          // cut short: bytes pass through
    };
    for (const auto &c : cases) {
        std::vector<char> exact(c.in, c.in + std::strlen(c.in) + 1);  // exact size for ASan
        EXPECT_EQ(static_cast<uint32_t>(Utf8ToUtf16Char(exact.data())), c.want) << c.in;
    }
}

TEST(UTLUtf8ToAnsi, NarrowsInPlace) {
    const struct { std::string in; int32_t len; std::string want; } cases[] = {
        {"\xF0\x9F\x98\x80!", 5, "?!"},  // four bytes become one character
        {"\xE2\x82\xAC", 2, "?"},        // a three-byte lead cut short by len
        {"\xC3", 1, "\xC3"},
        {"\xE0\x85\x92", 3, "?"},  // overlong U+0152 is not a two-byte sequence
        {"ab\x80z", 4, "ab\x80z"},
    };
    for (const auto &c : cases) {
        std::string s = c.in;
        int32_t n = UTLUtf8ToAnsi(s.data(), c.len);
        ASSERT_EQ(n, static_cast<int32_t>(c.want.size())) << c.in;
        EXPECT_EQ(s.substr(0, static_cast<size_t>(n)), c.want) << c.in;
        EXPECT_EQ(s.substr(static_cast<size_t>(c.len)), c.in.substr(static_cast<size_t>(c.len)));
    }
}

}  // namespace
