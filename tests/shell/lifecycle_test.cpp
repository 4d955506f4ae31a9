// Start-up and shut-down: the simulator folder, the order of the steps, the
// three messages, and what is zeroed and set up.
#include "shell/lifecycle.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "cockpit/cockpit_controller.h"
#include "cockpit/head_motion.h"
#include "cockpit/view_update.h"
#include "host/frame_input.h"
#include "host/host_layout.h"
#include "host/module_state.h"
#include "host/settings.h"
#include "input/binding_matcher.h"
#include "input/key_bindings.h"
#include "input/view_presets.h"
#include "interaction/walking_pilot.h"
#include "platform/desktop.h"
#include "shell/frame.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

using testing::EventIndex;
using testing::ModuleTest;

class Lifecycle : public ModuleTest {};

TEST_F(Lifecycle, SimulatorFolderIsTheModuleFilesGrandparent) {
  const struct {
    std::string modulePath;
    std::string folder;
    std::string configuration;  // empty: no path is built
  } cases[] = {
      {"C:\\FS9\\Modules\\Varolen2004.dll", "C:\\FS9", "C:\\FS9\\Varolen2004.cfg"},
      {"D:\\Games\\Flight Simulator 9\\Modules\\Varolen2004.dll", "D:\\Games\\Flight Simulator 9",
       "D:\\Games\\Flight Simulator 9\\Varolen2004.cfg"},
      {"C:\\Varolen2004.dll", "C:", "C:\\Varolen2004.cfg"},
      {"Varolen2004.dll", "Varolen2004.dll", "Varolen2004.dll\\Varolen2004.cfg"},
      // 259 characters fit the buffer, but the configuration path would not.
      {"C:\\" + std::string(242, 'f') + "\\Modules\\V.dll", "C:\\" + std::string(242, 'f'), ""},
  };
  for (const auto& c : cases) {
    testing::ResetModule();
    sim::SetModuleFilePath(c.modulePath);
    StartWithHostWindow();
    EXPECT_EQ(Shell.simulatorFolder, c.folder);
    EXPECT_EQ(Shell.viewFolder, c.folder);
    char path[kPathCapacity];
    EXPECT_EQ(SimulatorFilePath(path, "Varolen2004.cfg"), !c.configuration.empty());
    EXPECT_EQ(path, c.configuration);
  }
}

TEST_F(Lifecycle, AModulePathThatDoesNotFitBuildsNoFilePath) {
  // Cut at 259 characters, the path's folders would name an ancestor of the
  // simulator's folder; nothing may be read from there.
  sim::SetModuleFilePath("C:\\" + std::string(300, 'x') + "\\FS9\\Modules\\Varolen2004.dll");
  StartWithHostWindow();
  EXPECT_LT(std::string(Shell.simulatorFolder).size(), kPathCapacity);
  char path[kPathCapacity];
  EXPECT_FALSE(SimulatorFilePath(path, "Varolen2004.cfg"));
  EXPECT_STREQ(path, "");
  EXPECT_TRUE(sim::HookInstalled(sim::HookKind::GetMessage));
}

TEST_F(Lifecycle, StartupRunsItsStepsInOrder) {
  sim::SetRegistryText("SOFTWARE\\Microsoft\\Microsoft Games\\Flight Simulator\\9.0\\Varolen", "SoundOn",
                       "1");
  sim::SetThreadId(77);
  StartWithHostWindow();
  const int steps[] = {
      EventIndex("ModuleFilePath"),
      EventIndex("QueryRegistryValue FlyByActive"),
      EventIndex("QueryRegistryValue SoundOn"),
      EventIndex("FindTopLevelWindow FS98MAIN"),
      EventIndex("CurrentThreadId"),
      EventIndex("InstallThreadHook CallWndProc thread 77"),
      EventIndex("InstallThreadHook GetMessage thread 77"),
  };
  for (std::size_t step = 0; step < std::size(steps); ++step) {
    ASSERT_GE(steps[step], 0) << "step " << step;
    if (step > 0) {
      EXPECT_LT(steps[step - 1], steps[step]) << "step " << step;
    }
  }
  EXPECT_TRUE(sim::MessageBoxes().empty());
}

TEST_F(Lifecycle, MessagesForAMissingWindowAndFailedHooks) {
  const struct {
    bool hostWindow;
    bool failCallWndProc;
    bool failGetMessage;
    std::vector<std::string> messages;
  } cases[] = {
      {false, false, false, {"FS window not found"}},
      {true, true, true, {"Varolen: Unable to set hook", "Varolen: Unable to set hook"}},
      {true, false, true, {"Varolen: Unable to set hook"}},
      {false, true, false, {"FS window not found", "Varolen: Unable to set hook"}},
  };
  for (const auto& c : cases) {
    testing::ResetModule();
    if (c.failCallWndProc) sim::FailHookInstallation(sim::HookKind::CallWndProc);
    if (c.failGetMessage) sim::FailHookInstallation(sim::HookKind::GetMessage);
    if (c.hostWindow) sim::CreateHostWindow("FS98MAIN", 4);
    ModuleStartup();
    EXPECT_EQ(sim::MessageBoxes(), c.messages);
    EXPECT_EQ(sim::HookInstalled(sim::HookKind::CallWndProc), !c.failCallWndProc);
    EXPECT_EQ(sim::HookInstalled(sim::HookKind::GetMessage), !c.failGetMessage);
    // Hook messages come after both installations were tried.
    if (c.failCallWndProc) {
      EXPECT_LT(EventIndex("InstallThreadHook GetMessage thread 1"),
                EventIndex("ShowMessageBox Varolen: Unable to set hook"));
    }
    EXPECT_EQ(Shell.hostMainWindow != 0, c.hostWindow);
  }
}

