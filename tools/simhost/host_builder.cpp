#include "host_builder.h"

#include <cmath>
#include <cstring>

#include "shell/host_layout.h"

namespace simhost {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDegrees = kPi / 180.0;

// Places host records one after the other in the host-records region.
class Allocator {
 public:
  explicit Allocator(HostMemoryWriter& writer) : writer_(writer) {}

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

 private:
  HostMemoryWriter& writer_;
  // Past the observer words, in the same region.
  HostAddress next_ = 0x20CE8000;
};

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
  Allocator memory(writer);
  HostLayout layout;

  // The loaded-module list: nodes of next, name, -, value; "_.DLL" is the
  // host's placeholder and is skipped by the module.
  const char* const kModules[] = {"FS9.EXE", "_.DLL", "G3D.DLL", "WINDOW.DLL", "GLOBAL.DLL", "SIM1.DLL"};
  const HostAddress kValues[] = {0x00400000, 0x22000000, kG3dBase, 0x22100000, kGlobalBase, 0x22200000};
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
  state.bank = std::atan2(-element(0, 1), element(1, 1)) / kDegrees;
  state.headingWord = Get<std::uint16_t>(reader, record + 0x90) / 65536.0 * 360.0;
  state.zoom = Get<std::int16_t>(reader, record + 0x2E) / 64.0;
  return state;
}

}  // namespace simhost
