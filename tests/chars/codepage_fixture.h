// Helpers shared by the code page tests: a scratch directory with a
// configuration in force that points the code page file there, and the walk.
#pragma once

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

// One character as the walk delivers it.
struct WalkedChar {
    uint8_t byte;
    std::string identifier, name, alias;
};

// Every character of set with its byte in the default code page, by the
// first/next walk.
inline std::vector<WalkedChar> WalkAll(UTLCPSET set) {
    std::vector<WalkedChar> all;
    uint8_t byte = 0;
    char id[UTL_CP_IDENT_SIZE], name[UTL_CP_NAME_SIZE], alias[UTL_CP_NAME_SIZE];
    for (uint16_t st = UTLGetFirstCodePageChar(set, &byte, id, name, alias); st == UTL_CP_OK;
         st = UTLGetNextCodePageChar(set, &byte, id, name, alias)) {
        all.push_back({byte, id, name, alias});
    }
    return all;
}

}  // namespace cmnw::testing
