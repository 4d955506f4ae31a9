// Binding events through the router and the matcher to the commands: repeats,
// DOUBLE, modifiers, the command words and the presets.
#include "input/commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "cockpit/cockpit_controller.h"
#include "cockpit/head_motion.h"
#include "cockpit/movement_keys.h"
#include "cockpit/view_update.h"
#include "host/frame_input.h"
#include "host/host_discovery.h"
#include "host/host_layout.h"
#include "host/keyboard.h"
#include "host/settings.h"
#include "input/binding_matcher.h"
#include "input/view_presets.h"
#include "interaction/walking_pilot.h"
#include "keyboard_writer.h"
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
    testing::BindKeys(tokens);
    testing::SetFlight({});
    TakeAircraftSnapshot(true);  // as the frame update does after its warm-up
    DiscoverHostModules();       // as the frame's tick does
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
  testing::Switch(&CameraSettingsRecord::FlyByActive, false);
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

// Each named command switches its setting (the names are the command table's).
TEST_F(Commands, EachCommandSwitchesItsSetting) {
  Bind({});
  const struct {
    const char* name;
    bool CameraSettingsRecord::*setting;
    int result;
  } cases[] = {
      {"ToggleFlyBy", &CameraSettingsRecord::FlyByActive, 1},
      {"ToggleHeadLatency", &CameraSettingsRecord::ViewTurbOn, 1},
      {"ToggleGroundTurbulence", &CameraSettingsRecord::GroundTurbOn, 1},
      {"ToggleBuffeting", &CameraSettingsRecord::BuffetTurbOn, 1},
      {"ToggleInternalView", &CameraSettingsRecord::InternalViewActive, 1},
      {"ToggleApproachView", &CameraSettingsRecord::ApproachActive, 1},
      {"ToggleWheelZoom", &CameraSettingsRecord::EnableWheelZoom, 1},
      {"ToggleUseMouseInSpot", &CameraSettingsRecord::UseMouseInSpot, 1},
  };
  for (const auto& c : cases) {
    const CameraSettingsRecord before = CameraSettings;
    KeyBinding binding = ParseBinding((std::string(c.name) + "=F1").c_str());
    EXPECT_EQ(RunCommand(binding, false), c.result) << c.name;
    if (c.setting != nullptr) {
      EXPECT_NE(CameraSettings.*c.setting, before.*c.setting) << c.name;
    }
  }
  // Setup and LoadPreset are not consumed, so their key reaches the host too.
  KeyBinding load = ParseBinding("LoadPreset=F9");
  EXPECT_EQ(RunCommand(load, false), 0);
  ASSERT_EQ(sim::FileDialogsShown().size(), 1u);
  EXPECT_EQ(sim::FileDialogsShown()[0].owner, main_);
}

TEST_F(Commands, PresetsAreStoredAndRecalledByTheDigitAfterTheWord) {
  Bind({"SetCockpitView4=SHIFT,4", "CockpitView4=4", "CockpitView=0", "SetCockpitViewX=SHIFT,X"});
  MoveCockpitViewTo({{0.0, 1.0, 2.0}, {5, 30, 0}, 1.5}, true,
                    false);  // a seat on the middle line: x exactly 0
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
  EXPECT_EQ(ViewPresets[9].position[2], 2.0);
  EXPECT_EQ(ViewPresets[0].zoom, 0.0) << "SetCockpitView4 stored, never recalled";

  // Preset 0 is empty: recalling it does nothing but is consumed.
  EXPECT_TRUE(Press('0'));
  EXPECT_EQ(CockpitViewState.TargetZoom, 1.5);

  // Immediate with SmoothView off, a transition with it on.
  for (const std::int32_t smooth : {0, 1}) {
    testing::Switch(&CameraSettingsRecord::SmoothView, smooth);
    testing::Switch(&CameraSettingsRecord::InternalViewActive, false);
    MoveCockpitViewTo({{0.3, 1, 2}, {0, 0, 0}, 1.0}, true, false);
    Press('4');
    Release('4');
    EXPECT_EQ(CameraSettings.InternalViewActive, 1);
    EXPECT_EQ(CockpitViewState.TargetZoom, 1.5);
    EXPECT_EQ(CockpitViewState.ZoomRate != 0.0, smooth == 1) << smooth;
    // Without the smooth transition every part of the view is there at once.
    EXPECT_EQ(CockpitViewState.EyePosition.x == 0.0, smooth == 0) << smooth;
    EXPECT_EQ(CockpitViewState.ViewAngles.heading == 30.0, smooth == 0) << smooth;
    EXPECT_EQ(CockpitViewState.ViewAngles.pitch == 5.0, smooth == 0) << smooth;
    EXPECT_EQ(CockpitViewState.Zoom == 1.5, smooth == 0) << smooth;
  }
}

