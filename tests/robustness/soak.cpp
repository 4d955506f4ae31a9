// The soak run: the module in the native substitute simulator for many
// simulated hours at 60 frames a second, every feature switched on and off on
// a ten-minute schedule over a flight that taxis, climbs, cruises through
// buffeting, approaches and lands. It checks, every schedule round, that
// nothing grows (menus, menu items, sound buffers, open files, the process's
// memory) and, at the end, that the frame clock kept time as its 32-bit float
// time stamp allows, and that a replay of the same run ends in the same state.
//
//   varolen_soak [HOURS]      (24 unless given; a fraction runs part of an hour)
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "cockpit/cockpit_controller.h"
#include "cockpit/head_motion.h"
#include "cockpit/movement_keys.h"
#include "cockpit/view_update.h"
#include "driver.h"
#include "host/frame_input.h"
#include "host/host_discovery.h"
#include "host/settings.h"
#include "input/view_presets.h"
#include "interaction/mouse_look.h"
#include "interaction/walking_pilot.h"
#include "native_host.h"
#include "platform/sim/sim_platform.h"
#include "scratch_folder.h"

namespace {

using simhost::Driver;

constexpr int kFramesPerRound = 36000;  // ten minutes at 60 frames a second
constexpr int kShiftKey = 0x10;
constexpr int kNumpad8 = 0x68, kNumpad9 = 0x69;

std::string ReadText(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// The flight at `seconds` into a round: taxi, take-off and climb, cruise with
// buffeting, descent, landing roll; moving north all the while.
simhost::FlightState FlightAt(double seconds, int round) {
  simhost::FlightState state;
  const double minute = seconds / 60.0;
  state.latitude = 47.0 + 0.02 * round + minute * 0.002;
  state.longitude = 8.0;
  state.groundElevation = 1400.0;
  state.heading = std::fmod(10.0 * minute, 360.0);
  const double airborne = minute < 2   ? 0.0
                          : minute < 4 ? (minute - 2) / 2
                          : minute < 6 ? 1.0
                          : minute < 8 ? (8 - minute) / 2
                                       : 0.0;
  state.onGround = airborne == 0.0;
  state.altitude = 1400.0 + 3000.0 * airborne;
  state.speed = state.onGround ? 20.0 + 5.0 * std::sin(seconds) : 120.0;
  state.velocity[2] = state.speed * 1.687;
  state.velocity[1] = minute < 4 && !state.onGround ? 10.0 : minute >= 6 && minute < 8 ? -10.0 : 0.0;
  state.pitch = -2.0 * std::sin(seconds / 3.0);
  state.bank = 10.0 * std::sin(seconds / 7.0);
  state.wind = 8.0;
  state.buffet = minute >= 4 && minute < 5 ? 5000.0 : 32767.0;
  return state;
}

// What the module and the host hold that must not grow.
struct Footprint {
  int menus = 0, popupItems = 0, openFiles = 0;
  std::size_t soundBuffers = 0;
  long residentKiB = 0;
};

Footprint Measure(simhost::Host& host) {
  Footprint footprint;
  footprint.menus = varolen::sim::LiveMenuCount();
  footprint.popupItems = host.HostPopupItemCount();
  footprint.soundBuffers = varolen::sim::SoundBufferCount();
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
    ++footprint.openFiles;
  long pages = 0, resident = 0;
  if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
    if (std::fscanf(statm, "%ld %ld", &pages, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  footprint.residentKiB = resident * sysconf(_SC_PAGESIZE) / 1024;
  return footprint;
}

// One schedule round's inputs, by frame within the round.
void Act(Driver& driver, simhost::Host& host, int frame) {
  const int second = frame / 60;
  if (frame % 60 != 0) {
    if (frame % 10 == 0)
      driver.MoveMouse(300 + (frame / 10) % 200, 200 + (frame / 20) % 150);  // pointer feedback
    return;
  }
  switch (second) {
    case 10:  // the module's cockpit view with its effects
      driver.Tap('I', true, true);
      break;
    case 20:  // a preset stored, the head turned, the preset recalled smoothly
      driver.Tap('1', true, true);
      driver.Key(kNumpad9, true);
      break;
    case 22:
      driver.Key(kNumpad9, false);
      driver.Tap('1', true);
      break;
    case 30:  // mouse look with the middle button, and the wheel
      driver.Button(2, true);
      break;
    case 32:
      driver.Button(2, false);
      driver.Wheel(2);
      break;
    case 34:
      driver.Wheel(-2);
      break;
    case 40:  // the walking pilot steps out (on the ground), walks and runs, steps back in
      driver.Tap('W', true, true);
      driver.Key(kNumpad8, true);
      break;
    case 50:
      driver.Key(kShiftKey, true);
      break;
    case 55:
      driver.Key(kShiftKey, false);
      driver.Key(kNumpad8, false);
      driver.Tap('W', true, true);
      break;
    case 150:  // the spot view for a while, then back to the cockpit
      SwitchCurrentView(host.Writer(), host.Layout(), 1);
      break;
    case 170:
      SwitchCurrentView(host.Writer(), host.Layout(), 0);
      break;
    case 180:  // sound off and on again, through the menu
    case 190:
      driver.Menu("Sound on");
      break;
    case 200:  // fly-by off, then the approach camera; back at the end of the round
      driver.Menu("Activate Fly-by");
      break;
    case 360:
      driver.Menu("Activate Approach View");
      break;
    case 590:
      driver.Menu("Activate Fly-by");
      driver.Tap('I', true, true);
      break;
    default:
      break;
  }
}

// Frames in which each feature was on: every one must have had its turn.
struct Coverage {
  const char* name;
  long frames;
};

struct Result {
  std::vector<std::uint8_t> state;  // the module's settings, controller, presets and clock
  Coverage coverage[7] = {{"cockpit view", 0},
                          {"walking pilot", 0},
                          {"mouse look", 0},
                          {"fly-by", 0},
                          {"approach view", 0},
                          {"sound", 0},
                          {"pointer over a click area", 0}};
  double elapsed = 0.0;
  double allowed = 0.0;  // how far the frames' float steps let the elapsed time stray
  bool grew = false;
};

Result Soak(long frames, const std::filesystem::path& folder) {
  simhost::Scenario scenario;
  simhost::ViewRecordSpec cockpit, spot;
  cockpit.eyeBase[1] = 0.9;
  cockpit.eyeBase[2] = 1.5;
  spot.kind = 4;
  scenario.views = {cockpit, spot};
  scenario.bindings = ReadText(VAROLEN_SOURCE_DIR "/data/Varolen2004.cfg");
  for (int index = 0; index < 40; ++index) {
    simhost::ClickAreaSpec area;
    area.centre[0] = -0.4 + 0.02 * index;
    area.centre[1] = 0.7;
    area.centre[2] = 2.5;
    scenario.clickAreas.push_back(area);
  }
  for (int index = 0; index < 50; ++index) {
    simhost::SceneryObject object;
    object.latitude = 47.0 + 0.0003 * (index / 5) - 0.0001;
    object.longitude = 8.0 + 0.0004 * (index % 5) - 0.0008;
    object.base = 426.72;
    object.ramp = index % 2 == 1;
    object.grid = 3;
    scenario.objects.push_back(object);
  }
  std::filesystem::remove_all(folder);
  auto host = simhost::StartNativeHost(scenario, folder.string());
  Driver driver(*host, 60000);
  Result result;
  Footprint first;
  const std::uint32_t start = driver.Clock();
  for (long frame = 0; frame < frames; ++frame) {
    const int round = static_cast<int>(frame / kFramesPerRound);
    const int inRound = static_cast<int>(frame % kFramesPerRound);
    driver.Fly(FlightAt(inRound / 60.0, round));
    Act(driver, *host, inRound);
    driver.Frame();
    // Each step is the exact interval, held in a float: off by at most 1e-9 s.
    result.allowed += 1e-9;
    const varolen::CameraSettingsRecord& settings = varolen::CameraSettings;
    const varolen::MouseRecord& mouse = varolen::Mouse;
    const bool on[] = {settings.InternalViewActive != 0, settings.ExternalViewActive != 0,
                       mouse.MouseLookOn != 0,           settings.FlyByActive != 0,
                       settings.ApproachActive != 0,     settings.SoundOn != 0,
                       mouse.CursorOverClickArea != 0};
    for (std::size_t index = 0; index < std::size(on); ++index)
      result.coverage[index].frames += on[index] ? 1 : 0;
    if (inRound == kFramesPerRound - 1) {
      const Footprint now = Measure(*host);
      if (round == 0) first = now;
      // The process's memory may settle in the first rounds; a leak keeps growing.
      const bool grew = now.menus != first.menus || now.popupItems != first.popupItems ||
                        now.soundBuffers != first.soundBuffers || now.openFiles != first.openFiles ||
                        now.residentKiB > first.residentKiB + 4096;
      if (grew) {
        std::printf(
            "round %d: menus %d (%d), popup items %d (%d), sound buffers %zu (%zu), files %d (%d), %ld KiB "
            "(%ld)\n",
            round, now.menus, first.menus, now.popupItems, first.popupItems, now.soundBuffers,
            first.soundBuffers, now.openFiles, first.openFiles, now.residentKiB, first.residentKiB);
      }
      result.grew = result.grew || grew;
    }
  }
  // The first frame counts as the longest step, one second; the rest as the host's clock runs.
  result.elapsed = varolen::FrameClock.elapsed - (1.0 + (driver.Clock() - start - 16) / 1000.0);
  const auto append = [&result](const auto& value) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
    result.state.insert(result.state.end(), bytes, bytes + sizeof value);
  };
  append(varolen::CameraSettings);
  append(varolen::CockpitTick);
  append(varolen::HostDiscovery);
  append(varolen::CockpitViewState);
  append(varolen::HeadMotion);
  append(varolen::MovementKeys);
  append(varolen::WalkingPilot);
  append(varolen::Mouse);
  append(varolen::ViewPresets);
  append(varolen::FrameClock);
  simhost::StopNativeHost(*host);
  for (const std::string& line : simhost::RegistryLines())
    result.state.insert(result.state.end(), line.begin(), line.end());
  return result;
}

}  // namespace

int main(int argc, char** argv) {
  const double hours = argc > 1 ? std::atof(argv[1]) : 24.0;
  const auto frames = static_cast<long>(hours * 3600.0 * 60.0);
  if (frames <= 0) {
    std::fprintf(stderr, "usage: varolen_soak [HOURS]\n");
    return 2;
  }
  const simhost::ScratchFolder scratch("soak");
  const auto folder = scratch.Path() / "simulator";
  const Result run = Soak(frames, folder);
  const Result replay = Soak(frames, folder);
  std::printf("%.2f simulated hours, %ld frames, twice\n", hours, frames);
  std::printf("frame clock: %.6f s from the host's clock; its float steps allow %.6f s\n", run.elapsed,
              run.allowed);
  bool failed = false;
  for (const Coverage& feature : run.coverage) {
    std::printf("%s: %.1f %% of the frames\n", feature.name,
                100.0 * static_cast<double>(feature.frames) / static_cast<double>(frames));
    if (feature.frames == 0 || feature.frames == frames) {
      std::printf("FAIL: %s was never switched\n", feature.name);
      failed = true;
    }
  }
  if (run.grew || replay.grew) {
    std::printf("FAIL: something grew\n");
    failed = true;
  }
  if (std::fabs(run.elapsed) > run.allowed) {
    std::printf("FAIL: the frame clock strayed further than its float steps allow\n");
    failed = true;
  }
  if (run.state != replay.state || run.elapsed != replay.elapsed) {
    std::size_t at = 0;
    while (at < run.state.size() && at < replay.state.size() && run.state[at] == replay.state[at]) ++at;
    std::printf("FAIL: the replay ended in another state (from byte %zu of %zu)\n", at, run.state.size());
    failed = true;
  }
  std::printf(failed ? "FAILED\n" : "OK\n");
  return failed ? 1 : 0;
}
