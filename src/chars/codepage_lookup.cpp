// Lookups in a code page set against its default code page: by index, by the
// identifier, name or alias of a character, and by byte.
#include <algorithm>
#include <cstring>
#include <new>

#include "chars/codepage_set.h"
#include "cmnw32/codepage.h"
#include "common/text.h"

namespace cmnw::codepage {
namespace {

bool IsBlankText(const char *text) noexcept {
    for (; *text != '\0'; ++text)
        if (!IsBlankChar(static_cast<unsigned char>(*text))) return false;
    return true;
}

// Sorts the characters by their kind of text, then by index, unless done
// since the last load. Without memory for it nothing is found.
const std::vector<uint16_t> &TextIndex(CodePageSet &set, TextKind kind) noexcept {
    std::vector<uint16_t> &order = set.byText[kind];
    if (set.byTextReady[kind]) return order;
    try {
        order.resize(set.chars.size());
    } catch (const std::bad_alloc &) {
        order.clear();
        return order;
    }
    for (size_t k = 0; k < order.size(); ++k) order[k] = static_cast<uint16_t>(k);
    std::sort(order.begin(), order.end(), [&](uint16_t a, uint16_t b) {
        const int c = std::strcmp(TextOf(set.chars[a], kind), TextOf(set.chars[b], kind));
        return c != 0 ? c < 0 : a < b;
    });
    set.byTextReady[kind] = true;
    return order;
}

// The byte in page of the first of the characters whose kind of text is
// probe (cut to max characters) that has one: occurrences are tried in
// character order, up to kMaxOccurrences of them. An empty text reaches only
// its first occurrence, since every empty text keeps the first sequence
// number. 0 when none has a byte.
uint8_t ByteOfText(CodePageSet &set, const CodePage &page, TextKind kind, const char *probe,
                   size_t max) noexcept {
    char key[kNameMax + 1];
    CopyBounded(key, max + 1, probe);
    const std::vector<uint16_t> &order = TextIndex(set, kind);
    auto textAt = [&](uint16_t index) { return TextOf(set.chars[index], kind); };
    auto pos = std::lower_bound(
        order.begin(), order.end(), key,
        [&](uint16_t index, const char *k) { return std::strcmp(textAt(index), k) < 0; });
    const size_t reach = key[0] == '\0' ? 1 : kMaxOccurrences;
    for (size_t n = 0; n < reach && pos != order.end() && std::strcmp(textAt(*pos), key) == 0;
         ++n, ++pos) {
        if (page.bytes[*pos] != 0) return page.bytes[*pos];
    }
    return 0;
}

void CopyText(char *out, size_t size, const char *text) noexcept {
    if (out != nullptr) CopyBounded(out, size, text);
}

}  // namespace

void RebuildByteIndex(CodePage &page) noexcept {
    page.firstChar.fill(kNoChar);
    for (size_t k = page.bytes.size(); k-- > 0;)
        page.firstChar[page.bytes[k]] = static_cast<uint16_t>(k);
}

void ForgetTextIndexes(CodePageSet &set) noexcept {
    for (int kind = kIdentifierText; kind <= kAliasText; ++kind) {
        set.byText[kind].clear();
        set.byTextReady[kind] = false;
    }
}

uint16_t SetDefaultPage(CodePageSet &set, int32_t id, char *shortName) noexcept {
    if (shortName != nullptr) TrimInPlace(shortName);
    for (size_t i = 0; i < set.codePages.size(); ++i) {
        const CodePage &page = set.codePages[i];
        if (page.id == id &&
            (shortName == nullptr || std::strcmp(page.shortName, shortName) == 0)) {
            set.defaultPage = static_cast<int>(i);
            return UTL_CP_OK;
        }
    }
    return UTL_CP_FAIL;
}

uint16_t CharAtIndex(const CodePageSet &set, uint16_t index, uint8_t *byteOut, char *identifier,
                     char *name, char *alias) noexcept {
    if (set.defaultPage < 0 || index >= set.chars.size()) return UTL_CP_FAIL;
    if (byteOut != nullptr) *byteOut = set.codePages[set.defaultPage].bytes[index];
    const CharTexts &texts = set.chars[index];
    CopyText(identifier, kIdentifierMax + 1, texts.identifier);
    CopyText(name, kNameMax + 1, texts.name);
    CopyText(alias, kNameMax + 1, texts.alias);
    return UTL_CP_OK;
}

uint16_t ByteOfNamedChar(CodePageSet &set, const char *identifier, const char *name,
                         const char *alias) noexcept {
    if (set.defaultPage < 0) return UTL_CP_FAIL;
    const CodePage &page = set.codePages[set.defaultPage];
    uint8_t byte = 0;
    if (identifier != nullptr)
        byte = ByteOfText(set, page, kIdentifierText, identifier, kIdentifierMax);
    if (byte == 0 && name != nullptr && !IsBlankText(name))
        byte = ByteOfText(set, page, kNameText, name, kNameMax);
    if (byte == 0 && alias != nullptr && !IsBlankText(alias))
        byte = ByteOfText(set, page, kAliasText, alias, kNameMax);
    return byte;
}

}  // namespace cmnw::codepage

