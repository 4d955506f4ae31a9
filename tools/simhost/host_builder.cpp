#include "host_builder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>

#include "host/host_layout.h"

namespace simhost {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDegrees = kPi / 180.0;

// Places host records one after the other in the host-records region.
class Allocator {
 public:
  Allocator(HostMemoryWriter& writer, HostAddress start) : writer_(writer), next_(start) {}

  HostAddress Allocate(std::uint32_t size) {
    const HostAddress address = next_;
    next_ += (size + 15u) & ~15u;
    return address;
  }
  HostAddress Text(const std::string& text) {
    const HostAddress address = Allocate(static_cast<std::uint32_t>(text.size() + 1));
    writer_.Write(address, text.c_str(), static_cast<std::uint32_t>(text.size() + 1));
    return address;
  }
  template <typename Value>
  void Put(HostAddress address, Value value) {
    writer_.Write(address, &value, sizeof value);
  }

  void Bytes(HostAddress address, const void* bytes, std::uint32_t size) {
    writer_.Write(address, bytes, size);
  }

 private:
  HostMemoryWriter& writer_;
  HostAddress next_;
};

// Past the observer words, in the same region.
constexpr HostAddress kRecordsStart = 0x20CE8000;
// The view record's aspect ratio, numerator and denominator.
constexpr std::int32_t kAspect[2] = {4, 3};

void WriteClickAreas(Allocator& scenery, const Scenario& scenario) {
  // GLOBAL.DLL's signature, then the chain A -> B -> C -> T to the model's section table.
  scenery.Bytes(kGlobalBase + 0x41E4, "08SF", 4);
  const HostAddress a = scenery.Allocate(0x124), b = scenery.Allocate(0x110), c = scenery.Allocate(0x18);
  const HostAddress table = scenery.Allocate(16 + 8);
  scenery.Put<std::uint32_t>(kGlobalBase + 0x41DC, a);
  scenery.Put<std::uint32_t>(a + 0x120, b);
  scenery.Put<std::uint32_t>(b + 0x10C, c);
  scenery.Put<std::uint32_t>(c + 4, table);
  scenery.Bytes(table + 8, "PNTR", 4);
  scenery.Put<std::int32_t>(table + 12, 1);
  // The click-area list: area records, then the end.
  const HostAddress list = scenery.Allocate(static_cast<std::uint32_t>(42 * scenario.clickAreas.size() + 2));
  scenery.Bytes(table + 16, "EVNT", 4);
  scenery.Put<std::uint32_t>(table + 20, list - (table + 16));
  HostAddress record = list;
  for (const ClickAreaSpec& area : scenario.clickAreas) {
    const std::uint16_t length = area.shape != 0 ? 42 : 38;
    scenery.Put<std::uint16_t>(record, 0xF003);
    scenery.Put<std::uint16_t>(record + 2, length);
    scenery.Put<std::uint32_t>(record + 4, 0);
    scenery.Put<std::uint16_t>(record + 8, static_cast<std::uint16_t>(area.kind));
    for (int axis = 0; axis < 3; ++axis)
      scenery.Put(record + 10 + 4 * axis, static_cast<float>(area.centre[axis]));
    scenery.Put(record + 22, static_cast<float>(area.radius));
    for (int button = 0; button < 3; ++button) scenery.Put(record + 26 + 4 * button, area.events[button]);
    if (area.shape != 0) scenery.Put(record + 38, area.shape);
    record += length;
  }
  scenery.Put<std::uint16_t>(record, 0xF001);
}

// One object's "BLCK" list: its placement, a bounding sphere around it, and the
// triangles of its top (the only faces a vertical probe can meet): the top cut
// into grid x grid squares of two triangles each.
HostAddress WriteObjectGeometry(Allocator& scenery, const SceneryObject& object) {
  const int grid = object.grid;
  const std::uint32_t triangleCount = 2u * static_cast<std::uint32_t>(grid * grid);
  const HostAddress list = scenery.Allocate(30 + 26 + 6 + 48 * triangleCount + 2);
  scenery.Put<std::uint16_t>(list, 0xF002);
  scenery.Put(list + 2, static_cast<float>(object.latitude));
  scenery.Put(list + 6, static_cast<float>(object.longitude));
  scenery.Put(list + 10, static_cast<float>(object.base));
  const double halfWidth = object.size[0] / 2, height = object.size[1], halfDepth = object.size[2] / 2;
  const HostAddress sphere = list + 30;
  scenery.Put<std::uint16_t>(sphere, 0xF004);
  scenery.Put<std::uint16_t>(sphere + 2, 26);
  scenery.Put<std::uint32_t>(sphere + 4, 26 + 6 + 48 * triangleCount);  // to the end of the list
  scenery.Put(sphere + 10, 0.0f);
  scenery.Put(sphere + 14, static_cast<float>(height / 2));
  scenery.Put(sphere + 18, 0.0f);
  scenery.Put(sphere + 22, static_cast<float>(std::sqrt(halfWidth * halfWidth + height * height / 4 +
                                                        halfDepth * halfDepth)));
  // A point of the top, `east` and `north` as fractions 0 to 1 from its
  // south-west corner; relative to the sphere's centre.
  const double h = object.heading * kDegrees;
  const double southTop = object.ramp ? 0.0 : height;
  const auto point = [&](double east, double north) {
    const double x = -halfWidth + east * 2 * halfWidth, z = -halfDepth + north * 2 * halfDepth;
    const double up = southTop + north * (height - southTop);
    return std::array<float, 3>{static_cast<float>(std::cos(h) * x + std::sin(h) * z),
                                static_cast<float>(up - height / 2),
                                static_cast<float>(std::cos(h) * z - std::sin(h) * x)};
  };
  // The top's normal: up, tilted back for a ramp.
  const double slope = object.ramp ? height / (2 * halfDepth) : 0.0;
  const double length = std::sqrt(1 + slope * slope);
  const float normal[3] = {static_cast<float>(std::sin(h) * -slope / length), static_cast<float>(1 / length),
                           static_cast<float>(std::cos(h) * -slope / length)};
  const HostAddress triangles = sphere + 26;
  scenery.Put<std::uint16_t>(triangles, 0xF005);
  scenery.Put<std::uint32_t>(triangles + 2, triangleCount);
  HostAddress at = triangles + 6;
  for (int row = 0; row < grid; ++row) {
    for (int column = 0; column < grid; ++column) {
      // Corners of one square: south-west first, around.
      const std::array<float, 3> corners[4] = {point(double(column) / grid, double(row) / grid),
                                               point(double(column + 1) / grid, double(row) / grid),
                                               point(double(column + 1) / grid, double(row + 1) / grid),
                                               point(double(column) / grid, double(row + 1) / grid)};
      const int faces[2][3] = {{0, 1, 2}, {0, 2, 3}};
      for (const auto& face : faces) {
        for (int vertex = 0; vertex < 3; ++vertex)
          scenery.Bytes(at + 12 * static_cast<HostAddress>(vertex), corners[face[vertex]].data(), 12);
        scenery.Bytes(at + 36, normal, 12);
        at += 48;
      }
    }
  }
  scenery.Put<std::uint16_t>(at, 0xF001);
  return list;
}

void WriteSceneryObjects(Allocator& scenery, const Scenario& scenario) {
  // The host's object list: a count, and at 12 the array of 104-byte records
  // whose field 96 points to the object's model.
  const HostAddress list = kG3dBase + varolen::kG3dObjectListOffset;
  const auto count = static_cast<std::uint32_t>(scenario.objects.size());
  const HostAddress records = scenery.Allocate(104 * std::max(count, 1u));
  scenery.Put<std::int32_t>(list, static_cast<std::int32_t>(count));
  scenery.Put<std::uint32_t>(list + 12, records);
  for (std::uint32_t index = 0; index < count; ++index) {
    const HostAddress model = scenery.Allocate(200);
    scenery.Bytes(model + 124, "PNTR", 4);
    scenery.Put<std::int32_t>(model + 128, 1);
    scenery.Bytes(model + 132, "BLCK", 4);
    scenery.Put<std::uint32_t>(model + 136,
                               WriteObjectGeometry(scenery, scenario.objects[index]) - (model + 132));
    scenery.Put<std::uint32_t>(records + 104 * index + 96, model);
  }
}

void WriteViewRecord(Allocator& memory, HostAddress record, const ViewRecordSpec& view) {
  using namespace varolen;
  memory.Put<std::int32_t>(record + 0x20, view.kind);
  memory.Put<std::int16_t>(record + 0x2E, static_cast<std::int16_t>(std::lround(view.zoom * 64.0)));
  memory.Put<std::int16_t>(record + 0x34, 64);  // spot zoom 1.0
  // Orientation: row 0 right, row 1 up, row 2 the viewing direction.
  const double h = view.heading * kDegrees;
  const double p = view.pitch * kDegrees;
  const float rows[3][4] = {
      {static_cast<float>(std::cos(h)), 0.0f, static_cast<float>(-std::sin(h)), 0.0f},
      {static_cast<float>(std::sin(h) * std::sin(p)), static_cast<float>(std::cos(p)),
       static_cast<float>(std::cos(h) * std::sin(p)), 0.0f},
      {static_cast<float>(std::sin(h) * std::cos(p)), static_cast<float>(-std::sin(p)),
       static_cast<float>(std::cos(h) * std::cos(p)), 0.0f},
  };
  for (int row = 0; row < 3; ++row) {
    for (int column = 0; column < 4; ++column)
      memory.Put(record + 0x50 + 16 * row + 4 * column, rows[row][column]);
  }
  memory.Put<std::int16_t>(record + 0x90,
                           static_cast<std::int16_t>(std::lround(view.heading / 360.0 * 65536.0)));
  for (int axis = 0; axis < 3; ++axis) {
    memory.Put<std::int16_t>(record + 0x11C + 2 * axis,
                             static_cast<std::int16_t>(std::lround(view.eyeBase[axis] * 256.0)));
    memory.Put<std::int16_t>(record + 0x12E + 2 * axis,
                             static_cast<std::int16_t>(std::lround(view.eyeOffset[axis] * 256.0)));
  }
}

template <typename Value>
Value Get(HostMemoryReader& reader, HostAddress address) {
  Value value{};
  reader.Read(address, &value, sizeof value);
  return value;
}

}  // namespace

