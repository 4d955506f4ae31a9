// Whole flights with the host misbehaving round the module: memory that cannot
// be read for a while, view kinds that change every frame, absurd host
// variables, clocks that stand still or leap, files that cannot be read, no
// audio, a registry that refuses writes, the longest folder path. The module
// must fly through each (the simulated memory stops the program on any read
// the module did not check), give finite figures throughout, and be the same
// module afterwards: the flight ends as a flight without the fault ends.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "host/host_layout.h"
#include "host/settings.h"
#include "input/binding_matcher.h"
#include "input/key_bindings.h"
#include "input/view_presets.h"
#include "native_host.h"
#include "runner.h"
#include "scenario.h"
#include "shell/lifecycle.h"
#include "support/forwarding_host.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

constexpr double kFaultStart = 10.0;  // seconds into the flight
constexpr double kFaultEnd = 14.0;

// Runs a fault's disturbance before each frame, between its start and end.
class FaultyHost : public testing::ForwardingHost {
 public:
  using Disturb = std::function<void(FaultyHost&, double seconds)>;
  FaultyHost(simhost::Host& host, Disturb disturb) : ForwardingHost(host), disturb_(std::move(disturb)) {}

  void SetClock(std::uint32_t milliseconds) override {
    if (start_ == 0) start_ = milliseconds;
    const double seconds = (milliseconds - start_) / 1000.0;
    during = seconds >= kFaultStart && seconds < kFaultEnd;
    if (disturb_) disturb_(*this, seconds);
    ForwardingHost::SetClock(milliseconds + clockShift);
  }
  void SetFlightState(const simhost::FlightState& state) override {
    simhost::FlightState changed = state;
    if (during && changeFlight) changeFlight(changed);
    ForwardingHost::SetFlightState(changed);
  }

  bool during = false;
  std::uint32_t clockShift = 0;  // what the host's clock is ahead of the scenario's
  std::function<void(simhost::FlightState&)> changeFlight;

 private:
  Disturb disturb_;
  std::uint32_t start_ = 0;
};

void RegionAccess(int region, bool readable) {
  sim::SetHostRegionAccess(simhost::kHostRegions[region].base, readable ? sim::kReadWrite : sim::kNoAccess);
}

struct Fault {
  const char* name;
  FaultyHost::Disturb disturb;
  // Before the flight, with the simulator folder laid out and the module started.
  std::function<void(const std::filesystem::path& folder)> prepare = {};
};

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInfinity = std::numeric_limits<double>::infinity();

const Fault kFaults[] = {
    {"module list unreadable", [](FaultyHost& host, double) { RegionAccess(0, !host.during); }},
    {"view records and observer unreadable", [](FaultyHost& host, double) { RegionAccess(1, !host.during); }},
    {"host modules unreadable",
     [](FaultyHost& host, double) {
       RegionAccess(2, !host.during);
       RegionAccess(3, !host.during);
     }},
    {"scenery unreadable", [](FaultyHost& host, double) { RegionAccess(4, !host.during); }},
    {"view kind changes every frame",
     [](FaultyHost& host, double seconds) {
       static constexpr std::int32_t kKinds[] = {1, 2, 4, 1250, 0, -1, 99, 2};
       const auto frame = static_cast<std::size_t>(seconds * 30.0 + 0.5);
       const std::int32_t kind = host.during ? kKinds[frame % std::size(kKinds)] : 2;
       host.Writer().Write(host.Layout().viewRecords.front() + view_record::kKind, &kind, sizeof kind);
     }},
    {"host variables not numbers, infinite and absurd",
     [](FaultyHost& host, double seconds) {
       const double value = seconds < 11 ? kNaN : seconds < 12 ? kInfinity : seconds < 13 ? 1e300 : -1e300;
       host.changeFlight = [value](simhost::FlightState& state) {
         state.latitude = state.longitude = state.altitude = state.groundElevation = value;
         state.pitch = state.bank = state.heading = state.speed = state.wind = state.buffet = value;
         for (double& velocity : state.velocity) velocity = value;
       };
     }},
    {"clock stands still, then leaps ten minutes",
     [](FaultyHost& host, double seconds) {
       if (host.during && seconds < 12) host.clockShift -= 33;  // the same time stamp frame after frame
       if (seconds >= 12 && seconds < 12.02) host.clockShift += 600000;
     }},
    {"no audio device", nullptr, [](const std::filesystem::path&) { sim::SetSoundDeviceAvailable(false); }},
    {"sound files cannot be read", nullptr,
     [](const std::filesystem::path& folder) {
       for (const auto& file : std::filesystem::directory_iterator(folder / "Varolen" / "Sound")) {
         std::filesystem::remove(file.path());
         std::filesystem::create_directory(file.path());  // a folder where the file should be
       }
     }},
};

