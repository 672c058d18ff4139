// Helpers shared by the code page tests: a scratch directory with a
// configuration in force that points the code page file there, and the walk.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "cmnw32/codepage.h"
#include "common/test_support.h"

namespace cmnw::testing {

class ScratchDir : public cmnw::test::TempDir {
public:
    std::string Read(const std::string &name) const { return cmnw::test::ReadFile(File(name)); }

    // Makes an INI file holding ini the configuration the library loads at
    // first need. Call before any configuration is read in this process.
    void UseIni(const std::string &ini) const {
        setenv("CMNW32_INI", Write("cmnw32.ini", ini).c_str(), 1);
    }
    // The code page file is codepage.ini in this directory.
    void UseConfig(const std::string &extra = "") const {
        UseIni("[KTRes]\nDefLib=" + path() + "/\nCodepage=codepage.ini\n" + extra);
    }
};

// Every character of set as the first/next walk delivers it with each of
// the code pages ids the default, one line "identifier,name,alias,byte,..."
// per character, the bytes in the order of ids.
inline std::vector<std::string> Walk(UTLCPSET set, const std::vector<int32_t> &ids) {
    std::vector<std::string> rows;
    uint8_t byte = 0;
    char id[UTL_CP_IDENT_SIZE], name[UTL_CP_NAME_SIZE], alias[UTL_CP_NAME_SIZE];
    for (size_t p = 0; p < ids.size(); ++p) {
        EXPECT_EQ(UTLSetDefCodePage(set, ids[p], nullptr), UTL_CP_OK) << ids[p];
        size_t k = 0;
        for (uint16_t st = UTLGetFirstCodePageChar(set, &byte, id, name, alias); st == UTL_CP_OK;
             st = UTLGetNextCodePageChar(set, &byte, id, name, alias), ++k) {
            if (p == 0) rows.push_back(std::string(id) + "," + name + "," + alias);
            if (k < rows.size()) rows[k] += "," + std::to_string(byte);
        }
        EXPECT_EQ(k, rows.size()) << ids[p];
    }
    return rows;
}

// The walk as one text, a line per character.
inline std::string Dump(UTLCPSET set, const std::vector<int32_t> &ids) {
    std::string text;
    for (const std::string &row : Walk(set, ids)) text += row + "\n";
    return text;
}

}  // namespace cmnw::testing
