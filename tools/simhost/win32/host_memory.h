// The host's memory at the host's fixed addresses, in this process.
#pragma once

#include "host_builder.h"

namespace simhost::win32 {

// Lays host regions out at their own addresses: inside the program image's
// host block where they fall there, elsewhere with VirtualAlloc at exactly
// that address. Host addresses are then pointers, as in the host.
class ProcessMemory : public HostMemoryWriter, public HostMemoryReader {
 public:
  void Map(HostAddress base, std::uint32_t size) override;
  void Write(HostAddress address, const void* bytes, std::uint32_t size) override;
  void Read(HostAddress address, void* bytes, std::uint32_t size) override;
};

}  // namespace simhost::win32
