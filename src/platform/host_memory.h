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

// The readable bytes from `address` to the end of its memory region: a pointer
// to them, their count in `readable`; null and 0 when `address` is not readable.
const std::uint8_t* HostSpan(HostAddress address, std::uint32_t& readable);

// Reads a list of host records with one look-up per memory region it lies in
// instead of one per record. Lives no longer than the message it serves.
class HostReader {
 public:
  // The `size` bytes at `address`, or null when they are not all readable.
  const std::uint8_t* Bytes(HostAddress address, std::uint32_t size) {
    const std::uint32_t into = address - start_;
    if (into < readable_ && size <= readable_ - into) return bytes_ + into;
    return Look(address, size);
  }

 private:
  const std::uint8_t* Look(HostAddress address, std::uint32_t size) {
    start_ = address;
    bytes_ = HostSpan(address, readable_);
    if (bytes_ != nullptr && size <= readable_) return bytes_;
    return HostBlock(address, size);  // a range over two regions
  }

  HostAddress start_ = 0;
  const std::uint8_t* bytes_ = nullptr;
  std::uint32_t readable_ = 0;
};

// A value at `offset` in a block of host bytes: one HostBlock gave, or a host
// record copied into the module's memory.
template <typename Value>
Value BlockField(const std::uint8_t* block, std::uint32_t offset) {
  Value value;
  std::memcpy(&value, block + offset, sizeof value);
  return value;
}

template <typename Value>
void SetBlockField(std::uint8_t* block, std::uint32_t offset, Value value) {
  std::memcpy(block + offset, &value, sizeof value);
}

// What the module learnt of the host's memory layout holds only while the host
// does not run: the module forgets it whenever the host hands it a message.
void ForgetHostMemoryLayout();

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
