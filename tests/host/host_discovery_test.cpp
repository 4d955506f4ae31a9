// Finding the host's modules, its current view and the model's sections in
// host memory laid out by hand, including blocks that cannot be read.
#include "host/host_discovery.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/host_layout.h"
#include "platform/host_memory.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

using platform::WriteHost;

class HostViewTest : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    sim::MapHostRegion(0x470000, 0x20000);
    sim::MapHostRegion(kHeap, 0x10000);
    UseHostAddresses();
  }
  HostAddress Allocate(std::uint32_t size) {
    const HostAddress address = next_;
    next_ += (size + 15) & ~15u;
    return address;
  }
  HostAddress Text(const std::string& text) {
    const HostAddress address = Allocate(static_cast<std::uint32_t>(text.size() + 1));
    platform::WriteHostBytes(address, text.c_str(), static_cast<std::uint32_t>(text.size() + 1));
    return address;
  }
  // A module list of (name, value) nodes; returns the nodes' addresses.
  std::vector<HostAddress> ModuleList(const std::vector<std::pair<std::string, HostAddress>>& modules) {
    std::vector<HostAddress> nodes;
    for (std::size_t index = 0; index < modules.size(); ++index) nodes.push_back(Allocate(20));
    for (std::size_t index = 0; index < nodes.size(); ++index) {
      WriteHost<std::uint32_t>(nodes[index], index + 1 < nodes.size() ? nodes[index + 1] : 0);
      WriteHost<std::uint32_t>(nodes[index] + 4, Text(modules[index].first));
      WriteHost<std::uint32_t>(nodes[index] + 12, modules[index].second);
    }
    WriteHost<std::uint32_t>(0x47D15C, nodes.empty() ? 0 : nodes[0]);
    return nodes;
  }
  // A view-set block whose list for `selector` holds records of these kinds.
  std::vector<HostAddress> ViewSets(std::int32_t selector, const std::vector<std::int32_t>& kinds) {
    const HostAddress block = Allocate(0x50);
    const HostAddress windows = Allocate(4 * static_cast<std::uint32_t>(kinds.size()));
    std::vector<HostAddress> records;
    for (std::size_t index = 0; index < kinds.size(); ++index) {
      const HostAddress window = Allocate(0x40);
      records.push_back(Allocate(kHostViewRecordSize));
      WriteHost<std::int32_t>(records.back() + 0x20, kinds[index]);
      WriteHost<std::uint32_t>(window + 0x18, records.back());
      WriteHost<std::uint32_t>(windows + 4 * static_cast<std::uint32_t>(index), window);
    }
    WriteHost<std::uint32_t>(0x47D0B4, block);
    WriteHost<std::int32_t>(0x47D0BC, selector);
    if (selector >= 3 && selector <= 5) {
      WriteHost<std::uint32_t>(block + 0x20 + 0x10 * static_cast<std::uint32_t>(selector - 3), windows);
      WriteHost<std::int32_t>(block + 0x28 + 0x10 * static_cast<std::uint32_t>(selector - 3),
                              static_cast<std::int32_t>(kinds.size()));
    }
    return records;
  }

  static constexpr HostAddress kHeap = 0x30000000;
  HostAddress next_ = kHeap;
};

TEST_F(HostViewTest, DiscoveryFindsTheFirstOfEachHostModule) {
  ModuleList(
      {{"_.DLL", 0x1000}, {"g3d.dll", 0x21000000}, {"G3D.DLL", 0x23000000}, {"Global.Dll", 0x22000000}});
  for (int frame = 0; frame < 2; ++frame) {
    EXPECT_EQ(DiscoverHostModules(), 1);
    EXPECT_EQ(HostDiscovery.G3dModule, 0x21000000u);
    EXPECT_EQ(HostDiscovery.HostObjectList, 0x21000000u + 0xA5E30);
    EXPECT_EQ(HostDiscovery.HostViewMatrix, 0x21000000u + 0xAEA50);
    EXPECT_EQ(HostDiscovery.GlobalModule, 0x22000000u);
    EXPECT_EQ(HostDiscovery.HostViewPosition, 0x22000000u + 0x35B0);
    EXPECT_EQ(HostDiscovery.HostViewOrientation, 0x22000000u + 0x35C8);
    EXPECT_EQ(HostDiscovery.ViewSetSelector, 0x47D0BCu);
  }
}

