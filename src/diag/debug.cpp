// Debug switches and the INI trace.
#include <unistd.h>

#include <climits>
#include <cstring>
#include <string>

#include "cmnw32/cfg.h"
#include "cmnw32/errors.h"
#include "cmnw32/mem.h"
#include "cmnw32/sys.h"
#include "cmnw32/trace.h"
#include "common/os.h"
#include "common/path.h"
#include "common/text.h"
#include "diag/debug_state.h"

namespace cmnw::diag {
namespace {

constexpr const char *kSection = "Debug_Switches";
constexpr const char *kEchoPlace = "<Debug_Switches>";

struct DebugState {
    int32_t timeStamp;
    int32_t enabled;
    int32_t echo;
};

constinit DebugState g_debug{-1, -1, -1};

// Reads the settings unless already read; false when they stay unread.
bool EnsureDebugRead() {
    if (g_debug.enabled == -1) UTLResetDebug();
    return g_debug.enabled != -1;
}

void EchoAnswer(const char *option, const char *answer) {
    char text[1024];
    if (answer != nullptr) {
        FormatBounded(text, sizeof text, "%s=%s", option, answer);
    } else {
        FormatBounded(text, sizeof text, "%s is not defined in the INI file.", option);
    }
    UTLPlatformInfo(kEchoPlace, text);
}

// Makes a directory text absolute against the current directory and
// lexically removes "." and ".." steps. An empty text gives the current
// directory.
std::string AbsoluteDirectory(const char *dirText) {
    char cwd[PATH_MAX];
    if (os::CurrentFolder(cwd, sizeof cwd) == nullptr) cwd[0] = '\0';
    char native[PATH_MAX];
    os::NativePath(dirText, native, sizeof native);
    std::string joined = native[0] == '/' ? std::string(native) : std::string(cwd) + "/" + native;
    std::string result;
    size_t pos = 0;
    while (pos <= joined.size()) {
        size_t next = joined.find('/', pos);
        if (next == std::string::npos) next = joined.size();
        std::string step = joined.substr(pos, next - pos);
        if (step == "..") {
            size_t cut = result.rfind('/');
            result.resize(cut == std::string::npos ? 0 : cut);
        } else if (!step.empty() && step != ".") {
            result += "/" + step;
        }
        pos = next + 1;
    }
    return result.empty() ? std::string(cwd[0] != '\0' ? cwd : "/") : result;
}

// The full path of one loaded INI file, or "" when it names no file.
std::string FullIniPath(const char *fileName) {
    char drive[kDriveSize], dir[kDirSize], fname[kNameSize],
        ext[kExtSize];
    UTLSplitPath(fileName, drive, dir, fname, ext);
    if (fname[0] == '\0') return {};
    char location[CMNW_MAX_PATH];
    MakePathBounded(location, sizeof location, drive, dir, nullptr, nullptr);
    if (char *semicolon = std::strchr(location, ';')) *semicolon = '\0';
    std::string absolute = AbsoluteDirectory(location);
    while (!absolute.empty() && (absolute.back() == '/' || absolute.back() == '\\')) {
        absolute.pop_back();
    }
    absolute += '\\';
    char full[CMNW_MAX_PATH + 1];
    MakePathBounded(full, sizeof full, nullptr, absolute.c_str(), fname, ext);
    return full;
}

}  // namespace

int32_t TimeStampSwitch() noexcept { return g_debug.timeStamp; }

}  // namespace cmnw::diag

using cmnw::diag::g_debug;

extern "C" int32_t UTLResetDebug(void) noexcept {
    if (CFGCurrent() == nullptr) return 0;
    g_debug.enabled = CFGGetYesNo(cmnw::diag::kSection, "Enable_Debug_Options") ? 1 : 0;
    g_debug.echo = CFGGetYesNo(cmnw::diag::kSection, "Show_Debug_Options") ? 1 : 0;
    g_debug.timeStamp = CFGGetYesNoDef(cmnw::diag::kSection, "PrintTimeStamp", 1) ? 1 : 0;
    return g_debug.timeStamp;
}

extern "C" int32_t UTLDebugOption(const char *option) noexcept {
    if (!cmnw::diag::EnsureDebugRead() || g_debug.enabled == 0 || option == nullptr) return 0;
    const int32_t value = CFGGetYesNo(cmnw::diag::kSection, option) ? 1 : 0;
    if (g_debug.echo != 0) cmnw::diag::EchoAnswer(option, value ? "Yes" : "No");
    return value;
}

extern "C" int32_t UTLDebugValue(const char *option, char *buffer, uint32_t size) noexcept {
    if (buffer == nullptr || size == 0) return 0;
    if (!cmnw::diag::EnsureDebugRead()) return 0;
    if (g_debug.enabled == 0 || option == nullptr) {
        buffer[0] = '\0';
        return 0;
    }
    const bool found = CFGGetString(cmnw::diag::kSection, option, buffer, size) != 0;
    if (g_debug.echo != 0) {
        cmnw::diag::EchoAnswer(option, found ? buffer : nullptr);
    }
    return found ? 1 : 0;
}

extern "C" int32_t UTLLogINIFileNames(void) noexcept {
    UTLLogTrace("%s", "-------------------------- INI Files Loaded ---------------------------");
    UTLLogTrace(" ");
    try {
        for (MEMITEM item = MEMFirstItem(CFGLoadedFiles()); item != nullptr;
             item = MEMNextItem(item)) {
            const auto *entry = static_cast<const CFGFileEntry *>(MEMItemData(item));
            if (entry == nullptr || entry->loaded == 0) continue;
            char name[CMNW_MAX_PATH];
            cmnw::CopyBoundedN(name, sizeof name, entry->fileName, sizeof entry->fileName);
            std::string full = cmnw::diag::FullIniPath(name);
            if (!full.empty()) UTLLogTrace("%s", full.c_str());
        }
    } catch (...) {
        // Out of memory: the list stays partly written.
    }
    UTLLogTrace(" ");
    return 0;
}

extern "C" int32_t UTLLogINIOptions(int32_t value) noexcept {
    UTLLogINIFileNames();
    UTLLogTrace("%s", "----------------------- Begin INI Options Trace -----------------------");
    const int32_t result = CFGWriteOptions(nullptr, value, &UTLLogINIDefOpenWrite,
                                           &UTLLogINIDefAppend, &UTLLogINIDefClose);
    UTLLogTrace("%s", "----------------------- End INI Options Trace -----------------------");
    return result;
}

extern "C" int32_t UTLLogINIDefOpenWrite(void) noexcept { return 0; }

extern "C" int32_t UTLLogINIDefAppend(const char *text) noexcept {
    UTLLogTrace("%s", text != nullptr ? text : "");
    return 0;
}

extern "C" int32_t UTLLogINIDefClose(void) noexcept { return 0; }
