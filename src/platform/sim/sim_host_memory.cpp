// Host memory over a sparse simulated address space. Reading or writing memory
// that was not found accessible is a fault of the module: it stops the program
// with a message instead of returning made-up bytes.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/host_memory.h"
#include "platform/sim/sim_state.h"

namespace varolen {

namespace sim {
namespace detail {

std::map<HostAddress, Region>& Regions() {
  static std::map<HostAddress, Region> regions;
  return regions;
}

}  // namespace detail

namespace {

using detail::Region;
using detail::Regions;

// The region the last look-up found. The module reads a record, then the next
// one beside it, so most look-ups end here instead of in the map.
std::pair<const HostAddress, Region>* lastRegion = nullptr;

// The region holding `address`, or null.
std::pair<const HostAddress, Region>* RegionAt(HostAddress address) {
  if (lastRegion != nullptr && address - lastRegion->first < lastRegion->second.size) return lastRegion;
  auto& regions = Regions();
  auto next = regions.upper_bound(address);
  if (next == regions.begin()) return nullptr;
  auto& candidate = *std::prev(next);
  if (address - candidate.first >= candidate.second.size) return nullptr;
  lastRegion = &candidate;
  return &candidate;
}

// Whether [address, address + size) lies in mapped regions that all grant `access`.
bool Accessible(HostAddress address, std::uint32_t size, unsigned access) {
  if (address == 0 || size == 0) return address != 0;
  if (static_cast<std::uint64_t>(address) + size > 0x100000000ull) return false;
  std::uint64_t cursor = address;
  const std::uint64_t end = static_cast<std::uint64_t>(address) + size;
  while (cursor < end) {
    auto* region = RegionAt(static_cast<HostAddress>(cursor));
    if (region == nullptr || (region->second.access & access) != access) return false;
    cursor = static_cast<std::uint64_t>(region->first) + region->second.size;
  }
  return true;
}

[[noreturn]] void Fault(const char* what, HostAddress address, std::uint32_t size) {
  std::fprintf(stderr, "simulated host memory: %s of %u bytes at 0x%08X outside accessible memory\n", what,
               size, address);
  std::abort();
}

// Copies between the simulated space and a buffer, region by region.
template <typename Copy>
void ForEachSpan(HostAddress address, std::uint32_t size, Copy copy) {
  std::uint32_t done = 0;
  while (done < size) {
    auto* region = RegionAt(address + done);
    const std::uint32_t offset = address + done - region->first;
    const std::uint32_t span = std::min(size - done, region->second.size - offset);
    copy(region->second.bytes.data() + offset, done, span);
    done += span;
  }
}

}  // namespace

void detail::ClearRegions() {
  lastRegion = nullptr;
  Regions().clear();
}

void MapHostRegion(HostAddress base, std::uint32_t size, unsigned access) {
  lastRegion = nullptr;
  Regions()[base] = detail::Region{size, access, std::vector<std::uint8_t>(size)};
}

void UnmapHostRegion(HostAddress base) {
  lastRegion = nullptr;
  Regions().erase(base);
}

void SetHostRegionAccess(HostAddress base, unsigned access) { Regions().at(base).access = access; }

std::uint8_t* HostBytes(HostAddress address, std::uint32_t size) {
  auto* region = RegionAt(address);
  if (region == nullptr || address - region->first + std::uint64_t{size} > region->second.size) {
    Fault("builder access", address, size);
  }
  return region->second.bytes.data() + (address - region->first);
}

}  // namespace sim

namespace platform {

bool HostReadable(HostAddress address, std::uint32_t size) {
  return sim::Accessible(address, size, sim::kReadable);
}

bool HostWritable(HostAddress address, std::uint32_t size) {
  return sim::Accessible(address, size, sim::kWritable);
}

void ReadHostBytes(HostAddress address, void* destination, std::uint32_t size) {
  if (!HostReadable(address, size)) sim::Fault("read", address, size);
  auto* out = static_cast<std::uint8_t*>(destination);
  sim::ForEachSpan(address, size, [out](const std::uint8_t* bytes, std::uint32_t done, std::uint32_t span) {
    std::memcpy(out + done, bytes, span);
  });
}

void WriteHostBytes(HostAddress address, const void* source, std::uint32_t size) {
  if (!HostWritable(address, size)) sim::Fault("write", address, size);
  const auto* in = static_cast<const std::uint8_t*>(source);
  sim::ForEachSpan(address, size, [in](std::uint8_t* bytes, std::uint32_t done, std::uint32_t span) {
    std::memcpy(bytes, in + done, span);
  });
}

const std::uint8_t* HostSpan(HostAddress address, std::uint32_t& readable) {
  readable = 0;
  auto* region = sim::RegionAt(address);
  if (address == 0 || region == nullptr || (region->second.access & sim::kReadable) == 0) return nullptr;
  readable = region->second.size - (address - region->first);
  return region->second.bytes.data() + (address - region->first);
}

// The simulated space answers every look-up afresh: nothing to forget.
void ForgetHostMemoryLayout() {}

const std::uint8_t* HostBlock(HostAddress address, std::uint32_t size) {
  auto* region = sim::RegionAt(address);
  if (region == nullptr || (region->second.access & sim::kReadable) == 0) return nullptr;
  // A block is one region: the pointer must cover the whole range.
  if (address - region->first + std::uint64_t{size} > region->second.size) return nullptr;
  return region->second.bytes.data() + (address - region->first);
}

}  // namespace platform
}  // namespace varolen
