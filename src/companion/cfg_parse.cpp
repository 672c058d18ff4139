// INI text in and out.
//
// Reading: each line (LF or CRLF) is trimmed; blank lines are dropped; lines
// starting with ';' or '#' are comments, kept in place for writing back;
// "[Name]" starts a section (text after the ']' is ignored, and a '[' line
// without ']' is kept as a comment); "key = value" adds a line with both
// parts trimmed. Other lines (no '=', or an empty key) are kept as comments.
// Lines before the first section belong to the unnamed section. A section
// that appears twice continues where it left off.
#include <algorithm>
#include <string>
#include <string_view>

#include "common/text.h"
#include "companion/cfg_store.h"

namespace cmnw::companion {
namespace {

std::string_view Trimmed(std::string_view text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsBlankChar(static_cast<unsigned char>(text[begin]))) ++begin;
    while (end > begin && IsBlankChar(static_cast<unsigned char>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

}  // namespace

void ParseIniText(CFGConfig &config, std::string_view text) {
    uint32_t section = 0;
    size_t pos = 0;
    config.lines.reserve(config.lines.size() + static_cast<size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    // Runs of one key (a code page file's "Char" lines) skip the index lookup.
    uint32_t lastSection = kNoLine;
    std::string lastKey;
    CfgChain *lastChain = nullptr;
    while (pos < text.size()) {
        size_t eol = text.find('\n', pos);
        if (eol == std::string_view::npos) eol = text.size();
        std::string_view line = Trimmed(text.substr(pos, eol - pos));
        pos = eol + 1;
        if (line.empty()) continue;
        if (line[0] == ';' || line[0] == '#') {
            AppendComment(config, section, line);
            continue;
        }
        if (line[0] == '[') {
            size_t close = line.find(']');
            if (close == std::string_view::npos) {
                AppendComment(config, section, line);
                continue;
            }
            section = SectionNumber(config, Trimmed(line.substr(1, close - 1)));
            lastChain = nullptr;
            continue;
        }
        size_t equals = line.find('=');
        std::string_view key = equals == std::string_view::npos ? std::string_view() : Trimmed(line.substr(0, equals));
        if (key.empty()) {
            AppendComment(config, section, line);
            continue;
        }
        if (lastChain == nullptr || lastSection != section || lastKey != key) {
            lastChain = &ChainOf(config, section, key);
            lastSection = section;
            lastKey.assign(key);
        }
        AppendLineTo(config, section, *lastChain, key, Trimmed(line.substr(equals + 1)));
    }
}

std::string FormatIniText(const CFGConfig &config) {
    std::string out;
    for (size_t s = 0; s < config.sections.size(); ++s) {
        const CfgSection &section = config.sections[s];
        if (s > 0) {
            if (!out.empty()) out.push_back('\n');
            out.push_back('[');
            out.append(section.name);
            out.append("]\n");
        }
        for (uint32_t index : section.lines) {
            const CfgLine &line = config.lines[index];
            if (!line.isComment) {
                out.append(line.key);
                out.push_back('=');
            }
            out.append(line.value);
            out.push_back('\n');
        }
    }
    return out;
}

}  // namespace cmnw::companion
