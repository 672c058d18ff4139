#include "version/version.h"

namespace cmnw::version {

// Scanned in this order; the UTF-16LE markers are the same texts with a zero
// byte after each character.
constexpr MarkerEntry kMarkers[kMarkerCount] = {
    {"@@QVS PATCH", 11, false, "QVS", {"P", "UP"}},
    {"@@RWT PATCH", 11, false, "RWT", {"P", nullptr}},
    {"@@3RD PATCH", 11, false, "3RD", {"P", nullptr}},
    {"@\0@\0M\0X\0T\0R\0L\0O\0G\0 \0P\0A\0T\0C\0H\0", 30, true, "MXT", {"P", nullptr}},
    {"@\0@\0R\0W\0T\0 \0P\0A\0T\0C\0H\0", 22, true, "RWT", {"P", nullptr}},
};

}  // namespace cmnw::version
