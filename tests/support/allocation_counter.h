#pragma once

namespace varolen::testing {

// Heap allocations (operator new, malloc, calloc, realloc) since the program started.
long AllocationCount();
void CountAllocation();

}  // namespace varolen::testing
