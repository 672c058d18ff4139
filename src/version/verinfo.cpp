// The version record of one module file, read through the portability
// layer's version-resource calls.
#include <sys/stat.h>

#include <atomic>
#include <cstring>
#include <ctime>
#include <initializer_list>

#include "cmnw32/mem.h"
#include "cmnw32/sysver.h"
#include "cmnw32/version.h"
#include "common/os.h"
#include "common/path.h"
#include "common/text.h"

namespace cmnw::version {
namespace {

constexpr uint16_t kDefaultCodePage = 1252;

// The resource being read, for the duration of one UTLGetVerInfo. Each
// thread has its own, so calls on several threads never share a block.
struct VerInfoState {
    void *block;
    const void *fixedInfo;
    uint16_t language;
    uint16_t codePage;
};

constinit thread_local VerInfoState t_verInfo{nullptr, nullptr, 0, kDefaultCodePage};
// The language last read in the process; it serves files without a
// translation entry.
constinit std::atomic<uint16_t> g_lastLanguage{0};

using Field = char[UTL_VERINFO_FIELD_SIZE];

void CutAtLineEnd(char *text) noexcept {
    text[std::strcspn(text, "\r\n")] = '\0';
}

void StringValue(const char *name, Field &field) noexcept {
    char subBlock[96];
    FormatBounded(subBlock, sizeof subBlock, "\\StringFileInfo\\%04x%04x\\%s", t_verInfo.language,
                  t_verInfo.codePage, name);
    void *value = nullptr;
    uint32_t length = 0;
    if (SYSVerQueryValue(t_verInfo.block, subBlock, &value, &length) != 0)
        CopyBoundedN(field, sizeof field, static_cast<const char *>(value), length);
}

void ReadTranslation() noexcept {
    void *value = nullptr;
    uint32_t length = 0;
    t_verInfo.codePage = kDefaultCodePage;
    if (SYSVerQueryValue(t_verInfo.block, "\\VarFileInfo\\Translation", &value, &length) == 0 ||
        length < 4)
        return;
    const auto *pair = static_cast<const unsigned char *>(value);
    t_verInfo.language = static_cast<uint16_t>(pair[0] | (pair[1] << 8));
    t_verInfo.codePage = static_cast<uint16_t>(pair[2] | (pair[3] << 8));
}

void FileTime(const char *fileName, Field &field) noexcept {
    char native[os::kNativeSize];
    struct stat st;
    if (!os::ToNative(fileName, native) || os::Stat(native, &st) != 0) return;
    char text[64];
    if (ctime_r(&st.st_mtime, text) != nullptr) CopyBounded(field, sizeof field, TrimInPlace(text));
}

void FillRecord(const char *fileName, UTLVerInfo &info) noexcept {
    char name[kNameSize];
    char ext[kExtSize];
    UTLSplitPath(fileName, nullptr, nullptr, name, ext);
    FormatBounded(info.fileName, sizeof info.fileName, "%s%s", name, ext);
    TrimInPlace(info.fileName);

    SYSFixedFileInfo fixed;
    std::memcpy(&fixed, t_verInfo.fixedInfo, sizeof fixed);
    FormatBounded(info.fileVersion, sizeof info.fileVersion, "%d.%d.%d.%d",
                  static_cast<int>(fixed.fileVersionMS >> 16),
                  static_cast<int>(fixed.fileVersionMS & 0xFFFF),
                  static_cast<int>(fixed.fileVersionLS >> 16),
                  static_cast<int>(fixed.fileVersionLS & 0xFFFF));
    StringValue("CompanyName", info.companyName);
    StringValue("Description", info.description);
    StringValue("InternalName", info.internalName);
    StringValue("LegalCopyright", info.legalCopyright);
    StringValue("OriginalFilename", info.originalFilename);
    StringValue("ProductName", info.productName);
    StringValue("ProductVersion", info.productVersion);
    FileTime(fileName, info.fileTime);
    for (char *f : {info.fileName, info.fileVersion, info.companyName, info.description,
                    info.internalName, info.legalCopyright, info.originalFilename, info.productName,
                    info.productVersion, info.fileTime})
        CutAtLineEnd(f);
}

void GetVerInfo(const char *fileName, UTLVerInfo &info) noexcept {
    uint32_t handle = 0;
    const uint32_t size = SYSGetFileVersionInfoSize(fileName, &handle);
    if (size < 1) return;
    t_verInfo.block = MEMAlloc(size);
    if (t_verInfo.block == nullptr) return;
    void *fixed = nullptr;
    uint32_t length = 0;
    if (SYSGetFileVersionInfo(fileName, handle, size, t_verInfo.block) != 0 &&
        SYSVerQueryValue(t_verInfo.block, "\\", &fixed, &length) != 0 &&
        length >= sizeof(SYSFixedFileInfo)) {
        t_verInfo.fixedInfo = fixed;
        t_verInfo.language = g_lastLanguage.load(std::memory_order_relaxed);
        ReadTranslation();
        g_lastLanguage.store(t_verInfo.language, std::memory_order_relaxed);
        FillRecord(fileName, info);
    }
    MEMFree(t_verInfo.block);
    t_verInfo.block = nullptr;
    t_verInfo.fixedInfo = nullptr;
}

}  // namespace
}  // namespace cmnw::version

extern "C" UTLVerInfo UTLGetVerInfo(const char *fileName) noexcept {
    UTLVerInfo info;
    std::memset(&info, 0, sizeof info);
    if (fileName != nullptr) cmnw::version::GetVerInfo(fileName, info);
    return info;
}
