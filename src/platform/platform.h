// The platform family's internal header: universal names of paths on
// network mounts.
#pragma once

#include <cstdint>

namespace cmnw::platform {

// As UTLGetUniversalName for absolutePath (native form), with the mount
// table given as the text of /proc/self/mounts.
uint32_t UniversalNameFromMounts(const char *mountsText, const char *absolutePath, uint32_t infoLevel,
                                 void *buffer, uint32_t *bufferSize) noexcept;

}  // namespace cmnw::platform