TEST_F(Lifecycle, StartupZeroesTheTablesAndSetsUpTheHostContract) {
  testing::Poke(ViewPresets)[4].position[0] = 3.0;
  ZoomCockpitView(2.0);
  testing::Switch(&CameraSettingsRecord::ExternalViewActive, true);
  EXPECT_EQ(HostAddresses.moduleListHead, 0u);
  StartWithHostWindow();
  EXPECT_EQ(ViewPresets[4].position[0], 0.0);
  EXPECT_EQ(CockpitViewState.Zoom, 0.0);
  EXPECT_EQ(KeyBindings.capacity, 256);
  EXPECT_EQ(CameraSettings.ExternalViewActive, 0);
  EXPECT_EQ(HostAddresses.observerLatitudeFraction, 0x20CE3D50u);
  EXPECT_EQ(HostAddresses.observerAltitude, 0x20CE3D64u);
  EXPECT_EQ(HostAddresses.moduleListHead, 0x47D15Cu);
  EXPECT_EQ(HostAddresses.viewSets, 0x47D0B4u);
  EXPECT_EQ(HostAddresses.viewSetSelector, 0x47D0BCu);
}

TEST_F(Lifecycle, ShutdownSavesThenRemovesTheHooksInOrder) {
  StartWithHostWindow();
  sim::ClearEvents();
  ModuleShutdown();
  const int lastWrite = EventIndex("SetRegistryString SoundOn=1");
  const int firstRemoval = EventIndex("RemoveThreadHook CallWndProc");
  const int secondRemoval = EventIndex("RemoveThreadHook GetMessage");
  ASSERT_GE(lastWrite, 0);
  EXPECT_LT(lastWrite, firstRemoval);
  EXPECT_LT(firstRemoval, secondRemoval);
  EXPECT_FALSE(sim::HookInstalled(sim::HookKind::CallWndProc));
  EXPECT_FALSE(sim::HookInstalled(sim::HookKind::GetMessage));
}

// As the process ends the settings are written all the same; the hooks and
// the sub-menu go with the process.
TEST_F(Lifecycle, AtProcessEndOnlyTheSettingsAreWritten) {
  StartWithHostWindow();
  sim::SendThroughHooks(Shell.hostMainWindow, kInitMenu);
  const auto popup = platform::SubMenuAt(platform::WindowMenuBar(Shell.hostMainWindow), 3);
  const int items = platform::MenuItemCount(popup);
  sim::ClearEvents();
  ModuleShutdown(Departure::ProcessEnding);
  EXPECT_GE(EventIndex("SetRegistryString SoundOn=1"), 0);
  EXPECT_EQ(EventIndex("RemoveThreadHook CallWndProc"), -1);
  EXPECT_EQ(EventIndex("RemoveThreadHook GetMessage"), -1);
  EXPECT_EQ(platform::MenuItemCount(popup), items) << "the sub-menu is left to the ending process";
}

TEST_F(Lifecycle, ShutdownRemovesOnlyTheHookThatWasInstalled) {
  sim::FailHookInstallation(sim::HookKind::CallWndProc);
  StartWithHostWindow();
  sim::ClearEvents();
  ModuleShutdown();
  EXPECT_EQ(EventIndex("RemoveThreadHook CallWndProc"), -1);
  EXPECT_GE(EventIndex("RemoveThreadHook GetMessage"), 0);
}

// A value that is no number keeps the record's last value, and a fresh module
// has none: after a reset, each table of variable records must have forgotten
// the last flight's 47 degrees north and 5 degrees of pitch.
TEST_F(Lifecycle, AResetForgetsTheVariableRecordsOfTheLastFlight) {
  const auto fly = [this](bool noNumbers) {
    testing::ResetModule();
    StartWithHost();
    testing::Switch(&CameraSettingsRecord::InternalViewActive, true);
    testing::Switch(&CameraSettingsRecord::ExternalViewActive, true);
    testing::Flight flight;
    flight.latitude = 47.0;
    flight.pitch = 5.0;
    flight.altitude = flight.ground;
    testing::SetFlight(flight);
    if (noNumbers) {
      sim::SetHostVariable(71, std::nan(""));
      sim::SetHostVariable(77, std::nan(""));
    }
    for (std::uint32_t clock : {1000u, 2000u, 3000u}) testing::RunFrameAt(clock);  // past the warm-up
  };
  fly(false);
  ASSERT_NEAR(AircraftState.position.latitude * 180 / M_PI, 47.0, 1e-6);
  fly(true);
  EXPECT_EQ(AircraftState.position.latitude, 0.0) << "the frame's records";
  // The steps that read the snapshot see no number of the last flight either.
  EXPECT_EQ(HeadMotion.AircraftAttitude.pitch, 0.0) << "the view update";
  EXPECT_NEAR(WalkingPilot.PilotLatitude, 0.0, 0.001) << "the walking pilot: 10 m from 0 N";
}

}  // namespace
}  // namespace varolen
