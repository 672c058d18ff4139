// Universal names: a path on a cifs or nfs mount becomes "\\server\share\..."
// from the mount table; the table is read on every call, so mounts made
// after start-up count too.
#include "platform/platform.h"

#include <unistd.h>

#include <cstring>
#include <string>
#include <string_view>

#include "cmnw32/file.h"
#include "common/boundary.h"
#include "common/os.h"

namespace cmnw::platform {
namespace {

constexpr uint32_t kNoService = 65535;

// One field of a mount table line, with its octal escapes (\040 ...) undone.
std::string Unescape(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
            field[i + 2] >= '0' && field[i + 2] <= '7' && field[i + 3] >= '0' && field[i + 3] <= '7') {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 + (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

bool IsNetworkType(std::string_view type) noexcept {
    return type == "cifs" || type == "smb3" || type == "smbfs" || type == "nfs" || type == "nfs4";
}

// The part of path below mountPoint ("" when equal), or false when path does
// not lie under it.
bool BelowMount(std::string_view path, std::string_view mountPoint, std::string_view *rest) noexcept {
    if (mountPoint == "/") {
        *rest = path.substr(1);
        return true;
    }
    if (path.substr(0, mountPoint.size()) != mountPoint) return false;
    std::string_view tail = path.substr(mountPoint.size());
    if (!tail.empty() && tail[0] != '/') return false;
    *rest = tail.empty() ? tail : tail.substr(1);
    return true;
}

// "\\server\share..." for a mount source: "//server/share" (cifs) or
// "server:/export" (nfs).
bool ConnectionName(std::string_view source, std::string *out) {
    std::string text;
    if (source.substr(0, 2) == "//") {
        text = std::string(source);
    } else {
        size_t colon = source.rfind(":/");
        if (colon == std::string_view::npos || colon == 0) return false;
        std::string_view server = source.substr(0, colon);
        if (server.size() > 2 && server.front() == '[' && server.back() == ']') {
            server = server.substr(1, server.size() - 2);
        }
        text = "//" + std::string(server) + std::string(source.substr(colon + 1));
    }
    while (text.size() > 2 && text.back() == '/') text.pop_back();
    for (char &c : text) {
        if (c == '/') c = '\\';
    }
    *out = std::move(text);
    return true;
}

// Lexically absolute and clean: no "//", "." or ".." components.
std::string CleanAbsolute(const char *native) {
    std::string path;
    if (native[0] != '/') {
        char cwd[os::kNativeSize];
        if (os::CurrentFolder(cwd, sizeof cwd) == nullptr) return {};
        path = cwd;
        path += '/';
    }
    path += native;
    std::string clean;
    size_t i = 0;
    while (i < path.size()) {
        while (i < path.size() && path[i] == '/') ++i;
        size_t end = path.find('/', i);
        if (end == std::string::npos) end = path.size();
        std::string_view part(path.data() + i, end - i);
        i = end;
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            size_t slash = clean.rfind('/');
            clean.erase(slash == std::string::npos ? 0 : slash);
            continue;
        }
        clean += '/';
        clean += part;
    }
    return clean.empty() ? "/" : clean;
}

std::string ReadMountTable() {
    std::string text;
    int fd = os::Open("/proc/self/mounts", O_RDONLY | O_CLOEXEC);
    if (fd < 0) return text;
    char chunk[4096];
    for (;;) {
        ssize_t got = os::Read(fd, chunk, sizeof chunk);
        if (got <= 0) break;
        text.append(chunk, static_cast<size_t>(got));
    }
    os::Close(fd);
    return text;
}

uint32_t FillRecord(uint32_t infoLevel, const std::string &connection, const std::string &remaining, void *buffer,
                    uint32_t *bufferSize) noexcept {
    const std::string universal = connection + remaining;
    size_t head = infoLevel == UTL_UNIVERSAL_NAME_INFO_LEVEL ? sizeof(UTLUniversalNameInfo) : sizeof(UTLRemoteNameInfo);
    size_t needed = head + universal.size() + 1;
    if (infoLevel == UTL_REMOTE_NAME_INFO_LEVEL) needed += connection.size() + 1 + remaining.size() + 1;
    if (needed > *bufferSize) {
        *bufferSize = static_cast<uint32_t>(needed);
        return UTL_ERROR_MORE_DATA;
    }
    char *base = static_cast<char *>(buffer);
    char *text = base + head;
    auto place = [&text](const std::string &s) {
        char *start = text;
        std::memcpy(text, s.c_str(), s.size() + 1);
        text += s.size() + 1;
        return start;
    };
    if (infoLevel == UTL_UNIVERSAL_NAME_INFO_LEVEL) {
        UTLUniversalNameInfo info{place(universal)};
        std::memcpy(base, &info, sizeof info);
    } else {
        UTLRemoteNameInfo info{};
        info.universalName = place(universal);
        info.connectionName = place(connection);
        info.remainingPath = place(remaining);
        std::memcpy(base, &info, sizeof info);
    }
    return 0;
}

}  // namespace

uint32_t UniversalNameFromMounts(const char *mountsText, const char *absolutePath, uint32_t infoLevel, void *buffer,
                                 uint32_t *bufferSize) noexcept {
    if (mountsText == nullptr || absolutePath == nullptr || buffer == nullptr || bufferSize == nullptr) {
        return kNoService;
    }
    if (infoLevel != UTL_UNIVERSAL_NAME_INFO_LEVEL && infoLevel != UTL_REMOTE_NAME_INFO_LEVEL) {
        return UTL_ERROR_INVALID_LEVEL;
    }
    return cmnw::UnlessOutOfMemory(kNoService, [&]() -> uint32_t {
        std::string_view table(mountsText);
        std::string bestSource, bestType, bestRest;
        size_t bestLength = 0;
        bool found = false;
        while (!table.empty()) {
            size_t eol = table.find('\n');
            std::string_view line = table.substr(0, eol);
            table = eol == std::string_view::npos ? std::string_view() : table.substr(eol + 1);
            std::string_view fields[3];
            size_t count = 0;
            while (count < 3 && !line.empty()) {
                size_t blank = line.find(' ');
                fields[count++] = line.substr(0, blank);
                line = blank == std::string_view::npos ? std::string_view() : line.substr(blank + 1);
            }
            if (count < 3) continue;
            std::string mountPoint = Unescape(fields[1]);
            std::string_view rest;
            if (!BelowMount(absolutePath, mountPoint, &rest)) continue;
            if (found && mountPoint.size() < bestLength) continue;
            found = true;
            bestLength = mountPoint.size();
            bestSource = Unescape(fields[0]);
            bestType = std::string(fields[2]);
            bestRest = std::string(rest);
        }
        std::string connection;
        if (!found || !IsNetworkType(bestType) || !ConnectionName(bestSource, &connection)) return kNoService;
        std::string remaining = "\\" + bestRest;
        for (char &c : remaining) {
            if (c == '/') c = '\\';
        }
        return FillRecord(infoLevel, connection, remaining, buffer, bufferSize);
    });
}

}  // namespace cmnw::platform

extern "C" uint32_t UTLGetUniversalName(const char *localPath, uint32_t infoLevel, void *buffer,
                                        uint32_t *bufferSize) noexcept {
    using namespace cmnw::platform;
    if (localPath == nullptr || buffer == nullptr || bufferSize == nullptr) return kNoService;
    char native[cmnw::os::kNativeSize];
    if (!cmnw::os::ToNative(localPath, native) || native[0] == '\0') return kNoService;
    return cmnw::UnlessOutOfMemory(kNoService, [&]() -> uint32_t {
        std::string absolute = CleanAbsolute(native);
        if (absolute.empty()) return kNoService;
        std::string table = ReadMountTable();
        if (table.empty()) return kNoService;
        return UniversalNameFromMounts(table.c_str(), absolute.c_str(), infoLevel, buffer, bufferSize);
    });
}
