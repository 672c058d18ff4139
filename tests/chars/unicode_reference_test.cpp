// The Unicode transforms against independent references: ICU for UTF-8 and
// CESU-8, iconv for code page 1252, and a plain model of the lenient decoder
// for malformed input.
#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <random>
#include <string>

#include "chars/iconv_reference.h"
#include "cmnw32/unicode.h"
#include "common/cp1252.h"

namespace {

using cmnw::test::Convert;
using Units = std::u16string;

// Decodes or encodes the whole source in one call with room for the longest
// result, or piecewise into rooms of 2..5 units or 4..15 bytes when rng is
// given: every call must take something and write nothing past its room.
Units Decode(const std::string &in, std::mt19937 *rng = nullptr) {
    Units out;
    for (const char *src = in.data(), *end = src + in.size(); src != end;) {
        const size_t room = rng ? 2 + (*rng)() % 4 : in.size() + 2;
        Units chunk(room + 1, u'\xABCD');
        auto *dst = reinterpret_cast<uint16_t *>(chunk.data()), *begin = dst;
        const char *before = src;
        Utf8ToUtf16(&src, end, &dst, begin + room);
        EXPECT_EQ(chunk[room], u'\xABCD');
        EXPECT_TRUE(src == end || (rng && src > before)) << "stopped early";
        if (src == before) break;
        out.append(chunk.data(), static_cast<size_t>(dst - begin));
    }
    return out;
}

std::string Encode(const Units &in, std::mt19937 *rng = nullptr) {
    std::string out;
    auto *src = reinterpret_cast<const uint16_t *>(in.data()), *end = src + in.size();
    while (src != end) {
        const size_t room = rng ? 4 + (*rng)() % 12 : in.size() * 3 + 1;
        std::string chunk(room + 1, '#');
        char *dst = chunk.data();
        const uint16_t *before = src;
        Utf16ToUtf8(&src, end, &dst, chunk.data() + room);
        EXPECT_EQ(chunk[room], '#');
        EXPECT_LT(dst, chunk.data() + room) << "no byte left free";
        EXPECT_TRUE(src == end || (rng && src > before)) << "stopped early";
        if (src == before) break;
        out.append(chunk.data(), dst);
    }
    return out;
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

}  // namespace
