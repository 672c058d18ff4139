// UTF transforms and case-insensitive comparison beside ICU, iconv and the C
// library.
#include <benchmark/benchmark.h>
#include <iconv.h>
#include <strings.h>
#include <unicode/uchar.h>
#include <unicode/ustring.h>

#include <string>
#include <vector>

#include "cmnw32/ctype.h"
#include "cmnw32/unicode.h"

namespace {

constexpr size_t kTextBytes = 64 * 1024;

std::string RepeatTo(const std::string &piece, size_t bytes) {
    std::string text;
    while (text.size() + piece.size() <= bytes) text += piece;
    return text;
}

enum class Text { kAscii, kMixed, kCjk };

// English prose; German and Greek: Latin-1 letters, Greek words and ASCII
// spaces and punctuation mixed; or Chinese and Japanese addresses and product
// texts with a Russian address and a few emoji (surrogate pairs in UTF-16).
std::string Utf8Of(Text which) {
    if (which == Text::kAscii) {
        return RepeatTo("The quick brown fox jumps over the lazy dog; 0123456789 (ASCII).\n",
                        kTextBytes);
    }
    if (which == Text::kCjk) {
        return RepeatTo(
            "北京市朝阳区建国路八十八号，邮政编码一〇〇〇二二。产品说明：使用前请仔细阅读本说明书。"
            "收件人：王小明先生 \xF0\x9F\x93\xA6 "
            "Москва, улица Тверская, дом семь. "
            "東京都千代田区丸の内一丁目、株式会社サンプル御中。ご注文ありがとうございます "
            "\xF0\x9F\x98\x80\n",
            kTextBytes);
    }
    return RepeatTo(
        "Gr\xC3\xBC\xC3\x9F"
        "e aus M\xC3\xBCnchen, caf\xC3\xA9 cr\xC3\xA8me. "
        "\xCE\x9A\xCE\xB1\xCE\xBB\xCE\xB7\xCE\xBC\xCE\xAD\xCF\x81\xCE\xB1 "
        "\xCE\xBA\xCF\x8C\xCF\x83\xCE\xBC\xCE\xB5, \xCE\xB1\xCE\xB2\xCE\xB3 "
        "\xCE\xB4\xCE\xB5\xCE\xB6 \xC2\xA9 2024.\n",
        kTextBytes);
}

std::vector<UChar> Utf16Of(Text which) {
    std::string utf8 = Utf8Of(which);
    std::vector<UChar> out(utf8.size());
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8(out.data(), static_cast<int32_t>(out.size()), &length, utf8.data(),
                  static_cast<int32_t>(utf8.size()), &status);
    out.resize(static_cast<size_t>(length));
    return out;
}

void SetThroughput(benchmark::State &state, size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void Utf8ToUtf16Ours(benchmark::State &state, Text which) {
    const std::string in = Utf8Of(which);
    std::vector<uint16_t> out(in.size() + 2);
    for (auto _ : state) {
        const char *src = in.data();
        uint16_t *dst = out.data();
        Utf8ToUtf16(&src, in.data() + in.size(), &dst, out.data() + out.size());
        benchmark::DoNotOptimize(dst);
        benchmark::ClobberMemory();
    }
    SetThroughput(state, in.size());
}

void Utf8ToUtf16Icu(benchmark::State &state, Text which) {
    const std::string in = Utf8Of(which);
    std::vector<UChar> out(in.size() + 2);
    for (auto _ : state) {
        int32_t length = 0;
        UErrorCode status = U_ZERO_ERROR;
        u_strFromUTF8(out.data(), static_cast<int32_t>(out.size()), &length, in.data(),
                      static_cast<int32_t>(in.size()), &status);
        benchmark::DoNotOptimize(length);
        benchmark::ClobberMemory();
    }
    SetThroughput(state, in.size());
}

void RunIconv(benchmark::State &state, const char *from, const char *to, const std::string &in,
              size_t outBytes) {
    iconv_t cd = iconv_open(to, from);
    std::vector<char> out(outBytes);
    for (auto _ : state) {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        char *inPtr = const_cast<char *>(in.data());
        char *outPtr = out.data();
        size_t inLeft = in.size(), outLeft = out.size();
        benchmark::DoNotOptimize(iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft));
        benchmark::ClobberMemory();
    }
    iconv_close(cd);
    SetThroughput(state, in.size());
}

void Utf8ToUtf16Iconv(benchmark::State &state, Text which) {
    const std::string in = Utf8Of(which);
    RunIconv(state, "UTF-8", "UTF-16LE", in, in.size() * 2 + 8);
}

void Utf16ToUtf8Ours(benchmark::State &state, Text which) {
    const std::vector<UChar> in = Utf16Of(which);
    const auto *units = reinterpret_cast<const uint16_t *>(in.data());
    std::vector<char> out(in.size() * 3 + 1);
    for (auto _ : state) {
        const uint16_t *src = units;
        char *dst = out.data();
        Utf16ToUtf8(&src, units + in.size(), &dst, out.data() + out.size());
        benchmark::DoNotOptimize(dst);
        benchmark::ClobberMemory();
    }
    SetThroughput(state, in.size() * 2);
}

void Utf16ToUtf8Icu(benchmark::State &state, Text which) {
    const std::vector<UChar> in = Utf16Of(which);
    std::vector<char> out(in.size() * 3 + 1);
    for (auto _ : state) {
        int32_t length = 0;
        UErrorCode status = U_ZERO_ERROR;
        u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &length, in.data(),
                    static_cast<int32_t>(in.size()), &status);
        benchmark::DoNotOptimize(length);
        benchmark::ClobberMemory();
    }
    SetThroughput(state, in.size() * 2);
}

