#pragma once

// How the heap treats memory given back to it. The passes of a pocket
// allocate and free the same few hundred kilobytes dozens of times; left to
// itself the C library hands the top of the heap back to the system after
// each pass, and the next pass faults the same pages in again, which can
// cost more than the pass's own work.

// Keeps freed memory for the next allocation. Called once, first thing.
void KeepFreedHeapMemory();
