// Counts heap allocations of the test program, so that a test can prove a
// path allocates nothing: every form of the global operator new, and malloc,
// calloc and realloc (what the C library and the module's C calls use).
#include "support/allocation_counter.h"

#include <cstddef>
#include <cstdlib>
#include <new>

// Under AddressSanitizer the sanitizer owns malloc; there only operator new is counted.
#if defined(__SANITIZE_ADDRESS__)
#define VAROLEN_COUNT_MALLOC 0
#else
#define VAROLEN_COUNT_MALLOC 1
#endif

namespace varolen::testing {
namespace {
long allocations = 0;

void* Allocate(std::size_t size, std::size_t alignment) {
  if (size == 0) size = 1;
  if (alignment <= alignof(std::max_align_t)) {
    if (!VAROLEN_COUNT_MALLOC) ++allocations;
    return std::malloc(size);  // counted there
  }
  ++allocations;
  return std::aligned_alloc(alignment, (size + alignment - 1) / alignment * alignment);
}

void* AllocateOrThrow(std::size_t size, std::size_t alignment) {
  if (void* memory = Allocate(size, alignment)) return memory;
  throw std::bad_alloc();
}
}  // namespace

void CountAllocation() { ++allocations; }

long AllocationCount() { return allocations; }

}  // namespace varolen::testing

#if VAROLEN_COUNT_MALLOC
// The C library's allocator under the counting one: the C library documents
// malloc, calloc and realloc as replaceable, and its own free takes them back.
extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* memory, std::size_t size);

void* malloc(std::size_t size) {
  varolen::testing::CountAllocation();
  return __libc_malloc(size);
}
void* calloc(std::size_t count, std::size_t size) {
  varolen::testing::CountAllocation();
  return __libc_calloc(count, size);
}
void* realloc(void* memory, std::size_t size) {
  varolen::testing::CountAllocation();
  return __libc_realloc(memory, size);
}
}
#endif

using varolen::testing::Allocate;
using varolen::testing::AllocateOrThrow;

void* operator new(std::size_t size) { return AllocateOrThrow(size, 0); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size, 0); }
void* operator new(std::size_t size, std::align_val_t alignment) {
  return AllocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new[](std::size_t size, std::align_val_t alignment) {
  return AllocateOrThrow(size, static_cast<std::size_t>(alignment));
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size, 0); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size, 0); }

void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::align_val_t) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t, std::align_val_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
