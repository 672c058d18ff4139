// A scratch directory with a configuration in force that points the code
// page file there, for the code page tests.
#pragma once

#include <cstdlib>
#include <string>

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

}  // namespace cmnw::testing
