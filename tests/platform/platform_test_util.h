// Helpers of the platform tests beside the shared ones: existence checks, a
// traced configuration and forked children.
#pragma once

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <string>

#include "cmnw32/cfg.h"
#include "common/test_support.h"

namespace cmnw::test {

inline bool Exists(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// Makes a configuration in force whose trace file is traceFile, plus extra
// INI text.
inline void UseTraceConfig(const std::string &dir, const std::string &traceFile, const std::string &extra = "") {
    std::string ini = dir + "/test.ini";
    WriteFile(ini, "[Data]\nTraceFile=" + traceFile + "\n" + extra);
    CFGLoadINI(ini.c_str());
}

// Runs body in a forked child; returns the child's exit status (body's
// result), or -1 when it did not exit normally.
inline int RunChild(const std::function<int()> &body) {
    pid_t pid = fork();
    if (pid == 0) _exit(body());
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace cmnw::test
