// In-memory configurations: storage, the (section, key) index and cursors.
#include "companion/cfg_store.h"

#include <array>
#include <cstring>
#include <new>

namespace cmnw::companion {
namespace {

// Every configuration alive in the process, so that handles from callers can
// be checked before use.
struct ConfigRegistry {
    CFGConfig *liveHead = nullptr;
    uint32_t lastSerial = 0;
};
constinit ConfigRegistry g_configs;

constexpr std::array<char, 256> kFold = [] {
    std::array<char, 256> table{};
    for (int c = 0; c < 256; ++c) table[c] = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return table;
}();

char FoldChar(char c) { return kFold[static_cast<unsigned char>(c)]; }

std::string Folded(std::string_view text) {
    std::string out(text);
    for (char &c : out) c = FoldChar(c);
    return out;
}

bool EqualFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    if (a == b) return true;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldChar(a[i]) != FoldChar(b[i])) return false;
    return true;
}

// Index key of a key within section number: the number's four bytes, then
// the folded key.
std::string ChainKey(uint32_t section, std::string_view key) {
    std::string out;
    out.reserve(4 + key.size());
    out.append(reinterpret_cast<const char *>(&section), 4);
    for (char c : key) out.push_back(FoldChar(c));
    return out;
}

bool FindSection(const CFGConfig &config, std::string_view section, uint32_t &number) {
    auto it = config.sectionIndex.find(Folded(section));
    if (it == config.sectionIndex.end()) return false;
    number = it->second;
    return true;
}

}  // namespace

CFGConfig *NewConfig() noexcept {
    auto *config = new (std::nothrow) CFGConfig;
    if (config == nullptr) return nullptr;
    try {
        config->sections.push_back(CfgSection{});
        config->sectionIndex.emplace(std::string(), 0);
    } catch (...) {
        delete config;
        return nullptr;
    }
    if (++g_configs.lastSerial == 0) ++g_configs.lastSerial;
    config->serial = g_configs.lastSerial;
    config->nextLive = g_configs.liveHead;
    if (g_configs.liveHead != nullptr) g_configs.liveHead->prevLive = config;
    g_configs.liveHead = config;
    return config;
}

void FreeConfig(CFGConfig *config) noexcept {
    if (config == nullptr) return;
    if (config->prevLive != nullptr)
        config->prevLive->nextLive = config->nextLive;
    else if (g_configs.liveHead == config)
        g_configs.liveHead = config->nextLive;
    if (config->nextLive != nullptr) config->nextLive->prevLive = config->prevLive;
    delete config;
}

bool IsLiveConfig(const CFGConfig *config) noexcept {
    for (const CFGConfig *c = g_configs.liveHead; c != nullptr; c = c->nextLive)
        if (c == config) return true;
    return false;
}

uint32_t SectionNumber(CFGConfig &config, std::string_view section) {
    std::string folded = Folded(section);
    auto it = config.sectionIndex.find(folded);
    if (it != config.sectionIndex.end()) return it->second;
    auto number = static_cast<uint32_t>(config.sections.size());
    config.sections.push_back(CfgSection{std::string(section), {}});
    try {
        config.sectionIndex.emplace(std::move(folded), number);
    } catch (...) {
        config.sections.pop_back();
        throw;
    }
    return number;
}

const CfgLine *FindFirstLine(const CFGConfig &config, std::string_view section, std::string_view key) {
    uint32_t number;
    if (!FindSection(config, section, number)) return nullptr;
    auto it = config.keyIndex.find(ChainKey(number, key));
    if (it == config.keyIndex.end() || it->second.first == kNoLine) return nullptr;
    return &config.lines[it->second.first];
}

CfgChain &ChainOf(CFGConfig &config, uint32_t section, std::string_view key) {
    return config.keyIndex[ChainKey(section, key)];
}

uint32_t AppendLine(CFGConfig &config, uint32_t number, std::string_view key, std::string_view value) {
    return AppendLineTo(config, number, ChainOf(config, number, key), key, value);
}

namespace {

// Adds line at the end of config and of its section; its index. Throws
// std::bad_alloc with config unchanged.
uint32_t PushLine(CFGConfig &config, CfgLine &&line) {
    const auto index = static_cast<uint32_t>(config.lines.size());
    const uint32_t section = line.section;
    config.lines.push_back(std::move(line));
    try {
        config.sections[section].lines.push_back(index);
    } catch (...) {
        config.lines.pop_back();
        throw;
    }
    return index;
}

}  // namespace

uint32_t AppendLineTo(CFGConfig &config, uint32_t number, CfgChain &chain, std::string_view key,
                      std::string_view value) {
    CfgLine line;
    line.section = number;
    line.key.assign(key);
    line.value.assign(value);
    const uint32_t index = PushLine(config, std::move(line));
    if (chain.last != kNoLine)
        config.lines[chain.last].nextSame = index;
    else
        chain.first = index;
    chain.last = index;
    return index;
}

void AppendComment(CFGConfig &config, uint32_t section, std::string_view text) {
    CfgLine line;
    line.section = section;
    line.isComment = true;
    line.value.assign(text);
    PushLine(config, std::move(line));
}

void SetValue(CFGConfig &config, std::string_view section, std::string_view key, std::string_view value) {
    const CfgLine *found = FindFirstLine(config, section, key);
    if (found != nullptr) {
        config.lines[static_cast<size_t>(found - config.lines.data())].value.assign(value);
        return;
    }
    AppendLine(config, SectionNumber(config, section), key, value);
}

bool LineMatches(const CFGConfig &config, const CfgLine &line, std::string_view section,
                 std::string_view key) {
    return !line.isComment && EqualFolded(line.key, key) &&
           EqualFolded(config.sections[line.section].name, section);
}

// A cursor is a token, not an address: the configuration's serial in the
// high half and the line number + 1 in the low half, so a stale or foreign
// cursor is recognised instead of followed.
CFGCURSOR MakeCursor(const CFGConfig &config, uint32_t index) noexcept {
    uint64_t token = (static_cast<uint64_t>(config.serial) << 32) | (static_cast<uint64_t>(index) + 1);
    return reinterpret_cast<CFGCURSOR>(static_cast<uintptr_t>(token));
}

bool CursorLine(const CFGConfig &config, CFGCURSOR cursor, uint32_t &index) noexcept {
    auto token = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(cursor));
    if ((token >> 32) != config.serial) return false;
    auto low = static_cast<uint32_t>(token & 0xffffffffu);
    if (low == 0 || low > config.lines.size()) return false;
    index = low - 1;
    return true;
}

}  // namespace cmnw::companion
