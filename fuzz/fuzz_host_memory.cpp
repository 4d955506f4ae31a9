// libFuzzer target: the module over a host whose memory the fuzzer corrupts.
// The substitute simulator lays out a whole host (module list, view sets and
// window records, the model's section table with its "EVNT" click areas, the
// object list with "BLCK" geometry); the fuzzer's bytes then overwrite any part
// of it, make whole regions unreadable for a frame, and give the host
// variables ordinary, absurd or not-a-number values. The simulated address
// space stops the program on any read or write the module did not find allowed
// first, so a walk that trusts host data is a crash here.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <limits>

#include "cockpit/cockpit_controller.h"
#include "host/frame_input.h"
#include "host/host_discovery.h"
#include "host/host_layout.h"
#include "host/settings.h"
#include "host_builder.h"
#include "interaction/click_areas.h"
#include "interaction/ground_probe.h"
#include "interaction/mouse_look.h"
#include "platform/head_tracker.h"
#include "platform/sim/sim_platform.h"
#include "shell/lifecycle.h"
#include "sound/sound_effects.h"
#include "tracker/head_tracker.h"

namespace {

using namespace varolen;

// Writes the substitute host's memory into the simulated address space.
class SimulatedMemory : public simhost::HostMemoryWriter {
 public:
  void Map(simhost::HostAddress base, std::uint32_t size) override { sim::MapHostRegion(base, size); }
  void Write(simhost::HostAddress address, const void* bytes, std::uint32_t size) override {
    std::memcpy(sim::HostBytes(address, size), bytes, size);
  }
};

// A cockpit with a spot view, a few click areas, and buildings round the aircraft.
simhost::Scenario Scene() {
  simhost::Scenario scenario;
  simhost::ViewRecordSpec cockpit, spot;
  cockpit.eyeBase[1] = 0.9;
  spot.kind = 4;
  scenario.views = {cockpit, spot};
  for (int index = 0; index < 3; ++index) {
    simhost::ClickAreaSpec area;
    area.centre[0] = -0.3 + 0.3 * index;
    area.centre[1] = 0.8;
    area.centre[2] = 2.5;
    area.shape = static_cast<std::uint32_t>(index);
    scenario.clickAreas.push_back(area);
    simhost::SceneryObject object;
    object.latitude = 47.0 + 0.0001 * index;
    object.longitude = 8.0001;
    object.base = 426.72;
    object.ramp = index == 1;
    object.grid = 1 + index;
    scenario.objects.push_back(object);
  }
  return scenario;
}

// Host variable values the fuzzer picks from, by index: ordinary, absurd and not numbers.
const double kValues[16] = {0.0,
                            1.0,
                            -1.0,
                            47.0,
                            1400.0,
                            9000.0,
                            1e9,
                            -1e9,
                            1e300,
                            -1e-300,
                            std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity(),
                            2147483648.0,
                            5.0e-324,
                            360.0};

constexpr std::uint32_t kVariableIds[] = {2, 60, 61, 71, 72, 73, 77, 79, 86, 343, 349, 551, 552, 553, 832};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Header: settings (1 byte: view, pilot, fly-by, approach, mouse in spot,
  // a head tracker, its block too small), frame gaps (1), variable choices
  // (8: two per byte), regions made unreadable for the third frame (1); then
  // patches, of the host's regions or of the tracker's block.
  constexpr std::size_t kHeader = 11;
  if (size < kHeader) return 0;
  ResetModuleState();
  sim::ResetPlatform();
  sim::SetModuleFilePath("C:\\Sim\\Modules\\Varolen2004.dll");
  const sim::WindowHandle main = sim::CreateHostWindow("FS98MAIN", 4);
  const sim::WindowHandle view = sim::CreateHostWindow("FS98CHILD");
  ModuleStartup();

  const std::uint8_t settings = data[0];
  CameraSettings.InternalViewActive = settings & 1;
  CameraSettings.ExternalViewActive = (settings >> 1) & 1;
  CameraSettings.FlyByActive = (settings >> 2) & 1;
  CameraSettings.ApproachActive = (settings >> 3) & 1;
  CameraSettings.UseMouseInSpot = (settings >> 4) & 1;
  CameraSettings.SoundOn = false;
  if ((settings >> 5) & 1) sim::StartHeadTracker((settings >> 6) & 1 ? 64 : 108);
  for (std::size_t index = 0; index < std::size(kVariableIds); ++index) {
    const std::uint8_t choice = data[2 + index / 2] >> (4 * (index % 2));
    sim::SetHostVariable(kVariableIds[index], kValues[choice & 15]);
  }

  SimulatedMemory memory;
  simhost::BuildHostMemory(Scene(), memory);
  // Patches: region (1 byte), offset in it (4), length (1), the bytes. The
  // region after the host's is the tracker's block, written a word at a time.
  std::uint8_t block[platform::kHeadTrackerBlockSize] = {};
  for (std::size_t at = kHeader; at + 6 <= size;) {
    const std::size_t choice = data[at] % (std::size(simhost::kHostRegions) + 1);
    if (choice == std::size(simhost::kHostRegions)) {
      std::uint32_t offset = 0;
      std::memcpy(&offset, data + at + 1, 4);
      offset %= sizeof block;
      const std::size_t length = std::min<std::size_t>({data[at + 5], size - at - 6, sizeof block - offset});
      std::memcpy(block + offset, data + at + 6, length);
      at += 6 + length;
      continue;
    }
    const simhost::HostRegion& region = simhost::kHostRegions[choice];
    std::uint32_t offset = 0;
    std::memcpy(&offset, data + at + 1, 4);
    offset %= region.size;
    const std::size_t length = std::min<std::size_t>({data[at + 5], size - at - 6, region.size - offset});
    memory.Write(region.base + offset, data + at + 6, static_cast<std::uint32_t>(length));
    at += 6 + length;
  }

  // Frames a sixtieth of a second apart, or with the gaps the header chooses;
  // a mouse move and a wheel turn after the second.
  std::uint32_t clock = 100000;
  const std::uint32_t gaps[4] = {16, 0, 5000, 0x7FFFFFFF};
  for (int frame = 0; frame < 4; ++frame) {
    // The tracker's block as the fuzzer wrote it, its pose new each frame.
    for (std::uint32_t word = 0; word < sizeof block; word += 4) {
      std::uint32_t value = 0;
      std::memcpy(&value, block + word, 4);
      sim::WriteHeadTrackerWord(word, word == 0 ? value + static_cast<std::uint32_t>(frame) : value);
    }
    const bool vanish = frame == 2;
    for (std::size_t index = 0; index < std::size(simhost::kHostRegions); ++index) {
      if ((data[10] >> index) & 1)
        sim::SetHostRegionAccess(simhost::kHostRegions[index].base,
                                 vanish ? sim::kNoAccess : sim::kReadWrite);
    }
    clock += gaps[(data[1] >> (2 * frame)) & 3];
    sim::SetClock(clock);
    sim::TakeThroughHooks(main, kFrameMessage);
    // Nothing that is no number ever comes out of the tracker.
    const TrackerOffset& head = HeadTracker.applied;
    for (const double value : {head.heading, head.pitch, head.bank, head.x, head.y, head.z}) {
      if (!std::isfinite(value) || std::fabs(value) > 180.0) __builtin_trap();
    }
    if (frame == 1) {
      sim::SetCursorPosition(500, 400);
      sim::TakeThroughHooks(view, kMouseMove, 0, 0x012C0190);
      sim::TakeThroughHooks(view, kMouseWheel, static_cast<std::uintptr_t>(120) << 16, 0x012C0190);
    }
  }
  // The walks on their own.
  FindClickArea(Mouse.PickRay, FindModelSection("EVNT"));
  GroundProbe probe = ProbeAt(47.0, 8.0);
  ProbeGround(probe);
  ModuleShutdown();
  return 0;
}
