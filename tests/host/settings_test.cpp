// Settings: defaults, the registry texts written at shut-down, and how texts
// of every shape are read back at start-up.
#include "host/settings.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "shell/lifecycle.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

using testing::ModuleTest;

const std::string kKey = "SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0\\Varolen";

// The 22 persisted settings in their registry order, with the text each default is stored as.
const std::pair<const char*, const char*> kDefaultTexts[] = {
    {"FlyByActive", "1"},
    {"FlyByDuration", "10"},
    {"FlyByRelAltitude", "0"},
    {"FlyByMinDistance", "50"},
    {"FlyByCameraPlacement", "0"},
    {"FlyByTravelling", "0"},
    {"ApproachActive", "0"},
    {"ApproachViewX", "25.000000"},
    {"ApproachViewZ", "0.000000"},
    {"InternalViewActive", "0"},
    {"EnableWheelZoom", "1"},
    {"UseMouseInSpot", "0"},
    {"SmoothView", "1"},
    {"ViewTurbRate", "0.600000"},
    {"GroundTurbRate", "0.600000"},
    {"BuffetTurbRate", "0.600000"},
    {"RunningSpeed", "5.000000"},
    {"ViewTurbOn", "1"},
    {"GroundTurbOn", "1"},
    {"BuffetTurbOn", "1"},
    {"SoundOn", "1"},
    {"HeadTrackerOn", "1"},
};

class Settings : public ModuleTest {};

// A first shut-down creates the key with the 22 default texts; start-up and
// shut-down go through the values in registry order.
TEST_F(Settings, AreReadAndWrittenInRegistryOrderFromTheDefaultTexts) {
  StartWithHostWindow();
  EXPECT_FALSE(sim::RegistryKeyExists(kKey));
  ModuleShutdown();
  EXPECT_EQ(sim::RegistryValueNames(kKey).size(), 22u);
  for (const auto& [name, text] : kDefaultTexts) EXPECT_EQ(sim::RegistryText(kKey, name), text) << name;
  sim::ClearEvents();
  StartWithHostWindow();
  ModuleShutdown();
  std::vector<std::string> reads, writes;
  for (const std::string& event : sim::Events()) {
    if (event.rfind("QueryRegistryValue ", 0) == 0) reads.push_back(event.substr(19));
    if (event.rfind("SetRegistryString ", 0) == 0) writes.push_back(event.substr(18, event.find('=') - 18));
  }
  ASSERT_EQ(reads.size(), 22u);
  ASSERT_EQ(writes.size(), 22u);
  for (std::size_t index = 0; index < 22; ++index) {
    EXPECT_EQ(reads[index], kDefaultTexts[index].first);
    EXPECT_EQ(writes[index], kDefaultTexts[index].first);
  }
}

TEST_F(Settings, SurviveARestartExceptTheWalkingPilot) {
  StartWithHostWindow();
  CameraSettings.FlyByActive = false;
  CameraSettings.FlyByDuration = 25;
  CameraSettings.FlyByRelAltitude = -40;
  CameraSettings.ApproachActive = true;
  CameraSettings.ApproachViewX = -12.5;
  CameraSettings.ViewTurbRate = 1.75;
  CameraSettings.RunningSpeed = 7.25;
  CameraSettings.SoundOn = false;
  CameraSettings.InternalViewActive = true;
  CameraSettings.ExternalViewActive = true;
  const CameraSettingsRecord before = CameraSettings;
  ModuleShutdown();

  CameraSettings = {};
  StartWithHostWindow();
  EXPECT_EQ(CameraSettings.FlyByDuration, 25);
  EXPECT_EQ(CameraSettings.FlyByRelAltitude, -40);
  EXPECT_EQ(CameraSettings.ApproachActive, 1);
  EXPECT_EQ(CameraSettings.ApproachViewX, -12.5);
  EXPECT_EQ(CameraSettings.ViewTurbRate, 1.75);
  EXPECT_EQ(CameraSettings.RunningSpeed, 7.25);
  EXPECT_EQ(CameraSettings.SoundOn, 0);
  EXPECT_EQ(CameraSettings.FlyByActive, before.FlyByActive);
  EXPECT_EQ(CameraSettings.InternalViewActive, 1);
  EXPECT_EQ(CameraSettings.ExternalViewActive, 0);
}

