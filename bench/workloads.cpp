#include "workloads.h"

#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "driver.h"
#include "host.h"
#include "input/binding_matcher.h"
#include "input/view_presets.h"
#include "native_host.h"
#include "platform/sim/sim_platform.h"
#include "scratch_folder.h"
#include "shell/lifecycle.h"

namespace varolen::bench {

namespace {

constexpr int kNumpad2 = 0x62, kNumpad8 = 0x68;
constexpr double kLatitude = 47.0, kLongitude = 8.0;
constexpr double kGroundFeet = 1400.0;
constexpr double kMetresPerDegree = 111130.0;
constexpr double kPi = 3.141592653589793;

std::string ReadText(const std::string& path) {
  std::ifstream file(path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string BenchFolder() {
  static const simhost::ScratchFolder scratch("bench");
  return (scratch.Path() / "simulator").string();
}

// A parked aircraft with the virtual cockpit current, the shipped bindings
// (and `moreBindings` after them), and the settings given.
simhost::Scenario Scene(std::vector<std::pair<std::string, std::string>> registry,
                        const std::string& moreBindings = "") {
  simhost::Scenario scenario;
  simhost::ViewRecordSpec cockpit;
  cockpit.eyeBase[1] = 0.9;
  cockpit.eyeBase[2] = 1.5;
  scenario.views = {cockpit};
  scenario.registry = std::move(registry);
  scenario.bindings = ReadText(VAROLEN_SOURCE_DIR "/data/Varolen2004.cfg") + moreBindings;
  simhost::Keyframe parked;
  parked.latitude = kLatitude;
  parked.longitude = kLongitude;
  parked.altitude = kGroundFeet;
  parked.groundElevation = kGroundFeet;
  parked.onGround = true;
  parked.wind = 6;
  scenario.path = {parked};
  return scenario;
}

// The native substitute simulator with the module started in it.
struct StartedHost {
  explicit StartedHost(const simhost::Scenario& scenario)
      : host(simhost::StartNativeHost(scenario, BenchFolder())) {}
  ~StartedHost() { simhost::StopNativeHost(*host); }
  StartedHost(const StartedHost&) = delete;
  StartedHost& operator=(const StartedHost&) = delete;
  std::unique_ptr<simhost::Host> host;
};

// The module driven at 60 frames a second through its hooks, past its warm-up
// and the start of the sounds at 5 s.
class Driver : private StartedHost, public simhost::Driver {
 public:
  explicit Driver(const simhost::Scenario& scenario) : StartedHost(scenario), simhost::Driver(*host, 60000) {
    Fly(scenario.path.front());
    MoveMouse(400, 100);
    for (int frame = 0; frame < 400; ++frame) Frame();
  }
};

const std::vector<std::pair<std::string, std::string>> kOutsideCamerasOff = {{"FlyByActive", "0"},
                                                                             {"ApproachActive", "0"}};

std::vector<std::pair<std::string, std::string>> With(std::vector<std::pair<std::string, std::string>> more) {
  more.insert(more.begin(), kOutsideCamerasOff.begin(), kOutsideCamerasOff.end());
  return more;
}

// Nothing of the module's on: what every frame costs the simulator regardless.
class FrameEverythingOff : public Workload {
 public:
  FrameEverythingOff() : driver_(Scene(With({{"InternalViewActive", "0"}, {"SoundOn", "0"}}))) {}
  void Step() override { driver_.Frame(); }

 private:
  Driver driver_;
};

// Taxiing in the virtual cockpit with head latency, ground jolts and
// buffeting, moving between two presets all the time.
class FrameCockpit : public Workload {
 public:
  explicit FrameCockpit(const std::string& motion = "")
      : driver_(Scene(With({{"InternalViewActive", "1"},
                            {"ViewTurbOn", "1"},
                            {"GroundTurbOn", "1"},
                            {"BuffetTurbOn", "1"},
                            {"SmoothView", "1"}}),
                      motion)) {
    // The two presets, as a pilot's view file gives them.
    std::ofstream(std::filesystem::path(BenchFolder()) / "presets.vrv")
        << "View.1=0,0.0,0.9,1.5,0.0,0.0,0.0,1.0\nView.2=0,-0.3,1.0,1.2,-10.0,40.0,0.0,1.5\n";
    LoadViewPresets((BenchFolder() + "\\presets.vrv").c_str());
    if (ViewPresets[2].zoom != 1.5) throw std::runtime_error("the bench's presets were not read");
    for (simhost::FlightState& state : states_) {
      state = Scene({}).path.front();
      state.speed = 40;
      state.buffet = 5000;
    }
    states_[0].velocity[2] = 60;  // speeding up and slowing down: the head lags
    states_[1].velocity[2] = 75;
    states_[1].velocity[0] = 3;
  }
  // Every half second (a transition's length) another preset and another pace.
  void Step() override {
    if (++frame_ % 30 == 0) {
      const int next = (frame_ / 30) % 2;
      driver_.Fly(states_[next]);
      driver_.Tap('1' + next, true);
    }
    driver_.Frame();
  }

 private:
  Driver driver_;
  simhost::FlightState states_[2];
  int frame_ = 0;
};

// The same with a head tracker writing a new pose before every frame: what
// reading the tracker and composing the head add to a frame.
class FrameCockpitHeadTracker : public FrameCockpit {
 public:
  FrameCockpitHeadTracker() { sim::StartHeadTracker(); }
  void Step() override {
    const float yaw = 0.2f * static_cast<float>(id_ % 50) / 50.0f;
    std::uint32_t word;
    std::memcpy(&word, &yaw, sizeof word);
    sim::WriteHeadTrackerWord(12, word);
    sim::WriteHeadTrackerWord(0, ++id_);
    FrameCockpit::Step();
  }

 private:
  std::uint32_t id_ = 1;
};

// The same with every motion option on: what they add to a frame.
class FrameCockpitMotionOptions : public FrameCockpit {
 public:
  FrameCockpitMotionOptions()
      : FrameCockpit(
            "\n[Motion]\nSameAtAnyFrameRate=1\nTransitionSeconds=0.5\nTransitionCurve=smooth\nYieldToLook=1\n"
            "LevelHead=0.5\nLookIntoTurn=0.5\nTouchdown=1\nLoadFactor=1\n") {}
};

// `count` boxes 30 m apart round the pilot's start, each top 5 x 5 squares:
// the probe meets the nearest few and misses the rest at their spheres.
std::vector<simhost::SceneryObject> Buildings(int count) {
  std::vector<simhost::SceneryObject> objects;
  const int side = static_cast<int>(std::ceil(std::sqrt(count)));
  const double eastDegree = kMetresPerDegree * std::cos(kLatitude * kPi / 180.0);
  for (int index = 0; index < count; ++index) {
    simhost::SceneryObject object;
    const double east = 30.0 * (index % side - side / 2) + 20.0;
    const double north = 30.0 * (index / side - side / 2) + 20.0;
    object.latitude = kLatitude + north / kMetresPerDegree;
    object.longitude = kLongitude + east / eastDegree;
    object.base = kGroundFeet * 0.3048;
    object.size[0] = object.size[2] = 8.0;
    object.size[1] = 1.0;
    object.grid = 5;
    objects.push_back(object);
  }
  return objects;
}

// The walking pilot pacing to and fro among the buildings.
class FramePilot : public Workload {
 public:
  explicit FramePilot(int objects) : driver_(PilotScene(objects)) {
    driver_.Tap('W', true, true);  // step out
    driver_.Frame();
    driver_.Key(kNumpad8, true);
  }
  // Five seconds forward, five seconds back.
  void Step() override {
    if (++frame_ % 300 == 0) {
      const bool forward = (frame_ / 300) % 2 == 0;
      driver_.Key(forward ? kNumpad2 : kNumpad8, false);
      driver_.Key(forward ? kNumpad8 : kNumpad2, true);
    }
    driver_.Frame();
  }

 private:
  static simhost::Scenario PilotScene(int objects) {
    simhost::Scenario scenario = Scene(With({{"InternalViewActive", "1"}}));
    scenario.objects = Buildings(objects);
    return scenario;
  }
  Driver driver_;
  int frame_ = 0;
};

// The pointer moving over a cockpit of `count` click areas without meeting
// one: every area's sphere is tried.
class MouseOverClickAreas : public Workload {
 public:
  explicit MouseOverClickAreas(int count) : driver_(Panel(count)) {}
  void Step() override {
    x_ = x_ == 400 ? 420 : 400;
    driver_.MoveMouse(x_, 100);
  }

 private:
  // A panel below the eye, ahead of it; the pointer points above it.
  static simhost::Scenario Panel(int count) {
    simhost::Scenario scenario = Scene(With({{"InternalViewActive", "1"}}));
    const int columns = static_cast<int>(std::ceil(std::sqrt(count)));
    for (int index = 0; index < count; ++index) {
      simhost::ClickAreaSpec area;
      area.centre[0] = -0.5 + 1.0 * (index % columns) / columns;
      area.centre[1] = 0.3 + 0.5 * (index / columns) / columns;
      area.centre[2] = 2.5;
      area.radius = 0.01;
      scenario.clickAreas.push_back(area);
    }
    return scenario;
  }
  Driver driver_;
  int x_ = 400;
};

// Start-up reading a binding file of 256 bindings.
class Startup : public Workload {
 public:
  Startup() {
    simhost::Scenario scenario = Scene({});
    std::string bindings = "[Keyboard]\n";
    const char* commands[] = {"ToggleFlyBy", "CockpitView", "PilotForward", "ToggleMouseLook"};
    for (int index = 0; index < 256; ++index) {
      bindings += std::string(commands[index % 4]) + std::to_string(index % 10) + "=CONTROL,SHIFT," +
                  static_cast<char>('A' + index % 26) + (index % 3 == 0 ? ",DOUBLE\n" : "\n");
    }
    scenario.bindings = bindings;
    started_ = std::make_unique<StartedHost>(scenario);
    Restart();
  }
  void Step() override { ModuleStartup(); }
  bool Restarts() const override { return true; }
  void Restart() override {
    ModuleShutdown();
    ClearKeyBindings();
  }

 private:
  std::unique_ptr<StartedHost> started_;
};

template <typename Kind>
std::unique_ptr<Workload> Make(int) {
  return std::make_unique<Kind>();
}
template <typename Kind>
std::unique_ptr<Workload> MakeSized(int size) {
  return std::make_unique<Kind>(size);
}

}  // namespace

const std::vector<WorkloadKind>& WorkloadKinds() {
  static const std::vector<WorkloadKind> kinds = {
      {"frame_everything_off", {0}, Make<FrameEverythingOff>},
      {"frame_cockpit_effects", {0}, Make<FrameCockpit>},
      {"frame_cockpit_head_tracker", {0}, Make<FrameCockpitHeadTracker>},
      {"frame_cockpit_motion_options", {0}, Make<FrameCockpitMotionOptions>},
      {"frame_walking_pilot", {10, 100, 1000}, MakeSized<FramePilot>},
      {"mouse_move_click_areas", {20, 200, 2000}, MakeSized<MouseOverClickAreas>},
      {"startup_256_bindings", {0}, Make<Startup>},
  };
  return kinds;
}

const WorkloadKind* FindWorkload(const std::string& name) {
  for (const WorkloadKind& kind : WorkloadKinds())
    if (name == kind.name) return &kind;
  return nullptr;
}

}  // namespace varolen::bench
