// The version report over a directory: patch levels of the main product and
// of third-party components, the release, and a CRC over unpatched files.
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "cmnw32/file.h"
#include "cmnw32/mem.h"
#include "cmnw32/messages.h"
#include "cmnw32/sys.h"
#include "cmnw32/version.h"
#include "common/path.h"
#include "common/text.h"
#include "companion/companion.h"
#include "encode/encode.h"
#include "version/version.h"

namespace cmnw::version {
namespace {

constexpr size_t kListKeyLength = 20;
constexpr size_t kReleaseOffset = 10;  // length of "QVS PATCH "

int CompareRecordKeys(const void *a, const void *b, size_t) {
    return CompareRecords(static_cast<const char *>(a), static_cast<const char *>(b));
}

int CompareSummaryKeys(const void *a, const void *b, size_t) {
    return CompareSummaries(static_cast<const char *>(a), static_cast<const char *>(b));
}

struct Report {
    long *mainPatch;
    long *thirdPartyPatch;
    unsigned long *crc;
    char *release;
    int releaseSize;
};

bool IsExcluded(const char *name, char **exclude, int excludeCount) noexcept {
    if (exclude == nullptr) return false;
    for (int i = 0; i < excludeCount; ++i) {
        if (exclude[i] != nullptr && UTLstristr(name, exclude[i]) != nullptr) return true;
    }
    return false;
}

// Takes the patch numbers of one file's summaries; true when a main-product
// patch raised the running maximum.
bool TakeSummaries(MEMLIST summaries, Report &report) noexcept {
    bool patched = false;
    for (MEMITEM item = MEMFirstItem(summaries); item != nullptr; item = MEMNextItem(item)) {
        char summary[1024];
        CopyBoundedN(summary, sizeof summary, static_cast<const char *>(MEMItemData(item)),
                     MEMItemSize(item));
        char *colon = std::strchr(summary, ':');
        if (colon == nullptr || colon[1] != 'P') continue;
        *colon = '\0';
        const long number = std::strtol(colon + 2, nullptr, 10);
        if (std::strstr(summary, "QVS") != nullptr) {
            if (report.release != nullptr && report.releaseSize > 0 && report.release[0] == '\0') {
                const bool hasRelease = std::strlen(summary) > kReleaseOffset;
                CopyBounded(report.release, static_cast<size_t>(report.releaseSize),
                            hasRelease ? summary + kReleaseOffset : "");
            }
            if (number > *report.mainPatch) {
                *report.mainPatch = number;
                patched = true;
            }
        } else if (std::strstr(summary, "3RD") != nullptr && number > *report.thirdPartyPatch) {
            *report.thirdPartyPatch = number;
        }
    }
    return patched;
}

// Adds one file to the report; false when memory ran out on the way, the
// report then being incomplete.
bool ReportFile(const char *directory, const char *name, MEMLIST records, MEMLIST summaries,
                Report &report, int verbose) noexcept {
    char path[2 * CMNW_MAX_PATH];
    FormatBounded(path, sizeof path, "%s\\%s", directory, name);
    errno = 0;
    const bool scanned = UTLQueryPatchInfo(path, records, summaries) == 0;
    if (scanned ? LastScanLostRecords() : errno == ENOMEM) return false;
    const bool patched = scanned && TakeSummaries(summaries, report);
    if (!patched) {
        errno = 0;
        *report.crc = encode::FileCrc32(path, static_cast<uint32_t>(*report.crc));
        if (errno == ENOMEM) return false;
    }
    if (verbose != 0) {
        char fname[kNameSize];
        UTLSplitPath(path, nullptr, nullptr, fname, nullptr);
        if (!patched)
            SYSPrintf("filename=(%s) crc=%lx\n", fname, *report.crc);
        else
            SYSPrintf("filename=(%s) qvspatch=%ld 3rdparty=%ld\n", fname, *report.mainPatch,
                      *report.thirdPartyPatch);
    }
    MEMEmptyList(records);
    MEMEmptyList(summaries);
    return true;
}

void GetVersions(const char *directory, Report &report, char **exclude, int excludeCount,
                 int verbose) noexcept {
    if (report.release != nullptr && report.releaseSize > 0)
        std::memset(report.release, 0, static_cast<size_t>(report.releaseSize));
    char pattern[2 * CMNW_MAX_PATH];
    FormatBounded(pattern, sizeof pattern, "%s\\*", directory);
    MEMLIST files = UTLFindAll(pattern, 0);
    if (files == nullptr) return;
    MEMLIST records = MEMCreateList();
    MEMLIST summaries = MEMCreateList();
    const long startMain = *report.mainPatch, startThirdParty = *report.thirdPartyPatch;
    const unsigned long startCrc = *report.crc;
    if (records != nullptr && summaries != nullptr) {
        MEMKeyList(records, 0, kListKeyLength, CompareRecordKeys);
        MEMKeyList(summaries, 0, kListKeyLength, CompareSummaryKeys);
        MEMSortList(files, 0, CMNW_MAX_PATH);
        MEMPrepareFileList(files, 0);
        // Unsorted (out of memory) the files would be reported in another order.
        for (MEMITEM item = companion::ListInKeyOrder(files) ? MEMFirstItem(files) : nullptr; item != nullptr;
             item = MEMNextItem(item)) {
            char name[CMNW_MAX_PATH];
            CopyBoundedN(name, sizeof name, static_cast<const char *>(MEMItemData(item)),
                         MEMItemSize(item));
            if (IsExcluded(name, exclude, excludeCount)) continue;
            if (!ReportFile(directory, name, records, summaries, report, verbose)) {
                // Out of memory: no half report.
                *report.mainPatch = startMain;
                *report.thirdPartyPatch = startThirdParty;
                *report.crc = startCrc;
                if (report.release != nullptr && report.releaseSize > 0)
                    std::memset(report.release, 0, static_cast<size_t>(report.releaseSize));
                break;
            }
        }
    }
    MEMDestroyList(files);
    MEMDestroyList(records);
    MEMDestroyList(summaries);
}

}  // namespace
}  // namespace cmnw::version

extern "C" uint16_t UTLGetVersions(const char *directory, long *mainPatch, long *thirdPartyPatch,
                                   unsigned long *crc, char *release, int releaseSize,
                                   char **exclude, int excludeCount, int verbose) noexcept {
    if (directory == nullptr || mainPatch == nullptr || thirdPartyPatch == nullptr ||
        crc == nullptr)
        return 0;
    cmnw::version::Report report{mainPatch, thirdPartyPatch, crc, release, releaseSize};
    cmnw::version::GetVersions(directory, report, exclude, excludeCount, verbose);
    return 0;
}
