// Configuration entries: the configuration in force, reads and writes of
// settings, loading and saving.
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <string_view>

#include "cmnw32/cfg.h"
#include "common/boundary.h"
#include "common/text.h"
#include "companion/cfg_store.h"

namespace mc = cmnw::companion;

namespace {

struct CfgState {
    std::atomic<CFGConfig *> current{nullptr};
    std::atomic<bool> environmentTried{false};  // CMNW32_INI looked at (or made moot)
};
constinit CfgState g_config;
// Held while CMNW32_INI is loaded, so that threads reading the configuration
// for the first time at once load it once.
constinit std::mutex g_environmentLock;

// The configuration in force, loading CMNW32_INI the first time one is
// needed and none has been set up.
CFGConfig *Current() noexcept {
    if (!g_config.environmentTried.load(std::memory_order_acquire)) {
        const std::lock_guard hold(g_environmentLock);
        if (!g_config.environmentTried.load(std::memory_order_relaxed)) {
            const char *path = secure_getenv("CMNW32_INI");
            if (g_config.current == nullptr && path != nullptr && path[0] != '\0')
                g_config.current = mc::LoadIniFile(path);
            g_config.environmentTried.store(true, std::memory_order_release);
        }
    }
    return g_config.current.load(std::memory_order_acquire);
}

char FoldChar(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualFolded(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (FoldChar(a[i]) != FoldChar(b[i])) return false;
    return true;
}

// 1 for a yes word, 0 for a no word, -1 for anything else.
int YesNoWord(std::string_view value) {
    static constexpr std::string_view kYes[] = {"yes", "y", "true", "on", "1"};
    static constexpr std::string_view kNo[] = {"no", "n", "false", "off", "0"};
    for (auto word : kYes)
        if (EqualFolded(value, word)) return 1;
    for (auto word : kNo)
        if (EqualFolded(value, word)) return 0;
    return -1;
}

const mc::CfgLine *FindLine(const char *section, const char *key) {
    if (section == nullptr || key == nullptr) return nullptr;
    CFGConfig *config = Current();
    if (config == nullptr) return nullptr;
    return cmnw::UnlessOutOfMemory(nullptr, [&] { return mc::FindFirstLine(*config, section, key); });
}

void CopyValue(const mc::CfgLine &line, char *buf, size_t size) {
    if (buf == nullptr || size == 0) return;
    size_t n = line.value.size() < size - 1 ? line.value.size() : size - 1;
    std::memcpy(buf, line.value.data(), n);
    buf[n] = '\0';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && cmnw::IsBlankChar(static_cast<unsigned char>(text.front()))) text.remove_prefix(1);
    while (!text.empty() && cmnw::IsBlankChar(static_cast<unsigned char>(text.back()))) text.remove_suffix(1);
    return text;
}

// A plain scan: find_first_of would call memchr once per character.
bool HasLineBreak(std::string_view text) {
    for (char c : text)
        if (c == '\r' || c == '\n') return true;
    return false;
}

// Names and values written must read back as the same setting: no line
// breaks anywhere, no ']' in a section name, and a key that is not empty,
// holds no '=' and does not look like a comment or a section header.
bool SettingWritable(std::string_view section, std::string_view key, std::string_view value) {
    if (HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value)) return false;
    if (section.find(']') != std::string_view::npos) return false;
    if (key.empty() || key.find('=') != std::string_view::npos) return false;
    return key[0] != ';' && key[0] != '#' && key[0] != '[';
}

// Adds (append true) or sets a setting in the configuration in force,
// creating an empty one when none is in force.
int WriteSetting(const char *section, const char *key, const char *value, bool append) noexcept {
    if (section == nullptr || key == nullptr || value == nullptr) return 0;
    std::string_view s = Trimmed(section);
    std::string_view k = Trimmed(key);
    std::string_view v = Trimmed(value);
    if (!SettingWritable(s, k, v)) return 0;
    CFGConfig *config = Current();
    if (config == nullptr) {
        config = mc::NewConfig();
        if (config == nullptr) return 0;
        g_config.current = config;
    }
    return cmnw::UnlessOutOfMemory(0, [&] {
        if (append)
            mc::AppendLine(*config, mc::SectionNumber(*config, s), k, v);
        else
            mc::SetValue(*config, s, k, v);
        return 1;
    });
}

}  // namespace

extern "C" CFGHANDLE CFGCurrent(void) noexcept { return Current(); }

extern "C" void CFGSetCurrent(CFGHANDLE h) noexcept {
    g_config.environmentTried = true;
    if (h == nullptr || mc::IsLiveConfig(h)) g_config.current = h;
}

extern "C" int CFGGetString(const char *section, const char *key, char *buf, size_t size) noexcept {
    if (buf == nullptr || size == 0) return 0;
    const mc::CfgLine *line = FindLine(section, key);
    if (line == nullptr) return 0;
    CopyValue(*line, buf, size);
    return 1;
}

extern "C" void CFGGetStringDef(const char *section, const char *key, char *buf, size_t size,
                                const char *defaultText) noexcept {
    if (buf == nullptr || size == 0) return;
    const mc::CfgLine *line = FindLine(section, key);
    if (line != nullptr)
        CopyValue(*line, buf, size);
    else
        cmnw::CopyBounded(buf, size, defaultText != nullptr ? defaultText : "");
}

