// cmnw patches, versions, verinfo: patch records and version reports.
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <memory>

#include "cli.h"
#include "cmnw32.h"
#include "tool_text.h"

namespace cmnw::tool {
namespace {

bool IsReadableFile(const std::string &path) {
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (f == nullptr) return false;
    std::fclose(f);
    return true;
}

int CompareSummaries(const void *a, const void *b, size_t) {
    return UTLKVRVERCompareFunc(static_cast<const char *>(a), static_cast<const char *>(b));
}

// Every patch record of each file; with check, the consecutiveness report
// of the patch identifiers instead.
int Patches(const CLI::App *sub, const std::vector<std::string> &files, bool check) {
    int status = kExitOk;
    for (const std::string &f : files) {
        MEMLIST records = MEMCreateList(), summaries = MEMCreateList();
        MEMKeyList(summaries, 0, 20, CompareSummaries);
        if (UTLQueryPatchInfo(f.c_str(), records, summaries) != 0) {
            status = Report(sub, kExitUsage, "cannot read " + f);
        } else if (!check) {
            for (MEMITEM i = MEMFirstItem(records); i != nullptr; i = MEMNextItem(i))
                std::printf("%s: %s\n", f.c_str(), static_cast<const char *>(MEMItemData(i)));
        } else {
            std::printf("%s:\n", f.c_str());
            for (MEMITEM i = MEMFirstItem(summaries); i != nullptr; i = MEMNextItem(i)) {
                const auto *summary = static_cast<const char *>(MEMItemData(i));
                std::vector<char> line(std::strlen(summary) + 128);
                while (UTLKVRVERCheckConsecutive(summary, line.data()) == 0) {
                    std::printf("  %s\n", line.data());
                    status = status == kExitOk ? kExitFailed : status;
                }
                std::printf("  %s\n", line.data());
            }
        }
        MEMDestroyList(records);
        MEMDestroyList(summaries);
    }
    return status;
}

struct VersionsOptions {
    std::string directory;
    std::vector<std::string> exclude;
    bool verbose = false;
};

int Versions(const CLI::App *sub, const VersionsOptions &o) {
    struct stat st{};
    if (stat(o.directory.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
        return Report(sub, kExitUsage, "not a directory: " + o.directory);
    long mainPatch = 0, thirdParty = 0;
    unsigned long crc = 0xFFFFFFFFul;
    char release[64];
    std::vector<char *> exclude;
    for (const std::string &e : o.exclude) exclude.push_back(const_cast<char *>(e.c_str()));
    UTLGetVersions(o.directory.c_str(), &mainPatch, &thirdParty, &crc, release, sizeof release,
                   exclude.empty() ? nullptr : exclude.data(), static_cast<int>(exclude.size()),
                   o.verbose ? 1 : 0);
    std::fflush(stdout);
    std::printf("release   %s\nqvspatch  %ld\n3rdparty  %ld\ncrc       %08lx\n", release, mainPatch,
                thirdParty, crc & 0xFFFFFFFFul);
    return kExitOk;
}

int VerInfo(const CLI::App *sub, const std::vector<std::string> &files) {
    int status = kExitOk;
    for (const std::string &f : files) {
        if (!IsReadableFile(f)) {
            status = Report(sub, kExitUsage, "cannot read " + f);
            continue;
        }
        auto info = std::make_unique<UTLVerInfo>(UTLGetVerInfo(f.c_str()));
        if (info->fileName[0] == '\0') {
            status = Report(sub, kExitFailed, f + " has no version resource");
            continue;
        }
        const std::pair<const char *, const char *> rows[] = {
            {"fileName", info->fileName},       {"fileVersion", info->fileVersion},
            {"companyName", info->companyName}, {"description", info->description},
            {"internalName", info->internalName}, {"legalCopyright", info->legalCopyright},
            {"originalFilename", info->originalFilename}, {"productName", info->productName},
            {"productVersion", info->productVersion}, {"fileTime", info->fileTime}};
        for (const auto &[key, value] : rows) std::printf("%-17s %s\n", key, ToUtf8(value).c_str());
    }
    return status;
}

}  // namespace

void AddVersionCommands(CLI::App &app) {
    {
        auto files = std::make_shared<std::vector<std::string>>();
        auto check = std::make_shared<bool>(false);
        CLI::App *sub = app.add_subcommand("patches", "the patch records embedded in files");
        sub->add_option("FILE", *files, "module files")->required();
        sub->add_flag("-c,--check", *check,
                      "report missing patch numbers (exit status 1 when one is missing)");
        OnRun(sub, [sub, files, check] { return Patches(sub, *files, *check); });
    }
    {
        auto o = std::make_shared<VersionsOptions>();
        CLI::App *sub = app.add_subcommand("versions", "the patch level and CRC of a directory");
        sub->add_option("DIR", o->directory, "directory of module files")->required();
        sub->add_option("-x,--exclude", o->exclude, "skip files whose names contain this text");
        sub->add_flag("-v,--verbose", o->verbose, "one line per file");
        OnRun(sub, [sub, o] { return Versions(sub, *o); });
    }
    auto files = std::make_shared<std::vector<std::string>>();
    CLI::App *sub = app.add_subcommand("verinfo", "the version resource of Windows module files");
    sub->add_option("FILE", *files, "module files")->required();
    OnRun(sub, [sub, files] { return VerInfo(sub, *files); });
}

}  // namespace cmnw::tool
