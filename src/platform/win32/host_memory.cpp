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

// What VirtualQuery said of the regions met since the module was last handed a
// message. Each query is a call into the system; a frame over a large scene
// tests thousands of ranges in a handful of regions.
struct KnownRegion {
  std::uint64_t base, end;
  DWORD state, protect;
};
constexpr int kKnownRegionCapacity = 16;
KnownRegion knownRegions[kKnownRegionCapacity];
int knownRegionCount = 0;
int nextKnownRegion = 0;

bool RegionOf(std::uint64_t address, KnownRegion& region) {
  for (int index = 0; index < knownRegionCount; ++index) {
    if (address - knownRegions[index].base < knownRegions[index].end - knownRegions[index].base) {
      region = knownRegions[index];
      return true;
    }
  }
  MEMORY_BASIC_INFORMATION info;
  if (VirtualQuery(reinterpret_cast<const void*>(static_cast<std::uintptr_t>(address)), &info, sizeof info) ==
      0) {
    return false;
  }
  const auto base = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(info.BaseAddress));
  region = {base, base + info.RegionSize, info.State, info.Protect};
  knownRegions[nextKnownRegion] = region;
  nextKnownRegion = (nextKnownRegion + 1) % kKnownRegionCapacity;
  if (knownRegionCount < kKnownRegionCapacity) ++knownRegionCount;
  return true;
}

bool Grants(const KnownRegion& region, DWORD wanted) {
  return region.state == MEM_COMMIT && (region.protect & wanted) != 0 &&
         (region.protect & (PAGE_GUARD | PAGE_NOACCESS)) == 0;
}

bool Accessible(HostAddress address, std::uint32_t size, DWORD wanted) {
  if (address == 0) return false;
  const std::uint64_t end = static_cast<std::uint64_t>(address) + (size != 0 ? size : 1);
  if (end > 0x100000000ull) return false;
  for (std::uint64_t cursor = address; cursor < end;) {
    KnownRegion region;
    if (!RegionOf(cursor, region)) return false;
    if (!Grants(region, wanted)) return false;
    cursor = region.end;
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

const std::uint8_t* HostSpan(HostAddress address, std::uint32_t& readable) {
  readable = 0;
  KnownRegion region;
  if (address == 0 || !RegionOf(address, region) || !Grants(region, kReadableProtection)) return nullptr;
  const std::uint64_t end = region.end < 0x100000000ull ? region.end : 0x100000000ull;
  const std::uint64_t span = end - address;
  readable = span < 0xFFFFFFFFull ? static_cast<std::uint32_t>(span) : 0xFFFFFFFFu;
  return static_cast<const std::uint8_t*>(Pointer(address));
}

void ForgetHostMemoryLayout() {
  knownRegionCount = 0;
  nextKnownRegion = 0;
}

const std::uint8_t* HostBlock(HostAddress address, std::uint32_t size) {
  return HostReadable(address, size) ? static_cast<const std::uint8_t*>(Pointer(address)) : nullptr;
}

}  // namespace varolen::platform
