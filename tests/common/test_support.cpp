#include "common/test_support.h"

#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace cmnw::test {

TempDir::TempDir(bool enter) {
    const char *base = std::getenv("TMPDIR");
    std::string pattern = std::string(base != nullptr && base[0] != '\0' ? base : "/tmp") +
                          "/cmnw32-test-XXXXXX";
    if (char *made = mkdtemp(pattern.data())) path_ = made;
    if (enter && !path_.empty()) {
        char cwd[PATH_MAX];
        if (getcwd(cwd, sizeof cwd) != nullptr) previousCwd_ = cwd;
        if (chdir(path_.c_str()) != 0) previousCwd_.clear();
    }
}

TempDir::~TempDir() {
    if (!previousCwd_.empty() && chdir(previousCwd_.c_str()) != 0) {
        // Nothing better to do in a destructor.
    }
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::File(const std::string &name) const { return path_ + "/" + name; }

std::string TempDir::Write(const std::string &name, const std::string &text) const {
    WriteFile(File(name), text);
    return File(name);
}

pid_t StartChild(const std::function<int()> &body) {
    const pid_t pid = fork();
    if (pid == 0) _exit(body());
    return pid;
}

int WaitChild(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool WriteFile(const std::string &path, const std::string &text) {
    return static_cast<bool>(std::ofstream(path, std::ios::binary | std::ios::trunc) << text);
}

std::string ReadFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

GuardedBuffer::GuardedBuffer(size_t length) : length_(length) {
    const size_t page = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    mapped_ = (length + page - 1) / page * page + page;
    base_ = static_cast<char *>(
        mmap(nullptr, mapped_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0));
    mprotect(base_ + mapped_ - page, page, PROT_NONE);
    data_ = base_ + mapped_ - page - length;
}

GuardedBuffer::GuardedBuffer(const std::string &bytes) : GuardedBuffer(bytes.size()) {
    std::memcpy(data_, bytes.data(), bytes.size());
}

GuardedBuffer::~GuardedBuffer() { munmap(base_, mapped_); }

}  // namespace cmnw::test