HostLayout BuildHostMemory(const Scenario& scenario, HostMemoryWriter& writer) {
  for (const HostRegion& region : kHostRegions) writer.Map(region.base, region.size);
  Allocator memory(writer, kRecordsStart);
  Allocator scenery(writer, kSceneryBase);
  WriteClickAreas(scenery, scenario);
  WriteSceneryObjects(scenery, scenario);
  HostLayout layout;

  // The loaded-module list: nodes of next, name, -, value; "_.DLL" is the
  // host's placeholder and is skipped by the module.
  const char* const kModules[] = {"FS9.EXE", "_.DLL", "G3D.DLL", "WINDOW.DLL", "GLOBAL.DLL", "SIM1.DLL"};
  const HostAddress kValues[] = {0x00400000, 0x23000000, kG3dBase, 0x23100000, kGlobalBase, 0x23200000};
  HostAddress next = 0;
  for (int index = static_cast<int>(std::size(kModules)) - 1; index >= 0; --index) {
    const HostAddress node = memory.Allocate(20);
    memory.Put<std::uint32_t>(node + 0, next);
    memory.Put<std::uint32_t>(node + 4, memory.Text(kModules[index]));
    memory.Put<std::uint32_t>(node + 12, kValues[index]);
    next = node;
  }
  memory.Put<std::uint32_t>(varolen::kHostAddresses.moduleListHead, next);

  // The view-set block: three lists of window records; the selector picks one.
  const HostAddress viewSets = memory.Allocate(0x50);
  memory.Put<std::uint32_t>(varolen::kHostAddresses.viewSets, viewSets);
  memory.Put<std::int32_t>(varolen::kHostAddresses.viewSetSelector, scenario.viewSetSelector);
  const auto count = static_cast<std::uint32_t>(scenario.views.size());
  const HostAddress windows = memory.Allocate(4 * count);
  for (std::uint32_t index = 0; index < count; ++index) {
    const HostAddress window = memory.Allocate(0x40);
    const HostAddress record = memory.Allocate(varolen::kHostViewRecordSize);
    WriteViewRecord(memory, record, scenario.views[index]);
    memory.Put<std::int32_t>(record + 0, kAspect[0]);
    memory.Put<std::int32_t>(record + 12, kAspect[1]);
    memory.Put<std::uint32_t>(record + 280, memory.Allocate(304));  // the view's sub-record
    memory.Put<std::uint32_t>(window + 0x18, record);
    layout.viewRecords.push_back(record);
    layout.windows.push_back(window);
  }
  layout.windowList = windows;
  SwitchCurrentView(writer, layout, scenario.currentView);
  // Every list shows the same windows, so any valid selector finds them.
  for (std::uint32_t list = 0; list < 3; ++list) {
    memory.Put<std::uint32_t>(viewSets + 0x20 + 0x10 * list, windows);
    memory.Put<std::int32_t>(viewSets + 0x28 + 0x10 * list, static_cast<std::int32_t>(count));
  }
  return layout;
}

