// Host memory: the simulator's address space, reached only through 32-bit host
// addresses. The DLL maps them onto its own process; native builds onto a sparse
// simulated address space, so that a wrong offset fails loudly instead of
// corrupting anything.
#pragma once

#include <cstdint>
#include <cstring>

namespace varolen::platform {

using HostAddress = std::uint32_t;

// True when all `size` bytes from `address` can be read now. A range that wraps
// past the end of the 32-bit space, or starts at 0, is never readable.
bool HostReadable(HostAddress address, std::uint32_t size);
bool HostWritable(HostAddress address, std::uint32_t size);

// Raw copies. The caller has tested the range; reading an untested range is a bug.
void ReadHostBytes(HostAddress address, void* destination, std::uint32_t size);
void WriteHostBytes(HostAddress address, const void* source, std::uint32_t size);

// A contiguous readable block for hot loops, or null when the range is not readable.
const std::uint8_t* HostBlock(HostAddress address, std::uint32_t size);

// Host records are little-endian, as are both builds of the module.
template <typename Value>
Value ReadHost(HostAddress address) {
  Value value{};
  ReadHostBytes(address, &value, sizeof value);
  return value;
}

template <typename Value>
void WriteHost(HostAddress address, Value value) {
  WriteHostBytes(address, &value, sizeof value);
}

}  // namespace varolen::platform