// The host moves the aircraft on between the module's frames: a preset
// recalled by a key moves the view with the aircraft where the host has it at
// the key, not where the last frame saw it.
TEST_F(Commands, AViewMovedBetweenFramesGoesWithTheAircraftAsItIsThen) {
  Bind({"SetCockpitView4=SHIFT,4", "CockpitView4=4"});
  testing::RunCockpitAt(1000);  // the seat taken over from the host's record
  sim::SetKeyHeld(kShift, true);
  Press('4');
  sim::SetKeyHeld(kShift, false);
  testing::Flight turned;
  turned.heading = 40;
  turned.pitch = -3;
  testing::SetFlight(turned);
  Press('4');
  EXPECT_EQ(HeadMotion.AircraftAttitude.heading, 40.0);
  EXPECT_EQ(HeadMotion.AircraftAttitude.pitch, -3.0);
}

TEST_F(Commands, TheHeadTrackerIsSwitchedAndCentredByItsKeys) {
  Bind({"ToggleHeadTracker=T", "CentreHeadTracker=C"});
  testing::Switch(&CameraSettingsRecord::HeadTrackerOn, true);
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
  testing::Switch(&CameraSettingsRecord::ExternalViewActive, true);
  PlacePilot({0.8, 0.1, 1400}, {0, 90, 0}, 1.0);
  sim::SetKeyHeld(kShift, true);
  Press('2');
  sim::SetKeyHeld(kShift, false);
  EXPECT_EQ(ViewPresets[2].kind, 1);
  ClearWalkingPilot();
  testing::Switch(&CameraSettingsRecord::ExternalViewActive, false);
  Press('2');
  EXPECT_EQ(CameraSettings.ExternalViewActive, 1);
  EXPECT_EQ(CameraSettings.InternalViewActive, 1);
  EXPECT_EQ(WalkingPilot.PilotPositionFromPreset, 1);
  EXPECT_EQ(WalkingPilot.PilotLatitude, 0.8);
  EXPECT_EQ(WalkingPilot.PilotHeading, 90);
}

TEST_F(Commands, TheRouterFiltersByWindowClassAndCapturesBoundButtons) {
  Bind({"ToggleFlyBy=MOUSE_BUTTON_0", "ToggleWheelZoom=F5", "PilotForward=DOUBLE,NUMPAD_8", "Unbound=F6"});
  testing::Switch(&CameraSettingsRecord::InternalViewActive, true);  // mouse messages reach the router
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
  EXPECT_FALSE(Press(0x75)) << "a command nobody knows reaches the host";
  EXPECT_FALSE(Release(0x75));
  // Before the frame update's warm-up is over only the pilot's commands answer.
  ResetFrameInput();
  testing::BindKeys({"PilotForward=DOUBLE,NUMPAD_8", "ToggleWheelZoom=F5"});
  EXPECT_TRUE(Press(0x68));
  EXPECT_EQ(MovementKeys.PilotForward, 1);
  EXPECT_TRUE(Release(0x68));
  EXPECT_EQ(MovementKeys.PilotForward, 0);
  EXPECT_FALSE(Press(0x74)) << "the module's commands wait for the warm-up";
}

