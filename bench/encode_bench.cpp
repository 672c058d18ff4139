// CRC-32, Base64 and file typing beside the libraries a caller would
// otherwise use.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <libdeflate.h>
#include <openssl/evp.h>
#include <unistd.h>
#include <zlib.h>
#if CMNW_HAVE_MAGIC
#include <magic.h>
#endif

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "cmnw32/encode.h"

namespace {

std::vector<unsigned char> RandomBytes(size_t n) {
    std::mt19937 rng(7);
    std::vector<unsigned char> v(n);
    for (auto &b : v) b = static_cast<unsigned char>(rng());
    return v;
}

constexpr size_t kMiB = size_t{1} << 20;

void BM_Crc32_Ours(benchmark::State &state) {
    const auto data = RandomBytes(kMiB);
    for (auto _ : state) {
        benchmark::DoNotOptimize(UTLCalculateBlockCRC32(kMiB, 0xFFFFFFFFu, data.data()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMiB));
}
BENCHMARK(BM_Crc32_Ours)->Name("Crc32/ours");

void BM_Crc32_Zlib(benchmark::State &state) {
    const auto data = RandomBytes(kMiB);
    for (auto _ : state) benchmark::DoNotOptimize(crc32(0, data.data(), kMiB));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMiB));
}
BENCHMARK(BM_Crc32_Zlib)->Name("Crc32/zlib");

void BM_Crc32_Libdeflate(benchmark::State &state) {
    const auto data = RandomBytes(kMiB);
    for (auto _ : state) benchmark::DoNotOptimize(libdeflate_crc32(0, data.data(), kMiB));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kMiB));
}
BENCHMARK(BM_Crc32_Libdeflate)->Name("Crc32/libdeflate");

constexpr size_t kBase64Input = 48 * 1024;

void BM_Base64Encode_Ours(benchmark::State &state) {
    const auto data = RandomBytes(kBase64Input);
    std::vector<char> out(kBase64Input / 3 * 4 + 4);
    for (auto _ : state) {
        benchmark::DoNotOptimize(UTLEncodeBase64(data.data(), kBase64Input, out.data()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBase64Input));
}
BENCHMARK(BM_Base64Encode_Ours)->Name("Base64Encode/ours");

void BM_Base64Encode_OpenSSL(benchmark::State &state) {
    const auto data = RandomBytes(kBase64Input);
    std::vector<unsigned char> out(kBase64Input / 3 * 4 + 4);
    for (auto _ : state) {
        benchmark::DoNotOptimize(EVP_EncodeBlock(out.data(), data.data(), kBase64Input));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBase64Input));
}
BENCHMARK(BM_Base64Encode_OpenSSL)->Name("Base64Encode/openssl");

std::string EncodedText() {
    const auto data = RandomBytes(kBase64Input);
    std::string text(kBase64Input / 3 * 4, '\0');
    UTLEncodeBase64(data.data(), kBase64Input, text.data());
    return text;
}

void BM_Base64Decode_Ours(benchmark::State &state) {
    const std::string text = EncodedText();
    std::vector<unsigned char> out(kBase64Input + 4);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            UTLDecodeBase64(text.data(), static_cast<uint32_t>(text.size()), out.data()));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBase64Input));
}
BENCHMARK(BM_Base64Decode_Ours)->Name("Base64Decode/ours");

void BM_Base64Decode_OpenSSL(benchmark::State &state) {
    const std::string text = EncodedText();
    std::vector<unsigned char> out(kBase64Input + 4);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            EVP_DecodeBlock(out.data(), reinterpret_cast<const unsigned char *>(text.data()),
                            static_cast<int>(text.size())));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBase64Input));
}
BENCHMARK(BM_Base64Decode_OpenSSL)->Name("Base64Decode/openssl");

}  // namespace
