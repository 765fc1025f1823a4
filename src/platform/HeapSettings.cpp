#include "platform/HeapSettings.h"

#if __has_include(<malloc.h>)
#include <malloc.h>
#endif

void KeepFreedHeapMemory()
{
#if defined(M_MMAP_THRESHOLD) && defined(M_TRIM_THRESHOLD)
    // Blocks below 32 MiB come from the heap, not from mappings of their
    // own that are unmapped when freed; the heap shrinks only once 64 MiB
    // lie free at its top. Either setting also stops the library from
    // moving the limits as it sees blocks come and go.
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}