void Utf16ToUtf8Iconv(benchmark::State &state, Text which) {
    const std::vector<UChar> in = Utf16Of(which);
    std::string bytes(reinterpret_cast<const char *>(in.data()), in.size() * 2);
    RunIconv(state, "UTF-16LE", "UTF-8", bytes, in.size() * 3 + 8);
}

BENCHMARK_CAPTURE(Utf8ToUtf16Ours, ascii, Text::kAscii)->Name("Utf8ToUtf16Ascii/ours");
BENCHMARK_CAPTURE(Utf8ToUtf16Icu, ascii, Text::kAscii)->Name("Utf8ToUtf16Ascii/icu");
BENCHMARK_CAPTURE(Utf8ToUtf16Iconv, ascii, Text::kAscii)->Name("Utf8ToUtf16Ascii/iconv");
BENCHMARK_CAPTURE(Utf8ToUtf16Ours, mixed, Text::kMixed)->Name("Utf8ToUtf16Mixed/ours");
BENCHMARK_CAPTURE(Utf8ToUtf16Icu, mixed, Text::kMixed)->Name("Utf8ToUtf16Mixed/icu");
BENCHMARK_CAPTURE(Utf8ToUtf16Iconv, mixed, Text::kMixed)->Name("Utf8ToUtf16Mixed/iconv");
BENCHMARK_CAPTURE(Utf16ToUtf8Ours, ascii, Text::kAscii)->Name("Utf16ToUtf8Ascii/ours");
BENCHMARK_CAPTURE(Utf16ToUtf8Icu, ascii, Text::kAscii)->Name("Utf16ToUtf8Ascii/icu");
BENCHMARK_CAPTURE(Utf16ToUtf8Iconv, ascii, Text::kAscii)->Name("Utf16ToUtf8Ascii/iconv");
BENCHMARK_CAPTURE(Utf16ToUtf8Ours, mixed, Text::kMixed)->Name("Utf16ToUtf8Mixed/ours");
BENCHMARK_CAPTURE(Utf16ToUtf8Icu, mixed, Text::kMixed)->Name("Utf16ToUtf8Mixed/icu");
BENCHMARK_CAPTURE(Utf16ToUtf8Iconv, mixed, Text::kMixed)->Name("Utf16ToUtf8Mixed/iconv");
BENCHMARK_CAPTURE(Utf8ToUtf16Ours, cjk, Text::kCjk)->Name("Utf8ToUtf16Cjk/ours");
BENCHMARK_CAPTURE(Utf8ToUtf16Icu, cjk, Text::kCjk)->Name("Utf8ToUtf16Cjk/icu");
BENCHMARK_CAPTURE(Utf16ToUtf8Ours, cjk, Text::kCjk)->Name("Utf16ToUtf8Cjk/ours");
BENCHMARK_CAPTURE(Utf16ToUtf8Icu, cjk, Text::kCjk)->Name("Utf16ToUtf8Cjk/icu");

