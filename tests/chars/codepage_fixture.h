// Helpers shared by the code page tests: a scratch directory, files in it,
// and a configuration in force that points the code page file there.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cmnw32/codepage.h"

namespace cmnw::testing {

class ScratchDir {
public:
    ScratchDir() {
        char pattern[] = "/tmp/cmnw_codepage_XXXXXX";
        const char *made = mkdtemp(pattern);
        path_ = made != nullptr ? made : "";
    }
    ~ScratchDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;

    const std::string &path() const { return path_; }
    std::string File(const std::string &name) const { return path_ + "/" + name; }

    void Write(const std::string &name, const std::string &text) const {
        FILE *f = std::fopen(File(name).c_str(), "wb");
        if (f == nullptr) return;
        std::fwrite(text.data(), 1, text.size(), f);
        std::fclose(f);
    }

    std::string Read(const std::string &name) const {
        std::string text;
        FILE *f = std::fopen(File(name).c_str(), "rb");
        if (f == nullptr) return text;
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) text.append(buf, n);
        std::fclose(f);
        return text;
    }

    // Makes an INI file with the given [KTRes] options (and any extra text)
    // the configuration the library loads at first need. Call before any
    // configuration is read in this process.
    void UseConfig(const std::string &extra = "") const {
        Write("cmnw32.ini", "[KTRes]\nDefLib=" + path_ + "/\nCodepage=codepage.ini\n" + extra);
        setenv("CMNW32_INI", File("cmnw32.ini").c_str(), 1);
    }

private:
    std::string path_;
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