TEST_F(HostViewTest, DiscoveryOfAListThatCannotBeRead) {
  // "_.DLL" alone is never taken; a first node outside readable memory ends the
  // frame's discovery with the list marked unreadable.
  ModuleList({{"_.DLL", 0x1000}});
  EXPECT_EQ(DiscoverHostModules(), 1);
  EXPECT_EQ(HostDiscovery.G3dModule, 0u);
  WriteHost<std::uint32_t>(0x47D15C, 0x50000000);
  EXPECT_EQ(DiscoverHostModules(), 0);
  EXPECT_EQ(HostDiscovery.ModuleList, 0u);
  // A node that points into unreadable memory ends the walk quietly; so does a loop.
  const auto nodes = ModuleList({{"SIM1.DLL", 1}, {"G3D.DLL", 0x21000000}});
  WriteHost<std::uint32_t>(nodes[0] + 4, 0x50000000);  // an unreadable name
  WriteHost<std::uint32_t>(nodes[1], nodes[0]);        // and back to the start
  EXPECT_EQ(DiscoverHostModules(), 1);
  EXPECT_EQ(HostDiscovery.G3dModule, 0x21000000u);
}

TEST_F(HostViewTest, CurrentViewIsTheFirstOfAUsableKind) {
  const struct {
    std::int32_t selector;
    std::vector<std::int32_t> kinds;
    int expected;  // index of the record found, -1 for none
  } cases[] = {
      {4, {3, 2}, 1}, {3, {1, 2}, 0}, {5, {1250}, 0}, {4, {3, 7}, -1}, {6, {2}, -1}, {4, {}, -1},
  };
  for (const auto& c : cases) {
    next_ = kHeap + 0x8000;
    const auto records = ViewSets(c.selector, c.kinds);
    DiscoverHostModules();
    EXPECT_EQ(FindCurrentView(), c.expected < 0 ? 0 : records[static_cast<std::size_t>(c.expected)])
        << c.selector;
  }
}

TEST_F(HostViewTest, AViewRecordThatCannotBeReadIsNoView) {
  const auto records = ViewSets(4, {2});
  sim::MapHostRegion(0x40000000, kHostViewRecordSize - 4);  // the record's end is missing
  const HostAddress window = platform::ReadHost<std::uint32_t>(
      platform::ReadHost<std::uint32_t>(platform::ReadHost<std::uint32_t>(0x47D0B4) + 0x30));
  WriteHost<std::uint32_t>(window + 0x18, 0x40000000);
  DiscoverHostModules();
  EXPECT_EQ(FindCurrentView(), 0u);
  // A count far beyond the memory behind the list.
  WriteHost<std::uint32_t>(window + 0x18, records[0]);
  WriteHost<std::int32_t>(platform::ReadHost<std::uint32_t>(0x47D0B4) + 0x38, 0x7FFFFFFF);
  EXPECT_EQ(FindCurrentView(), 0u);
}

TEST_F(HostViewTest, ModelSectionsByTag) {
  // GLOBAL.DLL's signature and the chain A -> B -> C -> T to the section table.
  const HostAddress global = 0x31000000;
  sim::MapHostRegion(global, 0x5000);
  ModuleList({{"GLOBAL.DLL", global}});
  DiscoverHostModules();
  platform::WriteHostBytes(global + 0x41E4, "08SF", 4);
  const HostAddress a = Allocate(0x124), b = Allocate(0x110), c = Allocate(0x18),
                    table = Allocate(16 + 3 * 8);
  WriteHost<std::uint32_t>(global + 0x41DC, a);
  WriteHost<std::uint32_t>(a + 0x120, b);
  WriteHost<std::uint32_t>(b + 0x10C, c);
  WriteHost<std::uint32_t>(c + 4, table);
  platform::WriteHostBytes(table + 8, "PNTR", 4);
  WriteHost<std::int32_t>(table + 12, 3);
  const char* tags[] = {"EVNT", "EVNT", "BLCK"};
  const std::uint32_t offsets[] = {0, 0x400, 0x800};
  for (std::uint32_t index = 0; index < 3; ++index) {
    platform::WriteHostBytes(table + 16 + 8 * index, tags[index], 4);
    WriteHost<std::uint32_t>(table + 20 + 8 * index, offsets[index]);
  }
  // The first EVNT entry is empty; offsets count from the entry itself.
  EXPECT_EQ(FindModelSection("EVNT"), table + 16 + 8 + 0x400);
  EXPECT_EQ(FindModelSection("BLCK"), table + 16 + 16 + 0x800);
  EXPECT_EQ(FindModelSection("NONE"), 0u);
  // A block of the chain that is too short to read.
  sim::MapHostRegion(0x41000000, 0x100);
  WriteHost<std::uint32_t>(b + 0x10C, 0x41000000 + 0xF0);
  EXPECT_EQ(FindModelSection("EVNT"), 0u);
  WriteHost<std::uint32_t>(b + 0x10C, c);
  platform::WriteHostBytes(table + 11, "Q", 1);  // PNTQ: no section table
  EXPECT_EQ(FindModelSection("EVNT"), 0u);
  platform::WriteHostBytes(table + 11, "R", 1);
  platform::WriteHostBytes(global + 0x41E7, "G", 1);  // 08SG
  EXPECT_EQ(FindModelSection("EVNT"), 0u);
}

}  // namespace
}  // namespace varolen
