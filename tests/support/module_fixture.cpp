#include "support/module_fixture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>

#include "cockpit/motion.h"
#include "flight.h"
#include "host/frame_input.h"
#include "host/host_layout.h"
#include "host/settings.h"
#include "host_builder.h"
#include "input/binding_matcher.h"
#include "input/toggles.h"
#include "native_host.h"
#include "platform/host_memory.h"
#include "scratch_folder.h"
#include "shell/frame.h"
#include "shell/lifecycle.h"

namespace varolen::testing {

std::filesystem::path TestFolder() {
  // One folder for this process, removed as it ends; one sub-folder per test.
  static const simhost::ScratchFolder scratch("tests");
  const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
  const auto folder = scratch.Path() / (std::string(test->test_suite_name()) + "." + test->name());
  std::filesystem::create_directories(folder);
  return folder;
}

void ResetModule() {
  simhost::ResetModuleAndPlatform();
  sim::SetModuleFilePath(kModulePath);
}

std::vector<HostAddress> ModuleTest::StartWithHost(std::vector<simhost::ViewRecordSpec> views,
                                                   std::int32_t selector) {
  simhost::SimulatedHostMemory memory;
  simhost::Scenario scenario;
  scenario.views = std::move(views);
  scenario.viewSetSelector = selector;
  const simhost::HostLayout layout = simhost::BuildHostMemory(scenario, memory);
  StartWithHostWindow();
  return layout.viewRecords;
}

std::vector<std::uint8_t> HostRecord(HostAddress record) {
  std::vector<std::uint8_t> bytes(kHostViewRecordSize);
  platform::ReadHostBytes(record, bytes.data(), kHostViewRecordSize);
  return bytes;
}

void WriteHostRecord(HostAddress record, const std::vector<std::uint8_t>& bytes) {
  platform::WriteHostBytes(record, bytes.data(), kHostViewRecordSize);
}

void SetFlight(const Flight& flight) {
  simhost::FlightState state;
  state.latitude = flight.latitude;
  state.longitude = flight.longitude;
  state.altitude = flight.altitude;
  state.groundElevation = flight.ground;
  state.pitch = flight.pitch;
  state.bank = flight.bank;
  state.heading = flight.heading;
  state.velocity[0] = flight.lateral;
  state.velocity[1] = flight.vertical;
  state.velocity[2] = flight.forward;
  state.speed = flight.speed;
  state.wind = flight.wind;
  state.rudder = flight.rudder;
  state.onGround = flight.onGround;
  for (const simhost::HostVariableFact& variable : simhost::kHostVariables)
    sim::SetHostVariable(variable.id, variable.value(state));
}

namespace {
// A number as text that reads back to the same number.
std::string ExactText(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.17g", value);
  return text;
}
}  // namespace

void StoreSetting(const char* name, double value) {
  sim::SetRegistryText(kSettingsKeyPath, name, ExactText(value));
  LoadSettings();
}

void SetMotion(const char* name, double value) {
  SetMotionOption(MotionOptions, name, ExactText(value).c_str());
}

void RunFrameAt(std::uint32_t milliseconds) {
  sim::SetClock(milliseconds);
  UpdateCameraFrame();
}

void BindKeys(const std::vector<std::string>& tokens) {
  const std::filesystem::path file = TestFolder() / "bindings.cfg";
  {
    std::ofstream text(file, std::ios::binary);
    text << "[Keyboard]\r\n";
    for (const std::string& token : tokens) text << token << "\r\n";
  }
  ClearKeyBindings();
  ReadModuleKeyBindings(file.string().c_str());
}

void Switch(bool CameraSettingsRecord::*setting, bool on) {
  if (CameraSettings.*setting != on) ToggleSetting(setting);
}

const AircraftStateRecord& Snapshot() {
  TakeAircraftSnapshot(true);
  return AircraftState;
}

void RunCockpitAt(std::uint32_t milliseconds) {
  RunCockpit({milliseconds, 0.0f, 0.0, Snapshot(), CameraSettings});
}

Observer ReadObserver() {
  simhost::SimulatedHostMemory memory;
  const simhost::ObserverPosition observer = simhost::ReadObserver(memory);
  return {observer.latitude, observer.longitude, observer.altitude};
}

void TangentPoint(double latitude, double longitude, double east, double north, double& pointLatitude,
                  double& pointLongitude) {
  constexpr double kRadius = 6367310.0;
  const double phi = latitude * M_PI / 180.0;
  const double lambda = longitude * M_PI / 180.0;
  double p[3];
  const double normal[3] = {std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda),
                            std::sin(phi)};
  const double eastward[3] = {-std::sin(lambda), std::cos(lambda), 0.0};
  const double northward[3] = {-std::sin(phi) * std::cos(lambda), -std::sin(phi) * std::sin(lambda),
                               std::cos(phi)};
  for (int axis = 0; axis < 3; ++axis)
    p[axis] = kRadius * normal[axis] + east * eastward[axis] + north * northward[axis];
  pointLatitude = std::atan2(p[2], std::hypot(p[0], p[1])) * 180.0 / M_PI;
  pointLongitude = std::atan2(p[1], p[0]) * 180.0 / M_PI;
}

sim::WindowHandle ModuleTest::StartWithHostWindow(int menuPopups) {
  const sim::WindowHandle window = sim::CreateHostWindow("FS98MAIN", menuPopups);
  ModuleStartup();
  return window;
}

int EventIndex(const std::string& line) {
  const auto& events = sim::Events();
  const auto found = std::find(events.begin(), events.end(), line);
  return found == events.end() ? -1 : static_cast<int>(found - events.begin());
}

}  // namespace varolen::testing
