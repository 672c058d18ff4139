// The process-wide settings of the date and time families, one struct per
// topic with load-time values.
#include "datetime/datetime_state.h"

#include <atomic>
#include <cstdint>
#include <cstring>
#include <ctime>

#include "cmnw32/cfg.h"
#include "common/stored_text.h"
#include "common/text.h"
#include "datetime/date_internal.h"
#include "datetime/time_internal.h"

namespace cmnw::datetime {
namespace {

constexpr char kBuiltInDateDescriptor[] = "1/4";
constexpr char kBuiltInTimeDescriptor[] = "1:";

struct DescriptorState {
    StoredText<kDescriptorBuffer> date{kBuiltInDateDescriptor};
    StoredText<kDescriptorBuffer> time{kBuiltInTimeDescriptor};
};
constinit DescriptorState g_descriptors;

constexpr int kPivotUnread = -1;
constexpr int kDefaultPivot = 50;

struct CalendarState {
    // Century pivot: -1 until read from the configuration, then 0..99.
    std::atomic<int> pivot{kPivotUnread};
    // Set once the C library's time zone has been taken from the environment.
    std::atomic<bool> timeZoneSet{false};
};
constinit CalendarState g_calendar;

struct NamesState {
    // Locale under which month names in input are matched, NUL-padded to 8
    // bytes and read as one word, so that a reader always sees a whole name;
    // 0 (empty) for the locale the call works in.
    std::atomic<uint64_t> hostLocale{0};
};
constinit NamesState g_names;

static_assert(kHostLocaleMax + 1 == sizeof(uint64_t));

}  // namespace

void KeepDefaultDescriptor(DescriptorKind kind, char *descriptor, char mode) noexcept {
    const bool date = kind == DescriptorKind::Date;
    auto &stored = date ? g_descriptors.date : g_descriptors.time;
    if (mode == 'S') {
        if (descriptor != nullptr) stored.Replace(descriptor, kMaxDescriptor);
        return;
    }
    if (mode != 'G') {
        stored.Replace(date ? kBuiltInDateDescriptor : kBuiltInTimeDescriptor, kMaxDescriptor);
    }
    if (descriptor != nullptr) stored.CopyTo(descriptor);
}

int CenturyPivot() noexcept {
    int pivot = g_calendar.pivot.load(std::memory_order_relaxed);
    if (pivot != kPivotUnread) return pivot;
    const long configured = CFGGetInt("Control", "DateFmt2To4Year", kDefaultPivot);
    pivot = (configured < 0 || configured > 99) ? 0 : static_cast<int>(configured);
    g_calendar.pivot.store(pivot, std::memory_order_relaxed);
    return pivot;
}

void TakeTimeZoneOnce() noexcept {
    if (!g_calendar.timeZoneSet.load(std::memory_order_acquire)) {
        tzset();
        g_calendar.timeZoneSet.store(true, std::memory_order_release);
    }
}

void LoadHostLocale(char (&name)[kHostLocaleMax + 1]) noexcept {
    const uint64_t word = g_names.hostLocale.load(std::memory_order_acquire);
    std::memcpy(name, &word, sizeof name);
}

void StoreHostLocale(const char *name) noexcept {
    char padded[kHostLocaleMax + 1] = {};
    CopyBoundedN(padded, sizeof padded, name, kHostLocaleMax);
    uint64_t word;
    std::memcpy(&word, padded, sizeof word);
    g_names.hostLocale.store(word, std::memory_order_release);
}

}  // namespace cmnw::datetime
