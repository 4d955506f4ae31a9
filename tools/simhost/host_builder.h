// Lays out the host's memory for a scenario: the loaded-module list, the
// view-set block, the window and view records, the observer words. Both hosts
// build through this one builder, so the module meets identical bytes in both.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "scenario.h"

namespace simhost {

using HostAddress = std::uint32_t;

// Where the builder's bytes go: the simulated address space natively, the
// process's own memory in the Win32 host.
class HostMemoryWriter {
 public:
  virtual ~HostMemoryWriter() = default;
  // Makes [base, base + size) writable, zero-filled memory.
  virtual void Map(HostAddress base, std::uint32_t size) = 0;
  virtual void Write(HostAddress address, const void* bytes, std::uint32_t size) = 0;
};

// Reading back what the module wrote.
class HostMemoryReader {
 public:
  virtual ~HostMemoryReader() = default;
  virtual void Read(HostAddress address, void* bytes, std::uint32_t size) = 0;
};

// The regions of this host's memory.
struct HostRegion {
  HostAddress base;
  std::uint32_t size;
};
// The fixed addresses 0x47D0B4, 0x47D0BC and 0x47D15C lie in the first region;
// the observer words 0x20CE3D50..0x20CE3D67 and the host's records in the second;
// the two host modules the module looks for are the last two.
inline constexpr HostRegion kHostRegions[] = {
    {0x00470000, 0x00020000},  // fixed host data
    {0x20CE0000, 0x00020000},  // observer and host records
    {0x21000000, 0x000B0000},  // "G3D.DLL"
    {0x21200000, 0x00005000},  // "GLOBAL.DLL"
    {0x22000000, 0x00400000},  // the aircraft's model, scenery objects and their geometry
};
inline constexpr HostAddress kSceneryBase = 0x22000000;
inline constexpr HostAddress kG3dBase = 0x21000000;
inline constexpr HostAddress kGlobalBase = 0x21200000;

struct HostLayout {
  std::vector<HostAddress> viewRecords;  // in the order of the scenario's views
  std::vector<HostAddress> windows;      // their window records
  HostAddress windowList = 0;            // the array all three view-set lists point to
};

HostLayout BuildHostMemory(const Scenario& scenario, HostMemoryWriter& writer);

// Makes view record `index` the host's current one: its window goes first in the
// window list, the others follow in their order.
void SwitchCurrentView(HostMemoryWriter& writer, const HostLayout& layout, int index);

// The host's view position (the walking pilot's eye), decoded.
struct HostViewPosition {
  double latitude;   // degrees
  double longitude;  // degrees
  double altitude;   // metres
};
HostViewPosition ReadHostViewPosition(HostMemoryReader& reader);

// The decoded observer position the module last wrote.
struct ObserverPosition {
  double latitude;   // degrees
  double longitude;  // degrees
  double altitude;   // metres (the host's 16-bit word)
};
ObserverPosition ReadObserver(HostMemoryReader& reader);

// The parts of a view record a trace shows.
struct ViewRecordState {
  std::int32_t kind;
  double eye[3];       // (base + offset) / 256
  double pitch;        // degrees, from the orientation matrix, positive down
  double heading;      // degrees
  double bank;         // degrees
  double headingWord;  // degrees: the heading the module wrote, without head motion
  double zoom;
};
ViewRecordState ReadViewRecord(HostMemoryReader& reader, HostAddress record);

}  // namespace simhost
