// Helpers of the version tests: reading MEM lists and building patch bytes.
#pragma once

#include <string>
#include <vector>

#include "cmnw32/mem.h"

namespace cmnw::test {

// The records of list as texts (each up to its first NUL).
inline std::vector<std::string> ListTexts(MEMLIST list) {
    std::vector<std::string> texts;
    for (MEMITEM item = MEMFirstItem(list); item != nullptr; item = MEMNextItem(item))
        texts.emplace_back(static_cast<const char *>(MEMItemData(item)));
    return texts;
}

// text as UTF-16LE bytes (ASCII text only).
inline std::string Utf16Le(const std::string &text) {
    std::string out;
    for (char c : text) {
        out += c;
        out += '\0';
    }
    return out;
}

// A scan's two lists, destroyed with the object.
struct PatchLists {
    MEMLIST records = MEMCreateList();
    MEMLIST summaries = MEMCreateList();
    PatchLists() = default;
    PatchLists(const PatchLists &) = delete;
    PatchLists &operator=(const PatchLists &) = delete;
    ~PatchLists() {
        MEMDestroyList(records);
        MEMDestroyList(summaries);
    }
};

}  // namespace cmnw::test
