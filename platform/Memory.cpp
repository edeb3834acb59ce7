#include "platform/Memory.h"

#include <cstdlib>  // defines __GLIBC__ where the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void HoldFreedMemory() {
#if defined(__GLIBC__)
  // The top of a heap is kept when freed, and a heap grows in large steps.
  // Setting these ends glibc's own sliding threshold for mapping a block
  // apart, so that one is set too: below it, the page compressor's
  // half-megabyte buffers come from the heap and are used again instead of
  // being mapped, faulted in and unmapped for every page.
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  mallopt(M_TOP_PAD, 32 << 20);
#endif
}

}  // namespace platform
