// cmnw unique, filetype, trace, message, version.
#include <cstdio>
#include <memory>

#include "cli.h"
#include "cmnw32.h"
#include "tool_text.h"

namespace cmnw::tool {
namespace {

const char *FileTypeName(int32_t type) {
    switch (type) {
        case 1: return "PDF";
        case 2: return "TIFF";
        case 3: return "H,2400 data";
        case 4: return "PCX";
        case 5: return "bitmap";
        case 6: return "MO:DCA (AFP)";
        case 7: return "image (second header layout)";
        case 8: return "page data (\"p\" at 512)";
        case 9: return "JPEG";
        case 10: return "PNG";
        case 11: return "Windows metafile";
        case 12: return "image (first header layout)";
        default: return "unknown";
    }
}

int Unique(const std::string &form, int count) {
    const uint32_t size = form == "hex" ? 33 : form == "checked" ? 41 : 46;
    for (int i = 0; i < count; ++i) {
        char text[64] = {};
        UTLGetUniqueString(text, size);
        if (text[0] == '\0') {
            std::fputs("cmnw unique: no GUID could be had\n", stderr);
            return kExitFailed;
        }
        std::printf("%s\n", text);
    }
    return kExitOk;
}

int FileType(const CLI::App *sub, const std::vector<std::string> &files) {
    int status = kExitOk;
    for (const std::string &f : files) {
        const int32_t type = UTLFileType(f.c_str());
        if (type < 0) {
            status = Report(sub, kExitUsage, "cannot read " + f);
            continue;
        }
        std::printf("%s: %d %s\n", f.c_str(), type, FileTypeName(type));
    }
    return status;
}

int Trace(const CLI::App *sub, const std::vector<std::string> &lines) {
    for (const std::string &line : lines) {
        if (UTLLogTrace("%s", line.c_str()) == nullptr)
            return Report(sub, kExitFailed,
                          std::string("cannot open the trace file ") + UTLTraceName());
    }
    std::printf("%s\n", UTLTraceName());
    return kExitOk;
}

int Message(const std::vector<int> &numbers) {
    for (int n : numbers) std::printf("%d: %s\n", n, UTLErrorMsg(n));
    return kExitOk;
}

int Version() {
    const UTLVersionRec *v = UTLLibVersion();
    std::printf("CMNW32 %s (stamp 0x%08X, built %s %s)\n", v->version,
                static_cast<unsigned>(v->stamp), v->date, v->time);
    return kExitOk;
}

}  // namespace

void AddSystemCommands(CLI::App &app) {
    {
        auto form = std::make_shared<std::string>("text");
        auto count = std::make_shared<int>(1);
        CLI::App *sub = app.add_subcommand("unique", "print texts unique across machines and time");
        sub->add_option("-f,--form", *form,
                        "hex: 32 hexadecimal digits; checked: 40 with check digits; text: 45 "
                        "characters of the text-form alphabet")
            ->check(CLI::IsMember({"hex", "checked", "text"}))
            ->capture_default_str();
        sub->add_option("-n,--count", *count, "how many")->check(CLI::Range(1, 1000000));
        OnRun(sub, [form, count] { return Unique(*form, *count); });
    }
    {
        auto files = std::make_shared<std::vector<std::string>>();
        CLI::App *sub = app.add_subcommand("filetype", "tell the document or image type of files");
        sub->add_option("FILE", *files, "files to look at")->required();
        OnRun(sub, [sub, files] { return FileType(sub, *files); });
    }
    {
        auto lines = std::make_shared<std::vector<std::string>>();
        CLI::App *sub = app.add_subcommand(
            "trace", "write lines to the trace log and print the trace file name");
        sub->add_option("TEXT", *lines, "one trace line each");
        OnRun(sub, [sub, lines] { return Trace(sub, *lines); });
    }
    {
        auto numbers = std::make_shared<std::vector<int>>();
        CLI::App *sub = app.add_subcommand("message", "print the texts of message numbers");
        sub->add_option("N", *numbers, "message numbers")->required();
        OnRun(sub, [numbers] { return Message(*numbers); });
    }
    CLI::App *sub = app.add_subcommand("version", "print the library version record");
    OnRun(sub, [] { return Version(); });
}

}  // namespace cmnw::tool
