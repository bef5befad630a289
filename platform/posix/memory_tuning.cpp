#include "platform/posix/memory_tuning.h"

#include <cstdlib>  // defines __GLIBC__ on glibc systems

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace tarn {

void tuneMemoryForLargeFiles() {
#if defined(__GLIBC__)
  mallopt(M_MMAP_THRESHOLD, 16 * 1024 * 1024);
  mallopt(M_TRIM_THRESHOLD, 128 * 1024 * 1024);
#endif
}

}  // namespace tarn
