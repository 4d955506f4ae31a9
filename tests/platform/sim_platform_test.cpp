// The simulated platform must behave as the Windows side does where the module
// can tell: the random sequence, and which host memory counts as readable.
#include "platform/sim/sim_platform.h"

#include <gtest/gtest.h>

#include "platform/host_memory.h"
#include "platform/random.h"

namespace varolen {
namespace {

TEST(SimulatedRandom, DrawsTheMicrosoftRuntimeSequenceFromSeedOne) {
  sim::ResetPlatform();
  // The first numbers rand() gives in a fresh process of the Microsoft C runtime.
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int value : expected) EXPECT_EQ(platform::Rand(), value);
}

TEST(SimulatedHostMemory, ReadabilityFollowsTheMappedRegions) {
  sim::ResetPlatform();
  sim::MapHostRegion(0x1000, 0x100);
  sim::MapHostRegion(0x1100, 0x100);  // adjacent
  sim::MapHostRegion(0x3000, 0x100, sim::kNoAccess);
  sim::MapHostRegion(0xFFFFFF00, 0x100);
  struct Case {
    platform::HostAddress address;
    std::uint32_t size;
    bool readable;
  } cases[] = {
      {0x1000, 0x100, true}, {0x10FC, 8, true},  // across two adjacent regions
      {0x11FC, 8, false},    {0x0FFC, 8, false},
      {0x3000, 4, false},    {0xFFFFFFF0, 0x20, false},  // wraps past the end of the address space
      {0, 4, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::HostReadable(c.address, c.size), c.readable) << std::hex << c.address;
  }
  EXPECT_NE(platform::HostBlock(0x1000, 0x100), nullptr);
  EXPECT_EQ(platform::HostBlock(0x10FC, 8), nullptr);  // a block is one region
}

TEST(SimulatedHostMemory, TypedValuesAreLittleEndianAcrossRegions) {
  sim::ResetPlatform();
  sim::MapHostRegion(0x1000, 4);
  sim::MapHostRegion(0x1004, 4);
  platform::WriteHost<std::uint32_t>(0x1002, 0x11223344u);
  EXPECT_EQ(sim::HostBytes(0x1002, 1)[0], 0x44);
  EXPECT_EQ(sim::HostBytes(0x1005, 1)[0], 0x11);
  EXPECT_EQ(platform::ReadHost<std::uint16_t>(0x1004), 0x1122);
}

TEST(SimulatedHostMemoryDeathTest, ReadingUntestedMemoryStopsTheProgram) {
  sim::ResetPlatform();
  EXPECT_DEATH(platform::ReadHost<std::uint32_t>(0x47D15C), "outside accessible memory");
}

}  // namespace
}  // namespace varolen