using namespace cmnw::codepage;

extern "C" uint16_t UTLSetDefCodePage(UTLCPSET handle, int32_t codePageId,
                                      char *shortName) noexcept {
    CodePageSet *set = SetFromHandle(handle);
    if (set == nullptr) return UTL_CP_FAIL;
    return SetDefaultPage(*set, codePageId, shortName);
}

extern "C" uint16_t UTLCodePageCount(UTLCPSET handle) noexcept {
    const CodePageSet *set = SetFromHandle(handle);
    return set == nullptr ? 0 : static_cast<uint16_t>(set->codePages.size());
}

extern "C" uint16_t UTLGetIndexCodePageChar(UTLCPSET handle, const uint16_t *index,
                                            uint8_t *byteOut, char *identifier, char *name,
                                            char *alias) noexcept {
    const CodePageSet *set = SetFromHandle(handle);
    if (set == nullptr || index == nullptr) return UTL_CP_FAIL;
    return CharAtIndex(*set, *index, byteOut, identifier, name, alias);
}

extern "C" uint16_t UTLGetFirstCodePageChar(UTLCPSET handle, uint8_t *byteOut, char *identifier,
                                            char *name, char *alias) noexcept {
    WalkIndex() = 0;
    const CodePageSet *set = SetFromHandle(handle);
    if (set == nullptr) return UTL_CP_FAIL;
    return CharAtIndex(*set, WalkIndex(), byteOut, identifier, name, alias);
}

extern "C" uint16_t UTLGetNextCodePageChar(UTLCPSET handle, uint8_t *byteOut, char *identifier,
                                           char *name, char *alias) noexcept {
    // The position stops one past the largest index, so a finished walk keeps
    // failing instead of wrapping round to the first character.
    if (WalkIndex() < kNoChar) ++WalkIndex();
    const CodePageSet *set = SetFromHandle(handle);
    if (set == nullptr) return UTL_CP_FAIL;
    return CharAtIndex(*set, WalkIndex(), byteOut, identifier, name, alias);
}

extern "C" uint16_t UTLLocateCharByName(UTLCPSET handle, const char *identifier, const char *name,
                                        const char *alias) noexcept {
    CodePageSet *set = SetFromHandle(handle);
    if (set == nullptr) return UTL_CP_FAIL;
    return ByteOfNamedChar(*set, identifier, name, alias);
}

extern "C" uint16_t UTLLocateNameByChar(UTLCPSET handle, int32_t byteValue, char *identifier,
                                        char *name, char *alias) noexcept {
    const CodePageSet *set = SetFromHandle(handle);
    if (set == nullptr || set->defaultPage < 0) return UTL_CP_FAIL;
    const CodePage &page = set->codePages[set->defaultPage];
    const uint16_t k = page.firstChar[static_cast<uint32_t>(byteValue) & 0xFF];
    if (k == kNoChar) return UTL_CP_FAIL;
    const CharTexts &texts = set->chars[k];
    CopyText(identifier, kIdentifierMax + 1, texts.identifier);
    CopyText(name, kNameMax + 1, texts.name);
    CopyText(alias, kNameMax + 1, texts.alias);
    const bool delivered = identifier != nullptr || name != nullptr || alias != nullptr;
    return delivered ? UTL_CP_OK : UTL_CP_FAIL;
}
