// In-memory configurations: sections of lines in file order, with a hash
// index from (section, key), both folded to lower case, to the chain of that
// key's lines, so that lookups and appends take constant time whatever the
// size of a section. Also the INI files on disk (cfg_file.cpp): reading,
// atomic writing and the list of loaded files.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "cmnw32/cfg.h"

namespace cmnw::companion {

constexpr uint32_t kNoLine = UINT32_MAX;

struct CfgLine {
    uint32_t section = 0;
    bool isComment = false;      // kept for writing back; never found by lookups
    std::string key;             // as written (trimmed)
    std::string value;           // trimmed; the whole text of a comment
    uint32_t nextSame = kNoLine; // next line of the same section and key
};

struct CfgSection {
    std::string name;  // as first written; section 0 is the unnamed one
    std::vector<uint32_t> lines;
};

struct CfgChain {
    uint32_t first = kNoLine;
    uint32_t last = kNoLine;
};

}  // namespace cmnw::companion

struct CFGConfig {
    uint32_t serial = 0;  // tells cursors of this configuration from others
    int changeDepth = 0;  // nesting of CFGBeginChanges
    CFGConfig *prevLive = nullptr;
    CFGConfig *nextLive = nullptr;
    std::vector<cmnw::companion::CfgLine> lines;  // every line ever added; index is stable
    std::vector<cmnw::companion::CfgSection> sections;
    std::unordered_map<std::string, uint32_t> sectionIndex;  // folded name -> section
    std::unordered_map<std::string, cmnw::companion::CfgChain> keyIndex;
};

namespace cmnw::companion {

// A new empty configuration (with its unnamed section), registered as live;
// null when out of memory.
CFGConfig *NewConfig() noexcept;
// Unregisters and frees a live configuration.
void FreeConfig(CFGConfig *config) noexcept;
// True when config is a configuration created here and not yet freed.
bool IsLiveConfig(const CFGConfig *config) noexcept;

// The first line of key in section, or null. Throws only std::bad_alloc.
const CfgLine *FindFirstLine(const CFGConfig &config, std::string_view section, std::string_view key);
// Appends key=value to section number section; returns the line's number.
// Throws only std::bad_alloc.
uint32_t AppendLine(CFGConfig &config, uint32_t section, std::string_view key, std::string_view value);
// The chain of key in section number section (an empty one is created).
CfgChain &ChainOf(CFGConfig &config, uint32_t section, std::string_view key);
// As AppendLine, with the chain of (section, key) already looked up.
uint32_t AppendLineTo(CFGConfig &config, uint32_t section, CfgChain &chain, std::string_view key,
                      std::string_view value);
// Appends a comment line to section (created when missing).
void AppendComment(CFGConfig &config, uint32_t section, std::string_view text);
// The number of section (created when missing).
uint32_t SectionNumber(CFGConfig &config, std::string_view section);
// Sets the first occurrence of key, or appends it.
void SetValue(CFGConfig &config, std::string_view section, std::string_view key, std::string_view value);
// True when line's section and key equal section and key without regard to case.
bool LineMatches(const CFGConfig &config, const CfgLine &line, std::string_view section,
                 std::string_view key);

// Reads INI text (sections, key=value lines, ';' and '#' comments, blank
// lines; LF or CRLF) into config, after what it holds already.
void ParseIniText(CFGConfig &config, std::string_view text);
// The INI text of config: lines outside any section first, then each section
// as "[Name]" and its lines in order; a blank line before each section.
std::string FormatIniText(const CFGConfig &config);

// The cursor naming line number index of config, and back (false when the
// cursor does not name a line of config).
CFGCURSOR MakeCursor(const CFGConfig &config, uint32_t index) noexcept;
bool CursorLine(const CFGConfig &config, CFGCURSOR cursor, uint32_t &index) noexcept;

// Reads the INI file at path (the suite's path form) into a new
// configuration and records the attempt in the loaded-files list. Null when
// the file cannot be read or memory runs out.
CFGConfig *LoadIniFile(const char *path) noexcept;
// Writes config to path through a temporary file in the same directory and a
// rename; false (errno set) on failure, the old file then being untouched.
bool SaveIniFile(const CFGConfig &config, const char *path) noexcept;
// The list of CFGFileEntry records; never null.
MEMListRec *LoadedFileList() noexcept;

}  // namespace cmnw::companion