using Trace = std::vector<std::vector<std::string>>;

struct Flight {
  Trace rows;
  std::vector<std::string> header;
  std::vector<std::string> registry;
};

Flight Fly(const std::string& scenarioName, const Fault* fault) {
  testing::ResetModule();
  std::string error;
  auto scenario = simhost::LoadScenario(VAROLEN_SOURCE_DIR "/data/scenarios/" + scenarioName, error);
  EXPECT_TRUE(scenario.has_value()) << error;
  const auto folder = testing::TestFolder() / (fault != nullptr ? "fault" : "clean");
  std::filesystem::remove_all(folder);
  auto native = simhost::StartNativeHost(*scenario, folder.string());
  if (fault != nullptr && fault->prepare) fault->prepare(folder);
  FaultyHost host(*native, fault != nullptr ? fault->disturb : nullptr);
  std::FILE* file = std::tmpfile();
  simhost::RunScenario(*scenario, host, file);
  simhost::StopNativeHost(*native);
  std::rewind(file);
  Flight flight;
  std::string text;
  for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) text += static_cast<char>(c);
  std::fclose(file);
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> cells;
    std::istringstream cellStream(line);
    for (std::string cell; std::getline(cellStream, cell, ',');) cells.push_back(cell);
    if (flight.header.empty()) {
      flight.header = cells;
    } else {
      flight.rows.push_back(cells);
    }
  }
  flight.registry = simhost::RegistryLines();
  return flight;
}

// Columns of the module's results that must end as without the fault.
const char* const kEndColumns[] = {"view_kind",  "zoom",          "fly_by",
                                   "approach",   "internal_view", "external_view",
                                   "wheel_zoom", "mouse_in_spot", "sound"};

TEST(Faults, FlightsGoOnAndEndAsWithoutTheFault) {
  for (const char* scenario :
       {"demo.toml", "walking_pilot.toml", "cockpit_taxi.toml", "cockpit_turn_and_pull_up.toml"}) {
    const Flight clean = Fly(scenario, nullptr);
    for (const Fault& fault : kFaults) {
      const Flight faulty = Fly(scenario, &fault);
      ASSERT_EQ(faulty.rows.size(), clean.rows.size()) << fault.name << " in " << scenario;
      for (const auto& row : faulty.rows) {
        for (std::size_t column = 0; column + 1 < row.size(); ++column) {
          ASSERT_TRUE(std::isfinite(std::strtod(row[column].c_str(), nullptr)))
              << fault.name << " in " << scenario << ": " << faulty.header[column] << " at frame " << row[0];
        }
      }
      for (const char* name : kEndColumns) {
        const auto column = static_cast<std::size_t>(
            std::find(clean.header.begin(), clean.header.end(), name) - clean.header.begin());
        EXPECT_EQ(faulty.rows.back()[column], clean.rows.back()[column])
            << fault.name << " in " << scenario << ": " << name;
      }
      EXPECT_EQ(faulty.registry, clean.registry) << fault.name << " in " << scenario;
    }
  }
}

// Files that cannot be read, and a registry key that refuses writes: the
// module starts, runs and stops, and nothing it had is lost.
TEST(Faults, UnreadableFilesAndARefusedRegistryLoseNothing) {
  testing::ResetModule();
  const auto folder = testing::TestFolder();
  // Folders where the binding file and a view file should be.
  std::filesystem::create_directories(folder / "Varolen2004.cfg");
  std::filesystem::create_directories(folder / "views.vrv");
  sim::SetModuleFilePath(folder.string() + "\\Modules\\Varolen2004.dll");
  sim::SetRegistryText(kSettingsKeyPath, "FlyByDuration", "17");
  const sim::WindowHandle main = sim::CreateHostWindow("FS98MAIN", 4);
  ModuleStartup();
  EXPECT_EQ(KeyBindings.count, 0);
  EXPECT_EQ(CameraSettings.FlyByDuration, 17);

  testing::Poke(ViewPresets)[3] = {0, {1.0, 2.0, 3.0}, {4.0, 5.0, 6.0}, 1.5};
  sim::AnswerFileDialogs((folder / "views.vrv").string());
  LoadViewPresetsInteractive(main);
  SaveViewPresetsInteractive(main);
  EXPECT_EQ(ViewPresets[3].zoom, 1.5);
  EXPECT_TRUE(std::filesystem::is_directory(folder / "views.vrv"));

  sim::DenyRegistryAccess(kSettingsKeyPath);
  CameraSettings.FlyByDuration = 30;  // as the Setup dialog leaves it
  ModuleShutdown();
  EXPECT_EQ(sim::RegistryText(kSettingsKeyPath, "FlyByDuration"), "17");
}

}  // namespace
}  // namespace varolen
