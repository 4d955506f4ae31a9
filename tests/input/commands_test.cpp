// Binding events through the router and the matcher to the commands: repeats,
// DOUBLE, modifiers, the command words and the presets.
#include "input/commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cockpit/cockpit_controller.h"
#include "cockpit/host_view.h"
#include "host/host_layout.h"
#include "host/settings.h"
#include "input/key_bindings.h"
#include "input/view_presets.h"
#include "shell/hooks.h"
#include "support/module_fixture.h"
#include "tracker/head_tracker.h"

namespace varolen {
namespace {

constexpr int kShift = 16, kControl = 17, kAlt = 18;

class Commands : public testing::ModuleTest {
 protected:
  // Bindings read from these tokens; the frame update has stored the command handler.
  void Bind(const std::vector<std::string>& tokens) {
    records_ = StartWithHost({simhost::ViewRecordSpec{.kind = 2, .eyeBase = {0, 1, 2}}});
    main_ = platform::FindTopLevelWindow("FS98MAIN");
    view_ = sim::CreateHostWindow("FS98CHILD");
    KeyBindings.count = 0;
    for (const std::string& token : tokens)
      KeyBindings.entries[KeyBindings.count++] = ParseBinding(token.c_str());
    CockpitController.CommandCallback = HandleCommand;
    DiscoverHostModules(CockpitController);  // as the frame's tick does
    testing::SetFlight({});
  }
  // True when the module hid the message from the host.
  bool Key(std::uint32_t message, int key, sim::WindowHandle window = 0) {
    return sim::TakeThroughHooks(window != 0 ? window : view_, message, static_cast<std::uintptr_t>(key))
               .message == 0;
  }
  bool Press(int key) { return Key(kKeyDown, key); }
  bool Release(int key) { return Key(kKeyUp, key); }

