// The vector UTF transforms give the portable ones' output and stop positions.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string_view>
#include <vector>

#include "chars/utf.h"
#include "common/test_support.h"

namespace cmnw::chars {
namespace {

using namespace std::string_view_literals;

constexpr size_t kLongest = 300;

// Cut short, or read by the lenient decoder otherwise than by strict UTF-8.
constexpr std::string_view kMalformed[] = {
    "\x80"sv,         "\xBF"sv,         "\xC3"sv,         "\xE4\xB8"sv,     "\xF0\x9F\x98"sv,
    "\xC0\x80"sv,     "\xC1\xBF"sv,     "\xE0\x80\x80"sv, "\xE0\x9F\xBF"sv, "\xED\xA0\x80"sv,
    "\xED\xBF\xBF"sv, "\xF5\x80"sv,     "\xF0\x80\x80\x80"sv, "\xF4\x90\x80\x80"sv, "\xFF"sv,
    "\xC3\xC3"sv,     "\xE4\x41\x80"sv};

// Characters of one to three bytes and a few of four, cut to length bytes;
// at level 1 about one in 200 pieces is malformed, at level 2 one in 6.
std::vector<uint8_t> RandomUtf8(std::mt19937 &rng, size_t length, int level) {
    std::vector<uint8_t> text;
    while (text.size() < length) {
        const unsigned pick = rng() % 1200;
        if (pick < (level == 0 ? 0U : level == 1 ? 6U : 200U)) {
            const std::string_view bad = kMalformed[rng() % std::size(kMalformed)];
            text.insert(text.end(), bad.begin(), bad.end());
            continue;
        }
        uint32_t c = pick % 8 < 4     ? rng() % 0x80
                     : pick % 8 < 6   ? 0x80 + rng() % 0x780
                     : pick % 64 != 7 ? 0x800 + rng() % 0xF800
                                      : 0x10000 + rng() % 0x100000;
        if (c >= 0xD800 && c < 0xE000) c -= 0x800;
        uint8_t bytes[4];
        text.insert(text.end(), bytes, bytes + EncodeCodePoint(static_cast<int32_t>(c), bytes));
    }
    text.resize(length);
    return text;
}

// Units from every range, surrogates included.
std::vector<uint16_t> RandomUtf16(std::mt19937 &rng, size_t length, int) {
    static constexpr uint32_t kBase[] = {0, 0x80, 0xD800, 0x4E00, 0};
    static constexpr uint32_t kSpan[] = {0x80, 0x780, 0x800, 0x5000, 0x10000};
    std::vector<uint16_t> units(length);
    for (auto &u : units) {
        const unsigned range = rng() % 5;
        u = static_cast<uint16_t>(kBase[range] + rng() % kSpan[range]);
    }
    return units;
}

// Offsets 0..63 in a buffer whose bytes after the text would change the
// result if read; offset 64 puts the text's end at an unreadable page. Each
// path writes into room units that end at an unreadable page.
template <typename Unit, typename Out, typename Make, typename Fast, typename Slow>
void CompareAll(Make make, Fast fast, Slow slow, size_t roomPerUnit) {
    std::mt19937 rng(22);
    alignas(64) Unit placed[64 + kLongest + 64];
    test::GuardedBuffer guard(kLongest * sizeof(Unit)), fastOut(4096), slowOut(4096);
    for (size_t n = 0; n <= kLongest; ++n) {
        for (size_t offset = 0; offset <= 64; ++offset) {
            const auto text = make(rng, n, static_cast<int>(offset % 3));
            Unit *src = offset < 64 ? placed + offset : reinterpret_cast<Unit *>(guard.end()) - n;
            std::copy(text.begin(), text.end(), src);
            if (offset < 64) std::fill(src + n, std::end(placed), Unit{0xE4});
            const size_t full = n * roomPerUnit + 1;
            for (size_t room : {full, static_cast<size_t>(rng() % (full + 1))}) {
                Out *fastBegin = reinterpret_cast<Out *>(fastOut.end()) - room, *fastDst = fastBegin;
                Out *slowBegin = reinterpret_cast<Out *>(slowOut.end()) - room, *slowDst = slowBegin;
                const Unit *fastSrc = src, *slowSrc = src;
                fast(fastSrc, src + n, fastDst, fastBegin + room);
                slow(slowSrc, src + n, slowDst, slowBegin + room);
                ASSERT_TRUE(fastSrc == slowSrc && fastDst - fastBegin == slowDst - slowBegin &&
                            std::equal(fastBegin, fastDst, slowBegin))
                    << "length " << n << ", offset " << offset << ", room " << room;
            }
        }
    }
}

TEST(UtfAvx512, DecodesAndEncodesAsThePortablePaths) {
    if (!HaveUtfAvx512()) GTEST_SKIP() << "the processor has no AVX-512 VBMI2";
    auto portable = [](const uint8_t *&src, const uint8_t *srcEnd, uint16_t *&dst,
                       uint16_t *dstEnd) { DecodeUtf8Portable(src, srcEnd, dst, dstEnd, srcEnd); };
    CompareAll<uint8_t, uint16_t>(RandomUtf8, DecodeUtf8Avx512, portable, 1);
    CompareAll<uint16_t, uint8_t>(RandomUtf16, EncodeUtf16Avx512, EncodeUtf16Portable, 3);
}

}  // namespace
}  // namespace cmnw::chars
