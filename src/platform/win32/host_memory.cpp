// Host memory is the process's own: a host address is a pointer. Readability is
// asked of the system (VirtualQuery), never found out by touching the memory.
#include "platform/host_memory.h"

#include <windows.h>

#include <cstring>

namespace varolen::platform {

namespace {

constexpr DWORD kReadableProtection = PAGE_READONLY | PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READ |
                                      PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
// An untouched writable image page reports PAGE_WRITECOPY: it is writable too.
constexpr DWORD kWritableProtection =
    PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

bool Accessible(HostAddress address, std::uint32_t size, DWORD wanted) {
  if (address == 0) return false;
  const std::uint64_t end = static_cast<std::uint64_t>(address) + (size != 0 ? size : 1);
  if (end > 0x100000000ull) return false;
  for (std::uint64_t cursor = address; cursor < end;) {
    MEMORY_BASIC_INFORMATION info;
    if (VirtualQuery(reinterpret_cast<const void*>(static_cast<std::uintptr_t>(cursor)), &info,
                     sizeof info) == 0) {
      return false;
    }
    if (info.State != MEM_COMMIT || (info.Protect & wanted) == 0 ||
        (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)) != 0) {
      return false;
    }
    cursor = reinterpret_cast<std::uintptr_t>(info.BaseAddress) + info.RegionSize;
  }
  return true;
}

void* Pointer(HostAddress address) { return reinterpret_cast<void*>(static_cast<std::uintptr_t>(address)); }

}  // namespace

bool HostReadable(HostAddress address, std::uint32_t size) {
  return Accessible(address, size, kReadableProtection);
}

bool HostWritable(HostAddress address, std::uint32_t size) {
  return Accessible(address, size, kWritableProtection);
}

void ReadHostBytes(HostAddress address, void* destination, std::uint32_t size) {
  std::memcpy(destination, Pointer(address), size);
}

void WriteHostBytes(HostAddress address, const void* source, std::uint32_t size) {
  std::memcpy(Pointer(address), source, size);
}

const std::uint8_t* HostBlock(HostAddress address, std::uint32_t size) {
  return HostReadable(address, size) ? static_cast<const std::uint8_t*>(Pointer(address)) : nullptr;
}

}  // namespace varolen::platform
