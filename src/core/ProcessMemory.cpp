// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/ProcessMemory.h"

// Defines __GLIBC__ where the C library is glibc; tested before any C library header was
// included, it was never defined, and both functions below did nothing.
#include <cstddef>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tessel::ProcessMemory {

void shareOneHeap()
{
#if defined(__GLIBC__)
    mallopt(M_ARENA_MAX, 1);
#endif
}

void releaseFreeMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

} // namespace tessel::ProcessMemory