TEST_F(Settings, GarbageTextsConvertAsStandardConversionsDo) {
  const struct {
    const char* name;
    std::string text;
    double value;  // the field afterwards
  } cases[] = {
      {"FlyByMinDistance", "12abc", 12},
      {"ApproachViewZ", "", 0},
      {"FlyByRelAltitude", "  -30 feet", -30},
      {"ApproachActive", "two", 0},
      {"ViewTurbRate", "5.0", 5.0},  // no range test on load
      {"GroundTurbRate", "abc", 0.0},
      {"BuffetTurbRate", "nan", 0.0},
      {"RunningSpeed", "1e999", 0.0},
      {"ApproachViewX", "-7.5e1", -75.0},
      {"FlyByCameraPlacement", "99999999999", 2147483647.0},  // beyond 32 bits: the largest
      {"FlyByDuration", "-99999999999", -2147483648.0},
      {"SmoothView", "-99999999999", 1},  // a switch: any number but 0 is on
      {"FlyByTravelling", "2", 1},
      {"SoundOn", "0x10", 0},
  };
  for (const auto& c : cases) sim::SetRegistryText(kKey, c.name, c.text);
  StartWithHostWindow();
  for (const auto& c : cases) {
    for (const PersistedSetting& setting : kPersistedSettings) {
      if (std::string(setting.name) != c.name) continue;
      EXPECT_EQ(SettingValue(CameraSettings, setting), c.value) << c.name << " from \"" << c.text << '"';
    }
  }
  EXPECT_EQ(CameraSettings.FlyByActive, 1) << "a missing value keeps its default";
}

TEST_F(Settings, RawAndOverlongValuesAreCutAndTerminated) {
  // A 32-bit number stored as bytes 31 35 00 00 reads as the text "15".
  sim::SetRegistryBytes(kKey, "FlyByDuration", {'1', '5', 0, 0});
  // No terminating zero at all.
  sim::SetRegistryBytes(kKey, "FlyByMinDistance", {'4', '2'});
  // Longer than the query buffer: the first 255 digits still make a number.
  sim::SetRegistryText(kKey, "FlyByRelAltitude", std::string(400, '9'));
  sim::SetRegistryText(kKey, "ApproachViewZ", "0.5" + std::string(400, '0'));
  StartWithHostWindow();
  EXPECT_EQ(CameraSettings.FlyByDuration, 15);
  EXPECT_EQ(CameraSettings.FlyByMinDistance, 42);
  EXPECT_EQ(CameraSettings.FlyByRelAltitude, std::numeric_limits<std::int32_t>::max());
  EXPECT_EQ(CameraSettings.ApproachViewZ, 0.5);
}

TEST_F(Settings, FlyByAndApproachBothStoredOnLoadBothOn) {
  sim::SetRegistryText(kKey, "FlyByActive", "1");
  sim::SetRegistryText(kKey, "ApproachActive", "1");
  StartWithHostWindow();
  EXPECT_EQ(CameraSettings.FlyByActive, 1);
  EXPECT_EQ(CameraSettings.ApproachActive, 1);
}

TEST_F(Settings, HugeValuesSurviveTheRoundTrip) {
  StartWithHostWindow();
  CameraSettings.ApproachViewX = 1e300;  // "%f" would need 308 characters
  CameraSettings.ApproachViewZ = -123456789.125;
  ModuleShutdown();
  CameraSettings = {};
  StartWithHostWindow();
  EXPECT_EQ(CameraSettings.ApproachViewX, 1e300);
  EXPECT_EQ(CameraSettings.ApproachViewZ, -123456789.125);
  EXPECT_EQ(sim::RegistryText(kKey, "ApproachViewZ"), "-123456789.125000");
}

TEST_F(Settings, AKeyThatCannotBeOpenedKeepsTheDefaultsAndShutdownGoesOn) {
  sim::SetRegistryText(kKey, "FlyByDuration", "30");
  sim::DenyRegistryAccess(kKey);
  StartWithHostWindow();
  EXPECT_EQ(CameraSettings.FlyByDuration, 10);
  ModuleShutdown();
  EXPECT_EQ(sim::RegistryText(kKey, "FlyByDuration"), "30");
  EXPECT_FALSE(sim::HookInstalled(sim::HookKind::CallWndProc));
}

}  // namespace
}  // namespace varolen
