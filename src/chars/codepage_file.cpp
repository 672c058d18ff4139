// Reading code page sets from the configuration in force (the code page file
// or the built-in set) and writing them back.
#include <cstring>
#include <new>
#include <string>

#include "chars/codepage_set.h"
#include "cmnw32/cfg.h"
#include "cmnw32/codepage.h"
#include "common/boundary.h"
#include "common/text.h"

namespace cmnw::codepage {
namespace {

constexpr char kPagesSection[] = "CodePages";
constexpr char kPageKey[] = "CodePage";
constexpr char kCharsSection[] = "CodePage";
constexpr char kCharKey[] = "Char";
// Longest value read from one line; longer lines are cut.
constexpr size_t kLineMax = 8192;

// Splits a line at commas; a run of commas is one separator, so an empty
// field is no field at all.
class FieldReader {
public:
    explicit FieldReader(const char *line) noexcept : next_(line) {}

    // The next field as [*start, *start + *length); false when none is left.
    bool Next(const char **start, size_t *length) noexcept {
        while (*next_ == ',') ++next_;
        if (*next_ == '\0') return false;
        const char *begin = next_;
        while (*next_ != '\0' && *next_ != ',') ++next_;
        *start = begin;
        *length = static_cast<size_t>(next_ - begin);
        return true;
    }

private:
    const char *next_;
};

// Copies the field trimmed of white space and cut to max characters (with
// nothing trailing left after the cut) into out (max + 1 bytes).
void CopyTrimmedField(const char *start, size_t length, char *out, size_t max) noexcept {
    while (length > 0 && IsBlankChar(static_cast<unsigned char>(*start))) ++start, --length;
    while (length > 0 && IsBlankChar(static_cast<unsigned char>(start[length - 1]))) --length;
    if (length > max) length = max;
    while (length > 0 && IsBlankChar(static_cast<unsigned char>(start[length - 1]))) --length;
    std::memcpy(out, start, length);
    out[length] = '\0';
}

// Reads a decimal number after optional blanks and sign, as the C runtime's
// atoi would, stopping at the first other character. The value is handed to
// accumulate digit by digit so that callers decide how to bound it.
template <typename Accumulate>
void ReadDecimal(const char *start, size_t length, bool *negative, Accumulate accumulate) noexcept {
    size_t i = 0;
    while (i < length && IsBlankChar(static_cast<unsigned char>(start[i]))) ++i;
    *negative = false;
    if (i < length && (start[i] == '+' || start[i] == '-')) *negative = start[i++] == '-';
    for (; i < length && start[i] >= '0' && start[i] <= '9'; ++i) accumulate(start[i] - '0');
}

// A byte value: the decimal number modulo 256.
uint8_t ByteFromField(const char *start, size_t length) noexcept {
    unsigned value = 0;
    bool negative = false;
    ReadDecimal(start, length, &negative, [&](int digit) { value = (value * 10 + digit) % 256; });
    return static_cast<uint8_t>(negative ? (256 - value) % 256 : value);
}

// A code page id: the decimal number, held to the 32-bit range.
int32_t IdFromField(const char *start, size_t length) noexcept {
    int64_t value = 0;
    bool negative = false;
    ReadDecimal(start, length, &negative, [&](int digit) {
        if (value <= INT32_MAX) value = value * 10 + digit;
    });
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

// Keeps every code page's bytes and byte index in step with the characters.
void ResizePages(CodePageSet &set) {
    for (CodePage &page : set.codePages) page.bytes.resize(set.chars.size(), 0);
}

// Brackets a run of added lines on the configuration in force.
class ChangeBracket {
public:
    ChangeBracket() noexcept : config_(CFGCurrent()) {
        if (config_ != nullptr) CFGBeginChanges(config_);
    }
    ~ChangeBracket() {
        if (config_ != nullptr) CFGEndChanges(config_);
    }
    ChangeBracket(const ChangeBracket &) = delete;
    ChangeBracket &operator=(const ChangeBracket &) = delete;

private:
    CFGHANDLE config_;
};

}  // namespace

void CodePageFilePath(char *path, size_t size) noexcept {
    char dir[CMNW_MAX_PATH];
    char file[CMNW_MAX_PATH];
    CFGGetStringDef("KTRes", "DefLib", dir, sizeof dir, "..\\RUDAVER\\KTRES\\DEFLIB\\");
    CFGGetStringDef("KTRes", "Codepage", file, sizeof file, "codepage.ini");
    // Paths are cut to 256 characters.
    char full[CMNW_MAX_PATH - 1];
    CopyBounded(full, sizeof full, dir);
    const size_t dirLength = std::strlen(dir);
    if (dirLength == 0 || dir[dirLength - 1] != '\\') AppendBounded(full, sizeof full, "\\");
    AppendBounded(full, sizeof full, file);
    CopyBounded(path, size, full);
}

uint16_t LoadPagesFromConfig(CodePageSet &set) {
    char line[kLineMax];
    for (CFGCURSOR cursor = CFGFirstValue(kPagesSection, kPageKey, line, sizeof line);
         cursor != nullptr;
         cursor = CFGNextValue(cursor, kPagesSection, kPageKey, line, sizeof line)) {
        FieldReader fields(line);
        const char *start;
        size_t length;
        if (!fields.Next(&start, &length)) return UTL_CP_FAIL;
        CodePage page;
        page.id = IdFromField(start, length);
        if (!fields.Next(&start, &length)) return UTL_CP_FAIL;
        if (set.codePages.size() >= kMaxCodePages) return UTL_CP_FAIL;
        CopyTrimmedField(start, length, page.shortName, kShortNameMax);
        page.bytes.assign(set.chars.size(), 0);
        RebuildByteIndex(page);
        set.codePages.push_back(std::move(page));
    }
    return UTL_CP_OK;
}

namespace {

// Drops every character, leaving the code pages; allocates nothing.
void ClearChars(CodePageSet &set) noexcept {
    set.chars.clear();
    for (CodePage &page : set.codePages) {
        page.bytes.clear();
        RebuildByteIndex(page);
    }
    ForgetTextIndexes(set);
}

uint16_t ReadChars(CodePageSet &set) {
    set.chars.clear();
    for (CodePage &page : set.codePages) page.bytes.clear();
    // Room for the most characters a set holds, as each code page record
    // has while loading; nothing moves while the lines are read.
    char line[kLineMax];
    set.chars.reserve(kMaxChars);
    for (CodePage &page : set.codePages) page.bytes.reserve(kMaxChars);
    for (CFGCURSOR cursor = CFGFirstValue(kCharsSection, kCharKey, line, sizeof line);
         cursor != nullptr && set.chars.size() < kMaxChars;
         cursor = CFGNextValue(cursor, kCharsSection, kCharKey, line, sizeof line)) {
        FieldReader fields(line);
        const char *start;
        size_t length;
        CharTexts texts{};
        if (fields.Next(&start, &length))
            CopyTrimmedField(start, length, texts.identifier, kIdentifierMax);
        if (fields.Next(&start, &length)) CopyTrimmedField(start, length, texts.name, kNameMax);
        if (fields.Next(&start, &length)) CopyTrimmedField(start, length, texts.alias, kNameMax);
        set.chars.push_back(texts);
        bool more = true;
        for (CodePage &page : set.codePages) {
            more = more && fields.Next(&start, &length);
            page.bytes.push_back(more ? ByteFromField(start, length) : 0);
        }
    }
    ResizePages(set);
    for (CodePage &page : set.codePages) RebuildByteIndex(page);
    ForgetTextIndexes(set);
    return UTL_CP_OK;
}

}  // namespace

uint16_t LoadCharsFromConfig(CodePageSet &set) {
    try {
        return ReadChars(set);
    } catch (const std::bad_alloc &) {
        // Characters, bytes and indexes must stay in step: drop them all.
        ClearChars(set);
        throw;
    }
}

uint16_t AddPagesToConfig(const CodePageSet &set) noexcept {
    ChangeBracket bracket;
    for (const CodePage &page : set.codePages) {
        char line[32];
        FormatBounded(line, sizeof line, "%ld,%s", static_cast<long>(page.id), page.shortName);
        if (CFGAddLine(kPagesSection, kPageKey, line) == 0) return UTL_CP_FAIL;
    }
    return UTL_CP_OK;
}

uint16_t AddCharsToConfig(const CodePageSet &set) {
    ChangeBracket bracket;
    std::string line;
    // A blank text is written as one space: the reader skips empty fields,
    // so writing nothing would move the following fields up by one.
    auto appendText = [&line](const char *text) { line += text[0] == '\0' ? " " : text; };
    for (size_t k = 0; k < set.chars.size(); ++k) {
        const CharTexts &texts = set.chars[k];
        line.clear();
        appendText(texts.identifier);
        line += ',';
        appendText(texts.name);
        line += ',';
        appendText(texts.alias);
        for (const CodePage &page : set.codePages) {
            char number[8];
            FormatBounded(number, sizeof number, ",%d", page.bytes[k]);
            line += number;
        }
        if (CFGAddLine(kCharsSection, kCharKey, line.c_str()) == 0) return UTL_CP_FAIL;
    }
    return UTL_CP_OK;
}

}  // namespace cmnw::codepage

using namespace cmnw::codepage;

namespace {

// Runs one loading or writing step on a known set; a null or unknown set and
// running out of memory give the failure status.
template <typename Step>
uint16_t OnSet(UTLCPSET handle, Step step) noexcept {
    CodePageSet *set = SetFromHandle(handle);
    if (set == nullptr) return UTL_CP_FAIL;
    return cmnw::UnlessOutOfMemory(static_cast<uint16_t>(UTL_CP_FAIL), [&] { return step(*set); });
}

}  // namespace

extern "C" uint16_t UTLLoadCodePages(UTLCPSET set) noexcept {
    return OnSet(set, [](CodePageSet &s) { return LoadPagesFromConfig(s); });
}

extern "C" uint16_t UTLLoadCodePagesChars(UTLCPSET set) noexcept {
    return OnSet(set, [](CodePageSet &s) { return LoadCharsFromConfig(s); });
}

extern "C" uint16_t UTLUnloadCodePages(UTLCPSET set) noexcept {
    return OnSet(set, [](CodePageSet &s) { return AddPagesToConfig(s); });
}

extern "C" uint16_t UTLUnloadCodePagesChars(UTLCPSET set) noexcept {
    return OnSet(set, [](CodePageSet &s) { return AddCharsToConfig(s); });
}

extern "C" uint16_t UTLUnloadCodePage(UTLCPSET handle) noexcept {
    return OnSet(handle, [](CodePageSet &set) -> uint16_t {
        // The file goes where loading would look for it under the
        // configuration the caller has in force.
        char path[CMNW_MAX_PATH];
        CodePageFilePath(path, sizeof path);
        CFGHANDLE remembered = CFGCurrent();
        if (CFGCreate() == nullptr) {
            CFGSetCurrent(remembered);
            return UTL_CP_FAIL;
        }
        uint16_t status = UTL_CP_FAIL;
        try {
            if (AddPagesToConfig(set) == UTL_CP_OK && AddCharsToConfig(set) == UTL_CP_OK)
                status = CFGSave(path) == 0 ? UTL_CP_OK : UTL_CP_FAIL;
        } catch (const std::bad_alloc &) {
            status = UTL_CP_FAIL;
        }
        CFGDiscard();
        CFGSetCurrent(remembered);
        return status;
    });
}
