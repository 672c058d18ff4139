// Feeds arbitrary bytes to the INI reader, looks every key up again, walks
// its repeated values, and checks that writing and re-reading is stable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "companion/cfg_store.h"

namespace mc = cmnw::companion;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::string_view text(reinterpret_cast<const char *>(data), size);
    CFGConfig *config = mc::NewConfig();
    if (config == nullptr) return 0;
    mc::ParseIniText(*config, text);
    for (const mc::CfgLine &line : config->lines) {
        if (line.isComment) continue;
        const std::string &section = config->sections[line.section].name;
        const mc::CfgLine *found = mc::FindFirstLine(*config, section, line.key);
        if (found == nullptr) std::abort();
        size_t steps = 0;
        for (uint32_t i = static_cast<uint32_t>(found - config->lines.data()); i != mc::kNoLine;
             i = config->lines[i].nextSame) {
            if (!mc::LineMatches(*config, config->lines[i], section, line.key)) std::abort();
            if (++steps > config->lines.size()) std::abort();
        }
    }
    std::string once = mc::FormatIniText(*config);
    CFGConfig *again = mc::NewConfig();
    if (again != nullptr) {
        mc::ParseIniText(*again, once);
        if (mc::FormatIniText(*again) != once) std::abort();
        mc::FreeConfig(again);
    }
    mc::FreeConfig(config);
    return 0;
}
