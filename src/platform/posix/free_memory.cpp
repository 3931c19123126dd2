// Handing memory the C heap holds free back to the system.
#include "platform/platform.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void system_return_free_memory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
