// INI files on disk for the configuration library: reading, atomic writing
// and the process's list of loaded files.
#pragma once

#include "companion/cfg_store.h"

namespace cmnw::companion {

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
