// Counts heap allocations of the test program, so that a test can prove a
// path allocates nothing.
#include "support/allocation_counter.h"

#include <cstdlib>
#include <new>

namespace varolen::testing {
namespace {
long allocations = 0;
}  // namespace

long AllocationCount() { return allocations; }

}  // namespace varolen::testing

void* operator new(std::size_t size) {
  ++varolen::testing::allocations;
  if (void* memory = std::malloc(size != 0 ? size : 1)) return memory;
  throw std::bad_alloc();
}

void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
