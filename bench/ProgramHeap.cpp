// The benchmarks run with the heap set up as the program sets it up, so
// that both sides of every comparison meet the same allocator.

#include "platform/HeapSettings.h"

namespace {

[[maybe_unused]] const bool HeapSetUp = (KeepFreedHeapMemory(), true);

} // namespace