// Words equal but for case: the usual case-insensitive lookup of month
// names, keywords and INI keys.
std::vector<std::pair<std::string, std::string>> WordPairs() {
    const char *words[] = {"January",        "February",    "September",    "Wednesday",
                           "Configuration",  "Description", "codepage.ini", "Window32Subs",
                           "Debug_Switches", "December"};
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const char *w : words) {
        std::string upper = w;
        for (char &c : upper) c = static_cast<char>(UTLtoupper(static_cast<unsigned char>(c)));
        pairs.emplace_back(w, upper);
    }
    return pairs;
}

template <typename Compare>
void RunCompare(benchmark::State &state,
                const std::vector<std::pair<std::string, std::string>> &pairs, Compare compare) {
    for (auto _ : state) {
        for (const auto &[a, b] : pairs) benchmark::DoNotOptimize(compare(a.c_str(), b.c_str()));
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * pairs.size()));
}

void StricmpOurs(benchmark::State &state) {
    RunCompare(state, WordPairs(), UTLstricmp);
}
BENCHMARK(StricmpOurs)->Name("Stricmp/ours");

void StricmpLibc(benchmark::State &state) {
    RunCompare(state, WordPairs(), strcasecmp);
}
BENCHMARK(StricmpLibc)->Name("Stricmp/strcasecmp");

// One word of n characters of prose against its upper-case form: the walk
// goes to the terminator.
std::vector<std::pair<std::string, std::string>> LongWordPair(benchmark::State &state) {
    std::string word = RepeatTo("The quick brown fox jumps over the lazy dog, 0123456789. ",
                                static_cast<size_t>(state.range(0)) + 64);
    word.resize(static_cast<size_t>(state.range(0)));
    std::string upper = word;
    for (char &c : upper) c = static_cast<char>(UTLtoupper(static_cast<unsigned char>(c)));
    return {{word, upper}};
}

void StricmpLongOurs(benchmark::State &state) {
    RunCompare(state, LongWordPair(state), UTLstricmp);
}
BENCHMARK(StricmpLongOurs)->Name("StricmpWord/ours")->Arg(8)->Arg(64)->Arg(1024);

void StricmpLongLibc(benchmark::State &state) {
    RunCompare(state, LongWordPair(state), strcasecmp);
}
BENCHMARK(StricmpLongLibc)->Name("StricmpWord/strcasecmp")->Arg(8)->Arg(64)->Arg(1024);

void StricmpIcu(benchmark::State &state) {
    std::vector<std::pair<std::u16string, std::u16string>> pairs;
    for (const auto &[a, b] : WordPairs()) {
        pairs.emplace_back(std::u16string(a.begin(), a.end()), std::u16string(b.begin(), b.end()));
    }
    for (auto _ : state) {
        for (const auto &[a, b] : pairs) {
            benchmark::DoNotOptimize(u_strcasecmp(a.c_str(), b.c_str(), U_FOLD_CASE_DEFAULT));
        }
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * pairs.size()));
}
BENCHMARK(StricmpIcu)->Name("Stricmp/icu");

}  // namespace