void SwitchCurrentView(HostMemoryWriter& writer, const HostLayout& layout, int index) {
  HostAddress slot = layout.windowList;
  const auto put = [&](HostAddress window) {
    writer.Write(slot, &window, sizeof window);
    slot += sizeof window;
  };
  put(layout.windows[static_cast<std::size_t>(index)]);
  for (std::size_t other = 0; other < layout.windows.size(); ++other) {
    if (other != static_cast<std::size_t>(index)) put(layout.windows[other]);
  }
}

HostViewPosition ReadHostViewPosition(HostMemoryReader& reader) {
  // Six words of 32.32 fixed point: latitude in metres, longitude in 2^32 units per turn, altitude.
  std::uint32_t words[6];
  reader.Read(kGlobalBase + varolen::kGlobalViewPositionOffset, words, sizeof words);
  const auto value = [&](int pair) {
    return static_cast<std::int32_t>(words[2 * pair + 1]) + words[2 * pair] / 4294967296.0;
  };
  return {value(0) / 111130.52399516014, value(1) / 11930464.711111, value(2)};
}

ObserverPosition ReadObserver(HostMemoryReader& reader) {
  const auto& at = varolen::kHostAddresses;
  // Fixed point: a signed integer word and the fraction above it.
  const double north = Get<std::int32_t>(reader, at.observerLatitudeInteger) +
                       Get<std::uint32_t>(reader, at.observerLatitudeFraction) / 4294967296.0;
  const double east = Get<std::int32_t>(reader, at.observerLongitudeInteger) +
                      Get<std::uint32_t>(reader, at.observerLongitudeFraction) / 4294967296.0;
  return {north / 10001700.0 * 90.0, east / 2147483648.0 * 180.0,
          static_cast<double>(Get<std::int16_t>(reader, at.observerAltitude))};
}

