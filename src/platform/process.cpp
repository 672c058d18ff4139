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

constinit ProcessState state{};

}  // namespace
}  // namespace cmnw::platform

using cmnw::platform::state;

extern "C" int32_t UTLInitProcess(void) noexcept {
    std::memset(state.name, 0, sizeof state.name);
    return 0;
}

extern "C" int32_t UTLSetProcessName(const char *name) noexcept {
    cmnw::CopyBounded(state.name, sizeof state.name, name);
    return 0;
}

extern "C" int32_t UTLGetProcessName(char *buffer) noexcept {
    if (buffer != nullptr) std::memcpy(buffer, state.name, sizeof state.name);
    return 0;
}

extern "C" void UTLSleep(uint32_t milliseconds) noexcept {
    timespec rest{static_cast<time_t>(milliseconds / 1000), static_cast<long>(milliseconds % 1000) * 1000000L};
    while (nanosleep(&rest, &rest) != 0 && errno == EINTR) {
    }
}
