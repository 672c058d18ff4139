// Helpers of the platform tests beside the shared ones.
#pragma once

#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <functional>
#include <initializer_list>
#include <string>

#include "cmnw32/cfg.h"
#include "common/test_support.h"

namespace cmnw::test {

inline bool Exists(const std::string &path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

// Makes each folder, then each file (holding "x"), under dir.
inline void Make(const TempDir &dir, std::initializer_list<const char *> folders,
                 std::initializer_list<const char *> files = {}) {
    for (const char *name : folders) mkdir(dir.File(name).c_str(), 0777);
    for (const char *name : files) WriteFile(dir.File(name), "x");
}

// Makes a configuration in force whose trace file is traceFile, plus extra lines.
inline void UseTraceConfig(const std::string &dir, const std::string &traceFile, const std::string &extra = "") {
    std::string ini = dir + "/test.ini";
    WriteFile(ini, "[Data]\nTraceFile=" + traceFile + "\n" + extra);
    CFGLoadINI(ini.c_str());
}

// Children Wait() until the parent calls Open() (or ends). Each waiter takes
// one byte, so copies of the pipe in other children do not hold it shut.
class Gate {
public:
    explicit Gate(int waiters = 1) : waiters_(waiters) {
        if (pipe(fds_) != 0) fds_[0] = fds_[1] = -1;
    }
    ~Gate() {
        Open();
        if (fds_[0] >= 0) close(fds_[0]);
    }
    Gate(const Gate &) = delete;
    Gate &operator=(const Gate &) = delete;
    void Open() {
        if (fds_[1] < 0) return;
        for (int i = 0; i < waiters_; ++i) {
            if (write(fds_[1], "g", 1) != 1) break;
        }
        close(fds_[1]);
        fds_[1] = -1;
    }
    // In a child: blocks until the gate opens.
    void Wait() {
        char c;
        while (read(fds_[0], &c, 1) < 0 && errno == EINTR) {
        }
    }

private:
    int waiters_;
    int fds_[2];
};

// A child that takes a lock with take (non-zero when it has it), says so, and
// keeps it until Release() or Kill().
class Holder {
public:
    explicit Holder(const std::function<bool()> &take) {
        int ready[2];
        if (pipe(ready) != 0) return;
        pid_ = StartChild([&] {
            close(ready[0]);
            char ok = take() ? '1' : '0';
            if (write(ready[1], &ok, 1) != 1) return 2;
            close(ready[1]);
            release_.Wait();
            return 0;
        });
        close(ready[1]);
        char ok = '0';
        holding_ = read(ready[0], &ok, 1) == 1 && ok == '1';
        close(ready[0]);
    }
    ~Holder() { Release(); }
    Holder(const Holder &) = delete;
    Holder &operator=(const Holder &) = delete;

    bool holding() const { return holding_; }
    void Release() {
        release_.Open();
        Reap();
    }
    void Kill() {
        if (pid_ > 0) kill(pid_, SIGKILL);
        Reap();
    }

private:
    void Reap() {
        if (pid_ > 0) WaitChild(pid_);
        pid_ = -1;
    }
    Gate release_;
    pid_t pid_ = -1;
    bool holding_ = false;
};

}  // namespace cmnw::test