// Every order in which the keys go down and come up again, each down before its up.
std::vector<std::vector<std::pair<int, bool>>> KeyOrders(const std::vector<int>& keys) {
  std::vector<std::pair<int, bool>> order;
  for (int key : keys) order.insert(order.end(), {{key, true}, {key, false}});
  const auto byKey = [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first : a.second > b.second;
  };
  std::sort(order.begin(), order.end(), byKey);
  std::vector<std::vector<std::pair<int, bool>>> orders;
  do {
    bool downFirst = true;
    for (std::size_t at = 0; at < order.size(); ++at) {
      for (std::size_t later = at + 1; later < order.size(); ++later)
        downFirst =
            downFirst && !(order[later].first == order[at].first && order[later].second && !order[at].second);
    }
    if (downFirst) orders.push_back(order);
  } while (std::next_permutation(order.begin(), order.end(), byKey));
  return orders;
}

// The keys as Windows' keyboard sends them through the hooks, Num Lock on or
// off, Windows repeating the last key pressed while it is held.
class KeyboardOrders : public Commands {
 protected:
  void Play(const std::vector<std::pair<int, bool>>& order, bool numLock,
            const std::function<void(const std::string&)>& afterEach) {
    simhost::KeyboardWriter keyboard(
        [this](const simhost::KeyMessage& key) {
          sim::TakeThroughHooks(view_, key.message, key.virtualKey, static_cast<std::intptr_t>(key.lParam));
        },
        [](int key, bool down) { sim::SetKeyHeld(key, down); });
    keyboard.SetNumLock(numLock);
    sim::SetKeyToggled(0x90, numLock);
    std::string keys = numLock ? "Num Lock on: " : "Num Lock off: ";
    int last = 0;
    for (const auto& [key, down] : order) {
      if (down) {
        keyboard.Press(key);
        last = key;
      } else {
        keyboard.Release(key);
      }
      if (keyboard.Held(last)) keyboard.Press(last);  // a repeat
      keys += (key == 0x68 ? "8" : key == kShift ? "S" : "C") + std::string(down ? "v " : "^ ");
      afterEach(keys);
    }
  }
};

TEST_F(KeyboardOrders, NoKeyOrderLeavesABindingActive) {
  Bind({"PilotForward=DOUBLE,NUMPAD_8", "PilotBackward=DOUBLE,SHIFT,NUMPAD_8",
        "PilotStepLeft=DOUBLE,CONTROL,SHIFT,NUMPAD_8", "ToggleWheelZoom=NUMPAD_8",
        "PilotStepRight=SHIFT,NUMPAD_8"});
  testing::Switch(&CameraSettingsRecord::InternalViewActive, true);
  const auto orders = KeyOrders({0x68, kShift, kControl});
  EXPECT_EQ(orders.size(), 90u);
  for (const bool numLock : {true, false}) {
    for (const auto& order : orders) {
      std::string keys;
      Play(order, numLock, [&](const std::string& sofar) { keys = sofar; });
      for (std::int32_t index = 0; index < KeyBindings.count; ++index)
        EXPECT_EQ(KeyBindings.entries[index].isActive, 0) << keys << "binding " << index;
      EXPECT_EQ(MovementKeys.PilotForward, 0) << keys;
      EXPECT_EQ(MovementKeys.PilotBackward, 0) << keys;
      EXPECT_EQ(MovementKeys.PilotStepLeft, 0) << keys;
      testing::Poke(MovementKeys).PilotStepRight = 0;  // a plain binding flips at every press
    }
  }
}