  std::vector<HostAddress> records_;
  sim::WindowHandle main_ = 0, view_ = 0;
};

TEST_F(Commands, PlainBindingsRepeatWithTheKeyAndDoubleOnesFollowIt) {
  Bind({"ToggleFlyBy=F1", "ToggleWheelZoom=DOUBLE,F2"});
  CameraSettings.FlyByActive = 0;
  EXPECT_TRUE(Press(0x70));
  EXPECT_TRUE(Press(0x70));  // Windows repeats the key-down while it is held
  EXPECT_TRUE(Press(0x70));
  EXPECT_TRUE(Release(0x70));
  EXPECT_EQ(CameraSettings.FlyByActive, 1) << "toggled three times";

  EXPECT_EQ(CameraSettings.EnableWheelZoom, 1);
  EXPECT_TRUE(Press(0x71));
  EXPECT_EQ(CameraSettings.EnableWheelZoom, 0);
  EXPECT_TRUE(Press(0x71));  // consumed, not run again
  EXPECT_EQ(CameraSettings.EnableWheelZoom, 0);
  EXPECT_TRUE(Release(0x71));
  EXPECT_EQ(CameraSettings.EnableWheelZoom, 1) << "on only while held";
}

TEST_F(Commands, ModifiersMustMatchExactlyAndAreReadWhenRouted) {
  Bind({"ToggleFlyBy=F3", "ToggleWheelZoom=SHIFT,F3", "ToggleUseMouseInSpot=SHIFT,ALT,F3",
        "ToggleBuffeting=INVERSE,F3", "ToggleHeadLatency=F3"});
  const struct {
    std::vector<int> held;
    std::int32_t flyBy, wheelZoom, mouseInSpot, latency;
  } cases[] = {
      {{}, 0, 1, 0, 0},  // both plain bindings run, in file order
      {{kShift}, 0, 0, 0, 0},
      {{kShift, kAlt}, 0, 0, 1, 0},
      {{kControl}, 0, 0, 1, 0},  // nothing is bound with CONTROL
  };
  for (const auto& c : cases) {
    for (int key : c.held) sim::SetKeyHeld(key, true);
    Key(kKeyDown, 0x72);
    Key(kKeyUp, 0x72);
    for (int key : c.held) sim::SetKeyHeld(key, false);
    EXPECT_EQ(CameraSettings.FlyByActive, c.flyBy);
    EXPECT_EQ(CameraSettings.EnableWheelZoom, c.wheelZoom);
    EXPECT_EQ(CameraSettings.UseMouseInSpot, c.mouseInSpot);
    EXPECT_EQ(CameraSettings.ViewTurbOn, c.latency);
  }
  EXPECT_EQ(CameraSettings.BuffetTurbOn, 1) << "INVERSE never matches a key";
}

TEST_F(Commands, TheCommandWordsAreFoundInOrderAnywhereInTheName) {
  Bind({});
  const struct {
    const char* name;
    std::int32_t CameraSettingsRecord::*setting;
    int result;
  } cases[] = {
      {"ToggleFlyBy", &CameraSettingsRecord::FlyByActive, 1},
      {"XToggleFlyByX", &CameraSettingsRecord::FlyByActive, 1},
      {"ToggleHeadLatency", &CameraSettingsRecord::ViewTurbOn, 1},
      {"ToggleGroundTurbulence", &CameraSettingsRecord::GroundTurbOn, 1},
      {"ToggleBuffeting", &CameraSettingsRecord::BuffetTurbOn, 1},
      {"ToggleInternalView", &CameraSettingsRecord::InternalViewActive, 1},
      {"ToggleApproachView", &CameraSettingsRecord::ApproachActive, 1},
      {"ToggleWheelZoom", &CameraSettingsRecord::EnableWheelZoom, 1},
      {"ToggleUseMouseInSpot", &CameraSettingsRecord::UseMouseInSpot, 1},
      {"togglewheelzoom", nullptr, 0},  // case counts
      {"Unknown", nullptr, 0},
  };
  for (const auto& c : cases) {
    const CameraSettingsRecord before = CameraSettings;
    KeyBinding binding = ParseBinding((std::string(c.name) + "=F1").c_str());
    EXPECT_EQ(HandleCommand(0, 0, &binding), c.result) << c.name;
    if (c.setting != nullptr) {
      EXPECT_NE(CameraSettings.*c.setting, before.*c.setting) << c.name;
    }
  }
  // Setup and LoadPreset are not consumed, so their key reaches the host too.
  KeyBinding load = ParseBinding("LoadPreset=F9");
  EXPECT_EQ(HandleCommand(0, 0, &load), 0);
  ASSERT_EQ(sim::FileDialogsShown().size(), 1u);
  EXPECT_EQ(sim::FileDialogsShown()[0].owner, main_);
}

TEST_F(Commands, PresetsAreStoredAndRecalledByTheDigitAfterTheWord) {
  Bind({"SetCockpitView4=SHIFT,4", "CockpitView4=4", "CockpitView=0", "SetCockpitViewX=SHIFT,X"});
  CockpitController.TargetEyePosition = {0.5, 1.0, 2.0};
  CockpitController.TargetViewAngles = {5, 30, 0};
  CockpitController.TargetZoom = 1.5;
  sim::SetKeyHeld(kShift, true);
  Press('4');
  Release('4');
  Press('X');  // a letter after the word means preset 9
  Release('X');
  sim::SetKeyHeld(kShift, false);
  EXPECT_EQ(ViewPresets[4].kind, 0);
  EXPECT_EQ(ViewPresets[4].position[2], 2.0);
  EXPECT_EQ(ViewPresets[4].orientation[1], 30.0);
  EXPECT_EQ(ViewPresets[4].zoom, 1.5);
  EXPECT_EQ(ViewPresets[9].position[0], 0.5);
  EXPECT_EQ(ViewPresets[0].zoom, 0.0) << "SetCockpitView4 stored, never recalled";

  // Preset 0 is empty: recalling it does nothing but is consumed.
  CockpitController.TargetZoom = 1.0;
  EXPECT_TRUE(Press('0'));
  EXPECT_EQ(CockpitController.TargetZoom, 1.0);

  // Immediate with SmoothView off, a transition with it on.
  for (const std::int32_t smooth : {0, 1}) {
    CameraSettings.SmoothView = smooth;
    CameraSettings.InternalViewActive = 0;
    CockpitController.EyePosition = {0, 1, 2};
    CockpitController.ViewAngles = {0, 0, 0};
    CockpitController.Zoom = 1.0;
    CockpitController.ZoomRate = 0;
    Press('4');
    Release('4');
    EXPECT_EQ(CameraSettings.InternalViewActive, 1);
    EXPECT_EQ(CockpitController.TargetZoom, 1.5);
    EXPECT_EQ(CockpitController.ZoomRate != 0.0, smooth == 1) << smooth;
    // Without the smooth transition every part of the view is there at once.
    EXPECT_EQ(CockpitController.EyePosition.x == 0.5, smooth == 0) << smooth;
    EXPECT_EQ(CockpitController.ViewAngles.heading == 30.0, smooth == 0) << smooth;
    EXPECT_EQ(CockpitController.ViewAngles.pitch == 5.0, smooth == 0) << smooth;
    EXPECT_EQ(CockpitController.Zoom == 1.5, smooth == 0) << smooth;
  }
}

TEST_F(Commands, TheHeadTrackerIsSwitchedAndCentredByItsKeys) {
  Bind({"ToggleHeadTracker=T", "CentreHeadTracker=C"});
  CameraSettings.HeadTrackerOn = 1;
  EXPECT_TRUE(Press('T'));
  EXPECT_EQ(CameraSettings.HeadTrackerOn, 0);
  EXPECT_TRUE(Press('T'));
  EXPECT_EQ(CameraSettings.HeadTrackerOn, 1);
  HeadTracker.state = TrackerState::Live;
  HeadTracker.pose = {12, -3, 0, 0, 0, 40};
  EXPECT_TRUE(Press('C'));
  EXPECT_EQ(HeadTracker.centre.yaw, 12);
  EXPECT_EQ(HeadTracker.centre.z, 40);
}

TEST_F(Commands, AWalkingPilotPresetKeepsThePilotsPlace) {
  Bind({"SetCockpitView2=SHIFT,2", "CockpitView2=2"});
  CameraSettings.ExternalViewActive = 1;
  CockpitController.PilotLatitude = 0.8;
  CockpitController.PilotLongitude = 0.1;
  CockpitController.PilotAltitude = 1400;
  CockpitController.PilotHeading = 90;
  CockpitController.PilotZoom = 1.0;
  sim::SetKeyHeld(kShift, true);
  Press('2');
  sim::SetKeyHeld(kShift, false);
  EXPECT_EQ(ViewPresets[2].kind, 1);
  CockpitController.PilotLatitude = 0;
  CameraSettings.ExternalViewActive = 0;
  Press('2');
  EXPECT_EQ(CameraSettings.ExternalViewActive, 1);
  EXPECT_EQ(CameraSettings.InternalViewActive, 1);
  EXPECT_EQ(CockpitController.PilotPositionFromPreset, 1);
  EXPECT_EQ(CockpitController.PilotLatitude, 0.8);
  EXPECT_EQ(CockpitController.PilotHeading, 90);
}

TEST_F(Commands, TheRouterFiltersByWindowClassAndCapturesBoundButtons) {
  Bind({"ToggleFlyBy=MOUSE_BUTTON_0", "ToggleWheelZoom=F5", "PilotForward=DOUBLE,NUMPAD_8", "Unbound=F6"});
  CameraSettings.InternalViewActive = 1;  // mouse messages reach the router
  const sim::WindowHandle dialog = sim::CreateHostWindow("#32770");
  EXPECT_FALSE(Key(kLeftButtonDown, 0, main_)) << "the mouse works only in view windows";
  EXPECT_EQ(CameraSettings.FlyByActive, 1);
  EXPECT_TRUE(Key(kKeyDown, 0x74, main_)) << "keys in the main window are routed";
  EXPECT_FALSE(Key(kKeyDown, 0x74, dialog));
  EXPECT_TRUE(Key(kLeftButtonDown, 0, view_));
  EXPECT_EQ(sim::CapturedWindow(), view_);
  EXPECT_TRUE(Key(kLeftButtonUp, 0, view_));
  EXPECT_EQ(sim::CapturedWindow(), 0u);
  EXPECT_FALSE(Key(kRightButtonDown, 0, view_));
  EXPECT_EQ(sim::CapturedWindow(), 0u) << "an unbound press neither captures nor releases";
  EXPECT_TRUE(Key(kLeftButtonDown, 0, view_));
  EXPECT_FALSE(Key(kRightButtonDown, 0, view_));
  EXPECT_FALSE(Key(kRightButtonUp, 0, view_));
  EXPECT_EQ(sim::CapturedWindow(), view_) << "an unbound button leaves the bound one's capture";
  EXPECT_TRUE(Key(kLeftButtonUp, 0, view_));
  EXPECT_EQ(sim::CapturedWindow(), 0u);
  // The pilot's commands work before the frame update stored the command handler.
  CockpitController.CommandCallback = nullptr;
  EXPECT_TRUE(Press(0x68));
  EXPECT_EQ(CockpitController.PilotForward, 1);
  EXPECT_TRUE(Release(0x68));
  EXPECT_EQ(CockpitController.PilotForward, 0);
  EXPECT_FALSE(Press(0x75)) << "a command nobody knows reaches the host";
  EXPECT_FALSE(Release(0x75));
}

}  // namespace
}  // namespace varolen
