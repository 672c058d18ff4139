// The process name and sleeping.
#include <time.h>

#include <cerrno>
#include <cstring>

#include "cmnw32/process.h"
#include "common/text.h"

namespace cmnw::platform {
namespace {

struct ProcessState {
    char name[20];
};

constinit ProcessState g_process{};

}  // namespace
}  // namespace cmnw::platform

using cmnw::platform::g_process;

extern "C" int32_t UTLInitProcess(void) noexcept {
    std::memset(g_process.name, 0, sizeof g_process.name);
    return 0;
}

extern "C" int32_t UTLSetProcessName(const char *name) noexcept {
    cmnw::CopyBounded(g_process.name, sizeof g_process.name, name);
    return 0;
}

extern "C" int32_t UTLGetProcessName(char *buffer) noexcept {
    if (buffer != nullptr) std::memcpy(buffer, g_process.name, sizeof g_process.name);
    return 0;
}

extern "C" void UTLSleep(uint32_t milliseconds) noexcept {
    timespec rest{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&rest, &rest) != 0 && errno == EINTR) {
    }
}
