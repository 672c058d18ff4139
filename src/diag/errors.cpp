// Error and information notification, the message table lookup, the caller's
// error code and the version record.
#include "cmnw32/errors.h"

#include <utility>

#include "cmnw32/sys.h"
#include "cmnw32/trace.h"
#include "diag/error_tables.h"

namespace cmnw::diag {
namespace {

int32_t DefErrorExit(const char *where, int32_t errorNumber, uint32_t detail,
                     const char *message) {
    static constexpr const char *kFrame = "*********************************\n";
    const long number = errorNumber;
    const unsigned long det = detail;
    SYSErrPrintf("%s", kFrame);
    SYSErrPrintf("* UTLDefErrorExit\n");
    SYSErrPrintf("* %s <%ld> <%lu> %s\n", where, number, det, message);
    SYSErrPrintf("%s", kFrame);
    UTLLogTrace("* UTLDefErrorExit * %s <%ld> <%lu> %s\n", where, number, det, message);
    return 65535;
}

int32_t DefInfoNotify(const char *where, const char *message) {
    SYSErrPrintf("\nInformational in %s: %s\n", where, message);
    UTLLogTrace("* UTLDefInfoNotify * %s: %s\n", where, message);
    return 65535;
}

struct DiagState {
    UTLErrorNotifyFunc errorNotify;
    UTLInfoNotifyFunc infoNotify;
    UTLMsgReplaceFunc msgReplace;
    int32_t errorCode;
};

constinit DiagState g_diag{&DefErrorExit, &DefInfoNotify, nullptr, 0};

// The build stamp the version record reports.
constexpr UTLVersionRec kVersion{0x40112010u, "400.112.010", __DATE__, __TIME__};

}  // namespace
}  // namespace cmnw::diag

using cmnw::diag::g_diag;

extern "C" int32_t UTLPlatformError(const char *where, int32_t errorNumber, uint32_t detail,
                                    const char *message) noexcept {
    UTLErrorNotifyFunc notify = g_diag.errorNotify;
    if (notify == nullptr) return errorNumber;
    if (message == nullptr) message = UTLErrorMsg(errorNumber);
    return notify(where, errorNumber, detail, message);
}

extern "C" UTLErrorNotifyFunc UTLSetErrorNotify(UTLErrorNotifyFunc notify) noexcept {
    return std::exchange(g_diag.errorNotify, notify);
}

extern "C" UTLErrorNotifyFunc UTLResetErrorNotify(void) noexcept {
    return g_diag.errorNotify = &cmnw::diag::DefErrorExit;
}

extern "C" int32_t UTLPlatformInfo(const char *where, const char *message) noexcept {
    UTLInfoNotifyFunc notify = g_diag.infoNotify;
    if (notify == nullptr || message == nullptr) return 1;
    return notify(where, message);
}

extern "C" UTLInfoNotifyFunc UTLSetInfoNotify(UTLInfoNotifyFunc notify) noexcept {
    return std::exchange(g_diag.infoNotify, notify);
}

extern "C" UTLInfoNotifyFunc UTLResetInfoNotify(void) noexcept {
    return g_diag.infoNotify = &cmnw::diag::DefInfoNotify;
}

extern "C" UTLMsgReplaceFunc UTLSetMsgReplace(UTLMsgReplaceFunc replace) noexcept {
    UTLMsgReplaceFunc previous = g_diag.msgReplace;
    g_diag.msgReplace = replace;
    return previous;
}

extern "C" const char *UTLErrorMsg(int32_t errorNumber) noexcept {
    if (g_diag.msgReplace != nullptr) {
        if (const char *text = g_diag.msgReplace(errorNumber)) return text;
    }
    const char *text = cmnw::diag::BuiltInMessage(errorNumber);
    return text != nullptr ? text : cmnw::diag::kUnknownMessage;
}

extern "C" int32_t UTLErrorCode(void) noexcept { return g_diag.errorCode; }

extern "C" int32_t UTLSetErrorCode(int32_t code) noexcept {
    int32_t previous = g_diag.errorCode;
    g_diag.errorCode = code;
    return previous;
}

extern "C" int32_t UTLKVRErrorNotify(const char *, int32_t, uint32_t, const char *) noexcept {
    return 0;
}

extern "C" const UTLVersionRec *UTLLibVersion(void) noexcept { return &cmnw::diag::kVersion; }
