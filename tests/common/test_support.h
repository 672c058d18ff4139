// Helpers shared by the tests: temporary directories, small file I/O, forked
// children and guarded buffers.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <functional>
#include <string>

namespace cmnw::test {

// A fresh directory under $TMPDIR (or /tmp), removed with its contents on
// destruction. With enter = true the process works inside it until then.
class TempDir {
public:
    explicit TempDir(bool enter = false);
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::string &path() const { return path_; }
    // path() + "/" + name
    std::string File(const std::string &name) const;
    // Writes text (bytes exactly as given) to File(name) and returns its path.
    std::string Write(const std::string &name, const std::string &text) const;

private:
    std::string path_;
    std::string previousCwd_;
};

// Forks a child that runs body and exits with its result.
pid_t StartChild(const std::function<int()> &body);
// The child's exit status, or -1 when it did not exit normally.
int WaitChild(pid_t pid);

// Writes text to a file, replacing it; returns false on failure.
bool WriteFile(const std::string &path, const std::string &text);
// The whole file, or "" when it cannot be read.
std::string ReadFile(const std::string &path);

// length bytes whose end touches an inaccessible page, so that any read or
// write past them faults at once.
class GuardedBuffer {
public:
    explicit GuardedBuffer(size_t length);
    explicit GuardedBuffer(const std::string &bytes);
    ~GuardedBuffer();
    GuardedBuffer(const GuardedBuffer &) = delete;
    GuardedBuffer &operator=(const GuardedBuffer &) = delete;

    char *data() { return data_; }
    char *end() { return data_ + length_; }
    size_t size() const { return length_; }

private:
    size_t length_;
    size_t mapped_;
    char *base_;
    char *data_;
};

}  // namespace cmnw::test
