// Byte-to-byte translation tables between two code pages of a set, and
// translation of bytes and strings through them.
#include <cstring>

#include "chars/codepage_set.h"
#include "cmnw32/codepage.h"
#include "cmnw32/ctype.h"

namespace cmnw::codepage {
namespace {

struct TranslateState {
    UTLCp2CpTable table;  // used by callers that pass no table of their own
};

constinit TranslateState g_translate{};

constexpr uint32_t kFallbackKeepByte = 0xFFFFFFFFu;

UTLCp2CpTable &TableOrOwn(UTLCp2CpTable *table) noexcept {
    return table != nullptr ? *table : g_translate.table;
}

const UTLCp2CpTable &TableOrOwn(const UTLCp2CpTable *table) noexcept {
    return table != nullptr ? *table : g_translate.table;
}

bool SameCodePage(int32_t sourceId, const char *sourceShortName, int32_t targetId,
                  const char *targetShortName) noexcept {
    if (sourceId != targetId) return false;
    if (sourceShortName == nullptr && targetShortName == nullptr) return true;
    return sourceShortName != nullptr && targetShortName != nullptr &&
           UTLstricmp(sourceShortName, targetShortName) == 0;
}

// Maps each character of the source code page to its byte in the target,
// found by identifier, name or alias, walking the characters with the
// process-wide walk position. The set's default is the source afterwards.
int16_t FillMap(UTLCp2CpTable &table, CodePageSet &set, int32_t sourceId, char *sourceShortName,
                int32_t targetId, char *targetShortName) noexcept {
    if (SetDefaultPage(set, sourceId, sourceShortName) != UTL_CP_OK) return -1;
    uint8_t sourceByte = 0;
    char identifier[kIdentifierMax + 1];
    char name[kNameMax + 1];
    char alias[kNameMax + 1];
    WalkIndex() = 0;
    while (CharAtIndex(set, WalkIndex(), &sourceByte, identifier, name, alias) == UTL_CP_OK) {
        if (SetDefaultPage(set, targetId, targetShortName) != UTL_CP_OK) return -1;
        const uint16_t target = ByteOfNamedChar(set, identifier, name, alias);
        if (target != 0 && target != UTL_CP_FAIL)
            table.map[sourceByte] = static_cast<uint8_t>(target);
        if (SetDefaultPage(set, sourceId, sourceShortName) != UTL_CP_OK) return -1;
        ++WalkIndex();
    }
    return 0;
}

}  // namespace
}  // namespace cmnw::codepage

using namespace cmnw::codepage;

extern "C" int16_t UTLSetupCp2CpTable(UTLCp2CpTable *callerTable, UTLCPSET handle, int32_t sourceId,
                                      char *sourceShortName, int32_t targetId,
                                      char *targetShortName, uint32_t fallback) noexcept {
    UTLCp2CpTable &table = TableOrOwn(callerTable);
    std::memset(table.map, 0, sizeof table.map);
    table.set = handle;
    table.identity = 0;
    table.sourceId = sourceId;
    table.targetId = targetId;
    table.reserved[0] = 0;
    table.reserved[1] = 0;
    table.fallback = fallback;
    if (SameCodePage(sourceId, sourceShortName, targetId, targetShortName)) {
        table.identity = 1;
        return 0;
    }
    CodePageSet *set = SetFromHandle(handle);
    if (set == nullptr) return -1;
    return FillMap(table, *set, sourceId, sourceShortName, targetId, targetShortName);
}

extern "C" uint16_t UTLCpTranslateChar(const UTLCp2CpTable *callerTable, uint8_t byte) noexcept {
    const UTLCp2CpTable &table = TableOrOwn(callerTable);
    if (table.identity == 1 || byte == 0) return byte;
    if (table.sourceId == 0 && table.targetId == 0) return 0xFFFF;
    if (table.map[byte] != 0) return table.map[byte];
    if (table.fallback == kFallbackKeepByte) return byte;
    return static_cast<uint16_t>(table.fallback & 0xFFFF);
}

extern "C" int16_t UTLCpTranslateString(const UTLCp2CpTable *callerTable, char *output,
                                        const char *input, int32_t outSize) noexcept {
    if (input == nullptr || output == nullptr || outSize < 1) return -1;
    std::memset(output, 0, static_cast<size_t>(outSize));
    const size_t limit = static_cast<size_t>(outSize) - 1;
    for (size_t i = 0; i < limit && input[i] != '\0'; ++i) {
        const uint16_t value = UTLCpTranslateChar(callerTable, static_cast<uint8_t>(input[i]));
        if (value > 0xFF) return static_cast<int16_t>(value);
        output[i] = static_cast<char>(value);
    }
    return 0;
}
