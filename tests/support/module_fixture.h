// A fresh module on a fresh simulated machine for every test.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "host/frame_input.h"
#include "host/settings.h"
#include "platform/host_memory.h"
#include "platform/sim/sim_platform.h"
#include "scenario.h"

namespace varolen::testing {

using platform::HostAddress;

inline constexpr const char* kModulePath = "C:\\Flight Simulator 9\\Modules\\Varolen2004.dll";

// A folder of the running test's own, in a scratch folder of this process
// (removed as the process ends): ctest runs tests side by side, and two runs
// of the suite may run at once.
std::filesystem::path TestFolder();

// Clears every piece of module-lifetime state and the simulated platform.
void ResetModule();

// A record that only its owner changes, set straight by a test that needs a
// state no user action reaches in a few frames. Use sparingly.
template <typename Record>
Record& Poke(const Record& record) {
  return const_cast<Record&>(record);
}

// A setting switched on or off as the pilot switches it, by its menu item or
// key: with what goes with it (the fly-by and the approach view exclude each
// other, the walking pilot needs the cockpit view). Nothing when it already is.
void Switch(bool CameraSettingsRecord::*setting, bool on);

class ModuleTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetModule(); }

  // A host main window with the host's four menu pop-ups, then start-up.
  sim::WindowHandle StartWithHostWindow(int menuPopups = 4);
  // The substitute simulator's host memory (with these view records) and
  // windows, then start-up. Returns the view records' addresses.
  std::vector<HostAddress> StartWithHost(
      std::vector<simhost::ViewRecordSpec> views = {simhost::ViewRecordSpec{}}, std::int32_t selector = 4);
};

// A test that writes a host list of records (the cockpit's click areas, an
// object's geometry) into mapped host memory at kList, record by record.
class HostListTest : public ModuleTest {
 public:
  void SetUp() override {
    ModuleTest::SetUp();
    sim::MapHostRegion(kList, 0x1000);
    at_ = kList;
  }
  // A call of another list, which goes on here after it.
  void Call(HostAddress list) {
    platform::WriteHost<std::uint16_t>(at_, 0xF000);
    platform::WriteHost<std::uint32_t>(at_ + 2, list - at_);
    at_ += 6;
  }
  void End() {
    platform::WriteHost<std::uint16_t>(at_, 0xF001);
    at_ += 2;
  }
  static constexpr HostAddress kList = 0x30000000;
  HostAddress at_ = kList;
};

// Host variables as the substitute simulator gives them for this flight.
struct Flight {
  double latitude = 47.0;                         // degrees
  double longitude = 8.0;                         // degrees
  double altitude = 2000;                         // feet
  double ground = 1000;                           // feet
  double pitch = 0, bank = 0, heading = 0;        // degrees as the host gives them: nose down, left wing down
  double lateral = 0, vertical = 0, forward = 0;  // feet per second
  double speed = 0;                               // knots
  double wind = 0;                                // knots
  double rudder = 0;                              // radians, right rudder positive
  bool onGround = false;
};
void SetFlight(const Flight& flight);

// A setting stored in the registry as the Setup dialog stores it (as text),
// and read back as start-up reads the settings.
void StoreSetting(const char* name, double value);

// A motion option set as the binding file's [Motion] section and the Motion
// dialog set it: by its name, within its range.
void SetMotion(const char* name, double value);

// The module's key bindings, as a binding file holding just these tokens in
// its [Keyboard] section gives them.
void BindKeys(const std::vector<std::string>& tokens);

// The module's frame at this clock reading, as the frame message runs it.
void RunFrameAt(std::uint32_t milliseconds);
// The cockpit's part of a frame alone, handed this clock reading, the
// aircraft as the host gives it and the settings as they stand (before the
// sounds start).
void RunCockpitAt(std::uint32_t milliseconds);
// The aircraft's snapshot, taken now from the host's variables.
const AircraftStateRecord& Snapshot();

// The observer position the module last wrote, decoded as the host does.
struct Observer {
  double latitude, longitude, altitude;  // degrees, degrees, metres
};
Observer ReadObserver();

// A point `east` and `north` metres from a position in its tangent plane,
// projected onto the module's sphere: computed in earth-centred axes,
// independently of the module's rotations. Degrees, longitude in (-180, 180].
void TangentPoint(double latitude, double longitude, double east, double north, double& pointLatitude,
                  double& pointLongitude);

// Reads and writes a host view record whole.
std::vector<std::uint8_t> HostRecord(HostAddress record);
void WriteHostRecord(HostAddress record, const std::vector<std::uint8_t>& bytes);

// Index of the first event equal to `line`, or -1.
int EventIndex(const std::string& line);

}  // namespace varolen::testing