// The shipped binding: number pad 8 walks while it is held and the walking
// pilot runs while SHIFT is held with it, whichever goes down first, with Num
// Lock on (where Windows turns SHIFT and 8 into the up arrow and lets SHIFT
// go around it) or off. Bound to a command of their own, SHIFT and 8 run it
// instead.
TEST_F(KeyboardOrders, ShiftAndEightWalkAndRunInEveryOrder) {
  const auto orders = KeyOrders({0x68, kShift});
  EXPECT_EQ(orders.size(), 6u);
  for (const bool numLock : {true, false}) {
    for (const auto& order : orders) {
      Bind({"PilotForward=DOUBLE,NUMPAD_8"});
      testing::Switch(&CameraSettingsRecord::InternalViewActive, true);
      testing::Switch(&CameraSettingsRecord::ExternalViewActive, true);
      bool eight = false, shift = false;
      std::size_t step = 0;
      Play(order, numLock, [&](const std::string& keys) {
        (order[step].first == kShift ? shift : eight) = order[step].second;
        ++step;
        UpdateWalkingPilot(CockpitTick, testing::Snapshot(), FindCurrentView());
        EXPECT_EQ(MovementKeys.PilotForward != 0, eight) << keys << "walking";
        EXPECT_EQ(MovementKeys.PilotForward != 0 && WalkingPilot.PilotRunning != 0, eight && shift)
            << keys << "running";
      });
    }
    Bind({"PilotForward=DOUBLE,NUMPAD_8", "ToggleWheelZoom=DOUBLE,SHIFT,NUMPAD_8"});
    const std::int32_t wheelZoom = CameraSettings.EnableWheelZoom;
    Play({{kShift, true}, {0x68, true}}, numLock, [](const std::string&) {});
    EXPECT_NE(CameraSettings.EnableWheelZoom, wheelZoom) << numLock;
    EXPECT_EQ(MovementKeys.PilotForward, 0) << numLock;
    // The up arrow beside the number pad shares 8's scan code but carries the
    // extended flag: it stays the simulator's, SHIFT or not.
    Bind({"PilotForward=DOUBLE,NUMPAD_8"});
    testing::Switch(&CameraSettingsRecord::InternalViewActive, true);
    testing::Switch(&CameraSettingsRecord::ExternalViewActive, true);
    Play({{kShift, true}, {0x26, true}}, numLock, [](const std::string&) {});
    EXPECT_EQ(MovementKeys.PilotForward, 0) << numLock;
  }
}

// The number pad is the simulator's (it trims and throttles there) wherever
// the module's movement keys move nothing: the eye keys in the virtual
// cockpit and the spot view while the module runs the cockpit view, the
// walking pilot's keys while he is out.
TEST_F(Commands, MovementKeysAreTheSimulatorsWhereTheyMoveNothing) {
  const struct {
    const char* what;
    std::int32_t internal, external, kind;
    bool eyeKey, crouchKey;  // consumed
  } cases[] = {
      {"a fresh install's virtual cockpit", 0, 0, 2, false, false},
      {"the module's virtual cockpit", 1, 0, 2, true, false},
      {"the spot view", 1, 0, 4, true, false},
      {"the panel cockpit", 1, 0, 1, false, false},
      {"the walking pilot", 1, 1, 1250, true, true},
      {"the pilot's view, the pilot gone", 1, 0, 1250, false, false},
  };
  for (const auto& c : cases) {
    testing::ResetModule();
    Bind({"PilotForward=DOUBLE,NUMPAD_8", "PilotCrouch=DOUBLE,NUMPAD_0"});
    platform::WriteHost<std::int32_t>(records_[0] + view_record::kKind, c.kind);
    testing::Switch(&CameraSettingsRecord::InternalViewActive, c.internal);
    testing::Switch(&CameraSettingsRecord::ExternalViewActive, c.external);
    EXPECT_EQ(Press(0x68), c.eyeKey) << c.what;
    EXPECT_EQ(Release(0x68), c.eyeKey) << c.what;
    EXPECT_EQ(Press(0x60), c.crouchKey) << c.what;
    EXPECT_EQ(Release(0x60), c.crouchKey) << c.what;
    EXPECT_EQ(MovementKeys.PilotForward + MovementKeys.PilotCrouch, 0) << c.what;
  }
  // A key held while the host switches to its panel: the release still ends it.
  platform::WriteHost<std::int32_t>(records_[0] + view_record::kKind, 2);
  EXPECT_TRUE(Press(0x68));
  platform::WriteHost<std::int32_t>(records_[0] + view_record::kKind, 1);
  EXPECT_TRUE(Release(0x68));
  EXPECT_EQ(MovementKeys.PilotForward, 0) << "nothing left walking";
}

}  // namespace
}  // namespace varolen
