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
#include <deque>
#include <random>
#include <string>
#include <vector>

#include "cmnw32/encode.h"
#include "cmnw32/filetype.h"

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

// A PCX-like head followed by a hole up to size bytes; removed at exit.
const char *SampleFile(int64_t size) {
    static std::deque<std::string> made;  // keeps the returned pointers valid
    const std::string path = "/tmp/cmnw_bench_type_" + std::to_string(getpid()) + "_" +
                             std::to_string(size);
    for (const auto &p : made) {
        if (p == path) return p.c_str();
    }
    const int fd = open(path.c_str(), O_CREAT | O_TRUNC | O_WRONLY, 0600);
    std::vector<unsigned char> head(2048, 0);
    head[0] = 0x0A;
    if (fd < 0 || write(fd, head.data(), head.size()) != static_cast<ssize_t>(head.size()) ||
        ftruncate(fd, size) != 0) {
        std::abort();
    }
    close(fd);
    if (made.empty()) {
        std::atexit([] {
            for (const auto &p : made) unlink(p.c_str());
        });
    }
    made.push_back(path);
    return made.back().c_str();
}

void BM_FileType_Ours(benchmark::State &state) {
    const char *path = SampleFile(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(UTLFileType(path));
}
BENCHMARK(BM_FileType_Ours)->Name("FileType/ours")->Arg(2048)->Arg(int64_t{1} << 30);

#if CMNW_HAVE_MAGIC
void BM_FileType_Libmagic(benchmark::State &state) {
    const char *path = SampleFile(state.range(0));
    magic_t cookie = magic_open(MAGIC_NONE);
    if (cookie == nullptr || magic_load(cookie, nullptr) != 0) {
        state.SkipWithError("libmagic has no database");
        return;
    }
    for (auto _ : state) benchmark::DoNotOptimize(magic_file(cookie, path));
    magic_close(cookie);
}
BENCHMARK(BM_FileType_Libmagic)->Name("FileType/libmagic")->Arg(2048)->Arg(int64_t{1} << 30);
#endif

}  // namespace
