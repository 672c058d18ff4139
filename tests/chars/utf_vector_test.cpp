// The vector UTF transforms against the portable ones on random text of every
// length 0..300 at every alignment, with malformed sequences mixed in, into
// destinations that fill part way, and with both buffers ending at an
// unreadable page: the units or bytes written and where both positions stop
// must be the same.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "chars/utf.h"
#include "common/test_support.h"

namespace cmnw::chars {
namespace {

using namespace std::string_view_literals;
using cmnw::test::GuardedBuffer;

constexpr size_t kLongest = 300;

// Sequences the lenient decoder reads differently from strict UTF-8, cut
// short, or not at all like it.
constexpr std::string_view kMalformed[] = {
    "\x80"sv,
    "\xBF"sv,
    "\xC3"sv,
    "\xE4\xB8"sv,
    "\xF0\x9F\x98"sv,
    "\xC0\x80"sv,
    "\xC1\xBF"sv,
    "\xE0\x80\x80"sv,
    "\xE0\x9F\xBF"sv,
    "\xED\xA0\x80"sv,
    "\xED\xBF\xBF"sv,
    "\xF0\x80\x80\x80"sv,
    "\xF4\x90\x80\x80"sv,
    "\xF5\x80"sv,
    "\xFF"sv,
    "\xC3\xC3"sv,
    "\xE4\x41\x80"sv,
};

// Random UTF-8 of exactly length bytes: characters of one to four bytes
// (mostly one to three), and at the given level a malformed piece in about
// one of 200 (level 1) or one of 6 (level 2) characters.
std::string RandomUtf8(std::mt19937 &rng, size_t length, int level) {
    std::string text;
    while (text.size() < length) {
        const unsigned pick = rng() % 1200;
        if ((level == 1 && pick < 6) || (level == 2 && pick < 200)) {
            text += kMalformed[rng() % std::size(kMalformed)];
            continue;
        }
        uint32_t c = pick % 8 < 4   ? rng() % 0x80
                     : pick % 8 < 6 ? 0x80 + rng() % 0x780
                     : pick % 8 < 7 ? 0x800 + rng() % 0xF800
                                    : (pick % 64 == 7 ? 0x10000 + rng() % 0x100000 : 0x4E00);
        if (c >= 0xD800 && c < 0xE000) c -= 0x800;
        uint8_t bytes[4];
        text.append(reinterpret_cast<char *>(bytes),
                    EncodeCodePoint(static_cast<int32_t>(c), bytes));
    }
    text.resize(length);
    return text;
}

// Random UTF-16 of length units, from every range, surrogates included.
std::vector<uint16_t> RandomUtf16(std::mt19937 &rng, size_t length) {
    std::vector<uint16_t> units(length);
    for (auto &u : units) {
        const unsigned pick = rng() % 5;
        u = static_cast<uint16_t>(pick == 0   ? rng() % 0x80
                                  : pick == 1 ? 0x80 + rng() % 0x780
                                  : pick == 2 ? 0xD800 + rng() % 0x800
                                  : pick == 3 ? rng() % 0x10000
                                              : 0x4E00 + rng() % 0x5000);
    }
    return units;
}

template <typename Out>
struct Result {
    size_t used;
    std::vector<Out> out;
    bool operator==(const Result &) const = default;
};

// Runs convert from src[0, n) into a destination of room units that ends at
// an unreadable page.
template <typename Out, typename In, typename Convert>
Result<Out> Run(Convert convert, const In *src, size_t n, size_t room) {
    static GuardedBuffer guard(4096 * sizeof(Out));
    Out *begin = reinterpret_cast<Out *>(guard.end()) - room;
    const In *from = src;
    Out *to = begin;
    convert(from, src + n, to, begin + room);
    return {static_cast<size_t>(from - src), std::vector<Out>(begin, to)};
}

// Compares the two converters on text placed at src (with whatever follows
// it), into a destination that takes all of it and into one of random room.
template <typename Out, typename In, typename Vector, typename Portable>
void Compare(Vector vector, Portable portable, const In *src, size_t n, size_t fullRoom,
             std::mt19937 &rng) {
    for (size_t room : {fullRoom, static_cast<size_t>(rng() % (fullRoom + 1))}) {
        const auto want = Run<Out>(portable, src, n, room);
        if (Run<Out>(vector, src, n, room) == want) continue;
        std::string hex;
        for (size_t i = 0; i < n; ++i) hex += std::to_string(+src[i]) + " ";
        FAIL() << "length " << n << ", room " << room << ": " << hex;
    }
}

// Every length at every alignment within a vector, followed by bytes that
// would change the result if they were read, then ending at a guard page.
template <typename Unit, typename Out, typename Make, typename Vector, typename Portable>
void CompareAll(Make make, Vector vector, Portable portable, size_t roomPerUnit) {
    std::mt19937 rng(22);
    alignas(64) Unit placed[64 + kLongest + 64];
    GuardedBuffer guard(kLongest * sizeof(Unit));
    for (size_t n = 0; n <= kLongest && !testing::Test::HasFailure(); ++n) {
        for (size_t align = 0; align < 64; ++align) {
            const auto text = make(rng, n, static_cast<int>(align % 3));
            std::memcpy(placed + align, text.data(), n * sizeof(Unit));
            std::fill(placed + align + n, std::end(placed), static_cast<Unit>(0xE4));
            Compare<Out>(vector, portable, placed + align, n, n * roomPerUnit + 1, rng);
        }
        const auto text = make(rng, n, static_cast<int>(n % 3));
        Unit *atEnd = reinterpret_cast<Unit *>(guard.end()) - n;
        std::memcpy(atEnd, text.data(), n * sizeof(Unit));
        Compare<Out>(vector, portable, atEnd, n, n * roomPerUnit + 1, rng);
    }
}

TEST(UtfAvx512, DecodesAsThePortableDecoder) {
    if (!HaveUtfAvx512()) GTEST_SKIP() << "the processor has no AVX-512 VBMI2";
    auto make = [](std::mt19937 &rng, size_t n, int level) { return RandomUtf8(rng, n, level); };
    auto portable = [](const uint8_t *&src, const uint8_t *srcEnd, uint16_t *&dst,
                       uint16_t *dstEnd) { DecodeUtf8Portable(src, srcEnd, dst, dstEnd, srcEnd); };
    CompareAll<uint8_t, uint16_t>(make, DecodeUtf8Avx512, portable, 1);
}

TEST(UtfAvx512, EncodesAsThePortableEncoder) {
    if (!HaveUtfAvx512()) GTEST_SKIP() << "the processor has no AVX-512 VBMI2";
    auto make = [](std::mt19937 &rng, size_t n, int) { return RandomUtf16(rng, n); };
    CompareAll<uint16_t, uint8_t>(make, EncodeUtf16Avx512, EncodeUtf16Portable, 3);
}

}  // namespace
}  // namespace cmnw::chars