ViewRecordState ReadViewRecord(HostMemoryReader& reader, HostAddress record) {
  ViewRecordState state{};
  state.kind = Get<std::int32_t>(reader, record + 0x20);
  for (int axis = 0; axis < 3; ++axis) {
    state.eye[axis] = (Get<std::int16_t>(reader, record + 0x11C + 2 * axis) +
                       Get<std::int16_t>(reader, record + 0x12E + 2 * axis)) /
                      256.0;
  }
  const auto element = [&](int row, int column) {
    return static_cast<double>(Get<float>(reader, record + 0x50 + 16 * row + 4 * column));
  };
  state.heading = std::atan2(element(2, 0), element(2, 2)) / kDegrees;
  if (state.heading < 0.0) state.heading += 360.0;
  state.pitch = std::atan2(-element(2, 1), std::hypot(element(2, 0), element(2, 2))) / kDegrees;
  // The rows are the view's right, up and forward axes: banked with its left
  // side down (the host's positive bank) the right axis points up.
  state.bank = std::atan2(element(0, 1), element(1, 1)) / kDegrees;
  state.headingWord = Get<std::uint16_t>(reader, record + 0x90) / 65536.0 * 360.0;
  state.zoom = Get<std::int16_t>(reader, record + 0x2E) / 64.0;
  return state;
}

}  // namespace simhost
