// cmnw codepage, ebcdic, utf: code page lookups and byte filters.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>

#include "cli.h"
#include "cmnw32.h"
#include "tool_text.h"

namespace cmnw::tool {
namespace {

struct CharsOptions {
    int page = 1004, from = 1004, to = 0;
    long fallback = -1;
    int byteValue = -1;
    std::vector<std::string> names;
    std::string input = "-";
    bool os400 = false, crSpace = false, cp1252 = false, bom = false;
};
using Options = std::shared_ptr<CharsOptions>;

// The shared code page set with page as its default code page.
UTLCPSET LoadSet(const CLI::App *sub, int page) {
    UTLCPSET set = UTLLoadCodePage();
    if (set == nullptr) {
        Report(sub, kExitFailed, "no code page set could be loaded");
        return nullptr;
    }
    if (UTLSetDefCodePage(set, page, nullptr) != UTL_CP_OK) {
        Report(sub, kExitUsage, "no code page " + std::to_string(page) + " in the set");
        UTLDestroyCodePage(set);
        return nullptr;
    }
    return set;
}

int CodepageList(const CLI::App *sub, const CharsOptions &o) {
    UTLCPSET set = LoadSet(sub, o.page);
    if (set == nullptr) return kExitUsage;
    uint8_t byte = 0;
    char id[UTL_CP_IDENT_SIZE], name[UTL_CP_NAME_SIZE], alias[UTL_CP_NAME_SIZE];
    int index = 0;
    for (uint16_t rc = UTLGetFirstCodePageChar(set, &byte, id, name, alias); rc == UTL_CP_OK;
         rc = UTLGetNextCodePageChar(set, &byte, id, name, alias), ++index)
        std::printf("%4d %3u %-9s %-30s %s\n", index, byte, id, name, alias);
    UTLDestroyCodePage(set);
    return kExitOk;
}

int CodepageFind(const CLI::App *sub, const CharsOptions &o) {
    UTLCPSET set = LoadSet(sub, o.page);
    if (set == nullptr) return kExitUsage;
    int status = kExitOk;
    if (o.byteValue >= 0) {
        char id[UTL_CP_IDENT_SIZE] = {}, name[UTL_CP_NAME_SIZE] = {}, alias[UTL_CP_NAME_SIZE] = {};
        if (UTLLocateNameByChar(set, o.byteValue, id, name, alias) == UTL_CP_OK)
            std::printf("%d %s %s %s\n", o.byteValue, id, name, alias);
        else status = Report(sub, kExitFailed, "no character has byte " + std::to_string(o.byteValue));
    }
    for (const std::string &n : o.names) {
        const uint16_t byte = UTLLocateCharByName(set, n.c_str(), n.c_str(), n.c_str());
        if (byte == 0 || byte == UTL_CP_FAIL)
            status = Report(sub, kExitFailed, "no character '" + n + "' in code page " +
                                                  std::to_string(o.page));
        else std::printf("%s %u\n", n.c_str(), byte);
    }
    UTLDestroyCodePage(set);
    return status;
}

int CodepageTranslate(const CLI::App *sub, const CharsOptions &o) {
    UTLCPSET set = LoadSet(sub, o.from);
    if (set == nullptr) return kExitUsage;
    UTLCp2CpTable table{};
    const uint32_t fallback = o.fallback < 0 ? 0xFFFFFFFFu : static_cast<uint32_t>(o.fallback);
    if (UTLSetupCp2CpTable(&table, set, o.from, nullptr, o.to, nullptr, fallback) != 0) {
        UTLDestroyCodePage(set);
        return Report(sub, kExitUsage, "code pages " + std::to_string(o.from) + " and " +
                                           std::to_string(o.to) + " are not both in the set");
    }
    std::string data;
    if (!ReadAll(o.input, data)) {
        UTLDestroyCodePage(set);
        return Report(sub, kExitUsage, "cannot read " + o.input);
    }
    for (char &c : data) c = static_cast<char>(UTLCpTranslateChar(&table, static_cast<uint8_t>(c)));
    UTLDestroyCodePage(set);
    return WriteAll(data) ? kExitOk : kExitUsage;
}

// Runs convert over the input in pieces of at most 65535 bytes.
int EbcdicFilter(const CLI::App *sub, const CharsOptions &o, bool toAscii) {
    std::string data;
    if (!ReadAll(o.input, data)) return Report(sub, kExitUsage, "cannot read " + o.input);
    if (!toAscii && o.os400) UTLDef_OS400_A2Etable();
    for (size_t at = 0; at < data.size(); at += 65535) {
        const auto n = static_cast<uint16_t>(std::min<size_t>(65535, data.size() - at));
        if (toAscii) EBCDIC2ASCII(data.data() + at, n);
        else if (o.crSpace) ForceASCII2EBCDICCR2Space(data.data() + at, n);
        else ASCII2EBCDIC(data.data() + at, n);
    }
    return WriteAll(data) ? kExitOk : kExitUsage;
}

enum class Utf { ToUtf8, ToAnsi, ToUtf16, FromUtf16 };

int UtfFilter(const CLI::App *sub, const CharsOptions &o, Utf how) {
    std::string data, out;
    if (!ReadAll(o.input, data)) return Report(sub, kExitUsage, "cannot read " + o.input);
    switch (how) {
        case Utf::ToUtf8: {
            out.resize(data.size() * 3);
            const char *src = data.data();
            char *dst = out.data();
            AnsiToUtf8Ex(&src, data.data() + data.size(), &dst, out.data() + out.size(),
                         o.cp1252 ? 1 : 0);
            out.resize(static_cast<size_t>(dst - out.data()));
            break;
        }
        case Utf::ToAnsi:
            out = data;
            Utf8ToLatin(out);
            break;
        case Utf::ToUtf16: {
            std::vector<uint16_t> units(data.size() + 2);
            uint16_t *dst = units.data();
            if (o.bom) *dst++ = 0xFEFF;
            const char *src = data.data();
            Utf8ToUtf16(&src, data.data() + data.size(), &dst, units.data() + units.size());
            out.assign(reinterpret_cast<const char *>(units.data()),
                       static_cast<size_t>(dst - units.data()) * 2);
            break;
        }
        case Utf::FromUtf16: {
            if (data.size() % 2 != 0)
                return Report(sub, kExitFailed, "UTF-16 input has an odd number of bytes");
            std::vector<uint16_t> units(data.size() / 2);
            std::memcpy(units.data(), data.data(), data.size());
            const uint16_t *src = units.data();
            if (!units.empty() && units[0] == 0xFEFF) ++src;
            out.resize(units.size() * 3 + 1);
            char *dst = out.data();
            Utf16ToUtf8(&src, units.data() + units.size(), &dst, out.data() + out.size());
            out.resize(static_cast<size_t>(dst - out.data()));
            break;
        }
    }
    return WriteAll(out) ? kExitOk : kExitUsage;
}

CLI::App *Leaf(CLI::App *group, const char *name, const char *help, const Options &o,
               std::function<int(const CLI::App *, const CharsOptions &)> run) {
    CLI::App *sub = group->add_subcommand(name, help);
    OnRun(sub, [sub, o, run] { return run(sub, *o); });
    return sub;
}

void AddCodepage(CLI::App &app) {
    CLI::App *g = app.add_subcommand("codepage", "named characters of the code page set");
    g->require_subcommand(1, 1);
    auto o = std::make_shared<CharsOptions>();
    CLI::App *s = Leaf(g, "list", "every character: index, byte, identifier, name, alias", o,
                       CodepageList);
    s->add_option("-p,--page", o->page, "code page id")->capture_default_str();
    s = Leaf(g, "find", "the byte of named characters, or the character of a byte", o, CodepageFind);
    s->add_option("-p,--page", o->page, "code page id")->capture_default_str();
    s->add_option("-b,--byte", o->byteValue, "find the character of this byte")->check(CLI::Range(0, 255));
    s->add_option("NAME", o->names, "identifiers, names or aliases");
    s = Leaf(g, "translate", "translate bytes from one code page to another (a filter)", o,
             CodepageTranslate);
    s->add_option("-f,--from", o->from, "source code page id")->required();
    s->add_option("-t,--to", o->to, "target code page id")->required();
    s->add_option("--fallback", o->fallback, "byte for characters the target lacks (default: kept)")
        ->check(CLI::Range(0, 255));
    s->add_option("FILE", o->input, "input (default: standard input)");
}

void AddEbcdicUtf(CLI::App &app) {
    CLI::App *g = app.add_subcommand("ebcdic", "EBCDIC and ASCII filters");
    g->require_subcommand(1, 1);
    auto o = std::make_shared<CharsOptions>();
    CLI::App *s = Leaf(g, "to-ascii", "EBCDIC (code page 037) to ISO 8859-1", o,
                       [](auto *sub, auto &x) { return EbcdicFilter(sub, x, true); });
    s->add_option("FILE", o->input, "input (default: standard input)");
    s = Leaf(g, "to-ebcdic", "ISO 8859-1 to EBCDIC (code page 037)", o,
             [](auto *sub, auto &x) { return EbcdicFilter(sub, x, false); });
    s->add_flag("--os400", o->os400, "the OS/400 table (PC text, mostly code page 850)");
    s->add_flag("--cr-space", o->crSpace, "carriage returns become EBCDIC spaces");
    s->add_option("FILE", o->input, "input (default: standard input)");

    g = app.add_subcommand("utf", "code page 1252, UTF-8 and UTF-16 filters");
    g->require_subcommand(1, 1);
    s = Leaf(g, "to-utf8", "ISO 8859-1 (or code page 1252) to UTF-8", o,
             [](auto *sub, auto &x) { return UtfFilter(sub, x, Utf::ToUtf8); });
    s->add_flag("--cp1252", o->cp1252, "read 0x80-0x9F as code page 1252");
    s->add_option("FILE", o->input, "input (default: standard input)");
    s = Leaf(g, "to-ansi", "UTF-8 to code page 1252 ('?' where it has no byte)", o,
             [](auto *sub, auto &x) { return UtfFilter(sub, x, Utf::ToAnsi); });
    s->add_option("FILE", o->input, "input (default: standard input)");
    s = Leaf(g, "to-utf16", "UTF-8 to UTF-16 in this machine's byte order", o,
             [](auto *sub, auto &x) { return UtfFilter(sub, x, Utf::ToUtf16); });
    s->add_flag("--bom", o->bom, "begin with a byte order mark");
    s->add_option("FILE", o->input, "input (default: standard input)");
    s = Leaf(g, "from-utf16", "UTF-16 in this machine's byte order to UTF-8", o,
             [](auto *sub, auto &x) { return UtfFilter(sub, x, Utf::FromUtf16); });
    s->add_option("FILE", o->input, "input (default: standard input)");
}

}  // namespace

void AddCharsCommands(CLI::App &app) {
    AddCodepage(app);
    AddEbcdicUtf(app);
}

}  // namespace cmnw::tool
