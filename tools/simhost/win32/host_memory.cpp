#include "win32/host_memory.h"

#include <windows.h>

#include <cstring>
#include <stdexcept>
#include <string>

namespace simhost::win32 {

namespace {

// The host's fixed block: 0x470000..0x48FFFF lies inside this section, since the
// program keeps its default image base and no relocation.
__attribute__((section(".hostmem"), used, aligned(4096))) unsigned char hostBlock[0x90000];

void* Pointer(HostAddress address) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(address)); }

}  // namespace

void ProcessMemory::Map(HostAddress base, std::uint32_t size) {
  const auto block = reinterpret_cast<std::uintptr_t>(hostBlock);
  if (base >= block && base + size <= block + sizeof hostBlock) {
    std::memset(Pointer(base), 0, size);
    return;
  }
  if (VirtualAlloc(Pointer(base), size, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE) != Pointer(base)) {
    throw std::runtime_error("cannot lay out host memory at " + std::to_string(base));
  }
}

void ProcessMemory::Write(HostAddress address, const void* bytes, std::uint32_t size) {
  std::memcpy(Pointer(address), bytes, size);
}

void ProcessMemory::Read(HostAddress address, void* bytes, std::uint32_t size) {
  std::memcpy(bytes, Pointer(address), size);
}

}  // namespace simhost::win32