extern "C" int CFGGetYesNo(const char *section, const char *key) noexcept {
    const mc::CfgLine *line = FindLine(section, key);
    return line != nullptr && YesNoWord(line->value) == 1 ? 1 : 0;
}

extern "C" int CFGGetYesNoDef(const char *section, const char *key, int defaultValue) noexcept {
    const mc::CfgLine *line = FindLine(section, key);
    int word = line != nullptr ? YesNoWord(line->value) : -1;
    return word >= 0 ? word : defaultValue;
}

extern "C" long CFGGetInt(const char *section, const char *key, long defaultValue) noexcept {
    const mc::CfgLine *line = FindLine(section, key);
    if (line == nullptr) return defaultValue;
    const char *text = line->value.c_str();
    const char *p = text;
    if (*p == '+' || *p == '-') ++p;
    if (*p < '0' || *p > '9') return defaultValue;
    errno = 0;
    char *end = nullptr;
    long value = std::strtol(text, &end, 10);
    return errno == ERANGE ? defaultValue : value;
}

extern "C" CFGCURSOR CFGFirstValue(const char *section, const char *key, char *buf, size_t size) noexcept {
    const mc::CfgLine *line = FindLine(section, key);
    if (line == nullptr) return nullptr;
    CopyValue(*line, buf, size);
    CFGConfig *config = g_config.current.load(std::memory_order_acquire);
    return mc::MakeCursor(*config, static_cast<uint32_t>(line - config->lines.data()));
}

extern "C" CFGCURSOR CFGNextValue(CFGCURSOR cursor, const char *section, const char *key, char *buf,
                                  size_t size) noexcept {
    if (cursor == nullptr || section == nullptr || key == nullptr || g_config.current == nullptr) return nullptr;
    const CFGConfig &config = *g_config.current.load(std::memory_order_acquire);
    uint32_t index;
    if (!mc::CursorLine(config, cursor, index)) return nullptr;
    if (!mc::LineMatches(config, config.lines[index], section, key)) return nullptr;
    uint32_t next = config.lines[index].nextSame;
    if (next == mc::kNoLine) return nullptr;
    CopyValue(config.lines[next], buf, size);
    return mc::MakeCursor(config, next);
}

extern "C" int CFGSetString(const char *section, const char *key, const char *value) noexcept {
    return WriteSetting(section, key, value, false);
}

extern "C" int CFGAddLine(const char *section, const char *key, const char *value) noexcept {
    return WriteSetting(section, key, value, true);
}

extern "C" void CFGBeginChanges(CFGHANDLE h) noexcept {
    if (h != nullptr && mc::IsLiveConfig(h)) ++h->changeDepth;
}

extern "C" void CFGEndChanges(CFGHANDLE h) noexcept {
    if (h != nullptr && mc::IsLiveConfig(h) && h->changeDepth > 0) --h->changeDepth;
}

extern "C" CFGHANDLE CFGLoadINI(const char *path) noexcept {
    if (path == nullptr || path[0] == '\0') return nullptr;
    g_config.environmentTried = true;
    CFGConfig *config = mc::LoadIniFile(path);
    if (config != nullptr) g_config.current = config;
    return config;
}

extern "C" CFGHANDLE CFGCreate(void) noexcept {
    g_config.environmentTried = true;
    CFGConfig *config = mc::NewConfig();
    if (config != nullptr) g_config.current = config;
    return config;
}

extern "C" int CFGSave(const char *path) noexcept {
    if (path == nullptr || path[0] == '\0') return 1;
    CFGConfig *config = Current();
    if (config == nullptr) return 1;
    return mc::SaveIniFile(*config, path) ? 0 : 1;
}

extern "C" void CFGDiscard(void) noexcept {
    g_config.environmentTried = true;
    mc::FreeConfig(g_config.current);
    g_config.current = nullptr;
}

extern "C" int32_t CFGWriteOptions(void *reserved, int32_t value, CFGOpenWriteFunc openWrite,
                                   CFGAppendFunc append, CFGCloseFunc closeWrite) noexcept {
    (void)value;
    if (reserved != nullptr || openWrite == nullptr || append == nullptr || closeWrite == nullptr) return -1;
    CFGConfig *config = Current();
    if (config == nullptr) return 1;
    try {
        std::string text;
        openWrite();
        for (size_t s = 0; s < config->sections.size(); ++s) {
            const mc::CfgSection &section = config->sections[s];
            if (s > 0) {
                text = "[" + section.name + "]";
                append(text.c_str());
            }
            for (uint32_t index : section.lines) {
                const mc::CfgLine &line = config->lines[index];
                if (line.isComment) continue;
                text = line.key + "=" + line.value;
                append(text.c_str());
            }
        }
        closeWrite();
        return 0;
    } catch (...) {
        closeWrite();
        return -1;
    }
}

extern "C" struct MEMListRec *CFGLoadedFiles(void) noexcept {
    Current();
    return mc::LoadedFileList();
}
