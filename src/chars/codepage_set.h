// Code page sets as held in memory: the characters in character order, the
// byte of each character in each code page, and the indexes that make
// lookups by text and by byte independent of the number of characters.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "cmnw32/cfg.h"
#include "cmnw32/codepage.h"

namespace cmnw::codepage {

inline constexpr size_t kIdentifierMax = 9;  // characters of an identifier
inline constexpr size_t kNameMax = 30;       // characters of a name or an alias
inline constexpr size_t kShortNameMax = 2;   // characters of a code page short name
inline constexpr size_t kMaxChars = 1025;    // characters a set holds at most
inline constexpr size_t kMaxCodePages = 0xFFFF;
// Occurrences of one text a lookup can reach: each later occurrence gets the
// next two-digit sequence number, and all from the hundredth on share "99".
inline constexpr size_t kMaxOccurrences = 100;
inline constexpr uint16_t kNoChar = 0xFFFF;

struct CharTexts {
    char identifier[kIdentifierMax + 1];
    char name[kNameMax + 1];
    char alias[kNameMax + 1];
};

enum TextKind : int { kIdentifierText = 0, kNameText = 1, kAliasText = 2 };

struct CodePage {
    int32_t id = 0;
    char shortName[kShortNameMax + 1] = {};
    std::vector<uint8_t> bytes;  // one per character; 0 = lacks it
    // The first character holding each byte value, kNoChar when none.
    std::array<uint16_t, 256> firstChar{};
};

struct CodePageSet {
    CodePageSet *next = nullptr;  // registry order
    std::vector<CharTexts> chars;
    std::vector<CodePage> codePages;  // in load order
    int defaultPage = -1;             // index into codePages, -1 = none
    // Character indexes sorted by text and then by index, per text kind;
    // built at the first lookup of that kind after loading.
    std::vector<uint16_t> byText[3];
    bool byTextReady[3] = {false, false, false};
};

inline const char *TextOf(const CharTexts &c, TextKind kind) noexcept {
    return kind == kIdentifierText ? c.identifier : kind == kNameText ? c.name : c.alias;
}

// Registry (codepage_registry.cpp).
CodePageSet *SetFromHandle(UTLCPSET handle) noexcept;  // null for unknown handles
CodePageSet *NewSet() noexcept;
void FreeSet(CodePageSet *set) noexcept;
uint16_t &WalkIndex() noexcept;  // the process-wide walk position

// Indexes (codepage_lookup.cpp), renewed after loading.
void RebuildByteIndex(CodePage &page) noexcept;
void ForgetTextIndexes(CodePageSet &set) noexcept;

// Lookups (codepage_lookup.cpp) on a known set.
uint16_t SetDefaultPage(CodePageSet &set, int32_t id, char *shortName) noexcept;
uint16_t CharAtIndex(const CodePageSet &set, uint16_t index, uint8_t *byteOut, char *identifier,
                     char *name, char *alias) noexcept;
uint16_t ByteOfNamedChar(CodePageSet &set, const char *identifier, const char *name,
                         const char *alias) noexcept;

// The code page file (codepage_file.cpp).
uint16_t LoadPagesFromConfig(CodePageSet &set);
uint16_t LoadCharsFromConfig(CodePageSet &set);
uint16_t AddPagesToConfig(const CodePageSet &set) noexcept;
uint16_t AddCharsToConfig(const CodePageSet &set);
// The code page file's path from the configuration in force (257 bytes).
void CodePageFilePath(char *path, size_t size) noexcept;

// The built-in set as a new configuration in force; 0 on failure
// (codepage_default.cpp).
CFGHANDLE BuildDefaultConfig() noexcept;

}  // namespace cmnw::codepage
