// cmnw crc, base64, text.
#include <cstdio>
#include <memory>

#include "cli.h"
#include "cmnw32.h"

namespace cmnw::tool {
namespace {

struct EncodeOptions {
    std::vector<std::string> files;
    std::string input = "-";
    bool decode = false, name = false;
    int wrap = 76;
};
using Options = std::shared_ptr<EncodeOptions>;

int Crc(const CLI::App *sub, const EncodeOptions &o) {
    std::vector<std::string> files = o.files;
    if (files.empty()) files.push_back("-");
    int status = kExitOk;
    for (const std::string &f : files) {
        uint32_t crc;
        if (f == "-") {
            std::string data;
            if (!ReadAll(f, data)) {
                status = Report(sub, kExitUsage, "cannot read standard input");
                continue;
            }
            crc = UTLCalculateBlockCRC32(static_cast<uint32_t>(data.size()), 0xFFFFFFFFu, data.data());
        } else {
            // The library cannot tell an unreadable file from an empty one.
            std::FILE *probe = std::fopen(f.c_str(), "rb");
            if (probe == nullptr) {
                status = Report(sub, kExitUsage, "cannot read " + f);
                continue;
            }
            std::fclose(probe);
            crc = UTLCaclulateFileCRC32(f.c_str(), 0xFFFFFFFFu);
        }
        crc = ~crc;
        if (o.name) {
            char name[8];
            UTLMakeCRCName(name, crc);
            std::printf("%08x  %s  %s\n", crc, name, f.c_str());
        } else {
            std::printf("%08x  %s\n", crc, f.c_str());
        }
    }
    return status;
}

std::string Wrapped(const std::string &text, int wrap) {
    if (wrap <= 0) return text + "\n";
    std::string out;
    for (size_t at = 0; at < text.size(); at += static_cast<size_t>(wrap))
        out.append(text, at, static_cast<size_t>(wrap)).push_back('\n');
    return out;
}

int Base64(const CLI::App *sub, const EncodeOptions &o) {
    std::string data;
    if (!ReadAll(o.input, data)) return Report(sub, kExitUsage, "cannot read " + o.input);
    std::string out;
    if (o.decode) {
        out.resize(data.size() * 3 / 4 + 3);
        out.resize(UTLDecodeBase64(data.data(), static_cast<uint32_t>(data.size()), out.data()));
    } else {
        out.resize(4 * ((data.size() + 2) / 3));
        out.resize(UTLEncodeBase64(data.data(), static_cast<uint32_t>(data.size()), out.data()));
        if (out.empty()) return kExitOk;
        out = Wrapped(out, o.wrap);
    }
    return WriteAll(out) ? kExitOk : kExitUsage;
}

int Text(const CLI::App *sub, const EncodeOptions &o) {
    std::string data;
    if (!ReadAll(o.input, data)) return Report(sub, kExitUsage, "cannot read " + o.input);
    std::string out;
    if (o.decode) {
        while (!data.empty() && (data.back() == '\n' || data.back() == '\r' || data.back() == ' '))
            data.pop_back();
        const auto n = static_cast<uint32_t>(data.size());
        const uint32_t size = UTLText2BinarySize(data.data(), n);
        if (size == 0 && data != "0") return Report(sub, kExitFailed, "not a valid text form");
        out.resize(size);
        if (size > 0 && UTLText2Binary(data.data(), n, out.data(), size) != size)
            return Report(sub, kExitFailed, "not a valid text form");
    } else {
        const auto n = static_cast<uint32_t>(data.size());
        out.resize(UTLBinary2TextSize(n) + 1);
        out.resize(UTLBinary2Text(data.data(), n, out.data(), static_cast<uint32_t>(out.size())));
        out.push_back('\n');
    }
    return WriteAll(out) ? kExitOk : kExitUsage;
}

}  // namespace

void AddEncodeCommands(CLI::App &app) {
    auto o = std::make_shared<EncodeOptions>();
    CLI::App *s = app.add_subcommand("crc", "the CRC-32 of files (as zip and Ethernet compute it)");
    s->add_option("FILE", o->files, "files ('-' or none: standard input)");
    s->add_flag("-n,--name", o->name, "also the 7-character name made from the CRC");
    OnRun(s, [s, o] { return Crc(s, *o); });
    s = app.add_subcommand("base64", "Base64 encoding and decoding (a filter)");
    s->add_flag("-d,--decode", o->decode, "decode; characters outside the alphabet are skipped");
    s->add_option("-w,--wrap", o->wrap, "line length of encoded output, 0 for one line")
        ->capture_default_str();
    s->add_option("FILE", o->input, "input (default: standard input)");
    OnRun(s, [s, o] { return Base64(s, *o); });
    s = app.add_subcommand("text", "the library's binary/text form (a filter)");
    s->add_flag("-d,--decode", o->decode, "decode");
    s->add_option("FILE", o->input, "input (default: standard input)");
    OnRun(s, [s, o] { return Text(s, *o); });
}

}  // namespace cmnw::tool
