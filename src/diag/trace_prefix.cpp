#include "diag/trace_prefix.h"

#include <unistd.h>

#include <ctime>

#include "common/text.h"

namespace cmnw::diag {
namespace {

// English names whatever the C library's locale.
constexpr const char *kDays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char *kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                     "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

}  // namespace

size_t FormatTracePrefix(char *out, size_t outSize, uint32_t number) noexcept {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    time_t seconds = now.tv_sec;
    tm local{};
    localtime_r(&seconds, &local);
    char when[32];
    FormatBounded(when, sizeof when, "%s %s %02d %02d:%02d:%02d", kDays[local.tm_wday % 7],
                  kMonths[local.tm_mon % 12], local.tm_mday, local.tm_hour, local.tm_min,
                  local.tm_sec);
    char year[16];
    FormatBounded(year, sizeof year, "%d", local.tm_year + 1900);
    const int millis = static_cast<int>(now.tv_nsec / 1000000);
    // The traditional "% 4u" prints as "%4u": the blank flag has no effect on
    // an unsigned conversion.
    return FormatBounded(out, outSize, "%4u. %s.%03d %s pid=%08d ", static_cast<unsigned>(number),
                         when, millis, year, static_cast<int>(getpid()));
}

}  // namespace cmnw::diag
