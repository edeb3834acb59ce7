#include "platform/Memory.h"

#include <cstdlib>  // defines __GLIBC__ where the C library is glibc

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace platform {

void HoldFreedMemory() {
#if defined(__GLIBC__)
  // The top of a heap is kept when freed, and a heap grows in large steps.
  // (Large blocks stay mapped one by one: glibc raises that threshold by
  // itself as they are freed, better than any fixed one.)
  mallopt(M_TRIM_THRESHOLD, 256 << 20);
  mallopt(M_TOP_PAD, 32 << 20);
#endif
}

}  // namespace platform
