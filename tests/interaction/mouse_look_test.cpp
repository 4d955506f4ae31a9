// The pick ray, the click-area search, the command gate, mouse look and the wheel.
#include "interaction/mouse_look.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "cockpit/cockpit_controller.h"
#include "cockpit/movement_keys.h"
#include "cockpit/pick_ray.h"
#include "cockpit/view_update.h"
#include "host/host_discovery.h"
#include "host/host_layout.h"
#include "host/settings.h"
#include "host_builder.h"
#include "input/binding_matcher.h"
#include "input/commands.h"
#include "interaction/click_areas.h"
#include "interaction/walking_pilot.h"
#include "native_host.h"
#include "platform/host_memory.h"
#include "shell/host_menu.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

using platform::WriteHost;

// A view record in module memory: identity orientation, the eye at (1, 2, 3), zoom 1.
std::vector<std::uint8_t> Record(std::int16_t zoomWord = 64) {
  std::vector<std::uint8_t> record(kHostViewRecordSize);
  for (std::uint32_t row = 0; row < 3; ++row)
    platform::SetBlockField(record.data(), 0x50 + 16 * row + 4 * row, 1.0f);
  const std::int16_t eye[3] = {256, 512, 768};
  for (std::uint32_t axis = 0; axis < 3; ++axis)
    platform::SetBlockField(record.data(), 0x11C + 2 * axis, eye[axis]);
  platform::SetBlockField(record.data(), 0x2E, zoomWord);
  return record;
}

TEST(PickRay, ThroughThePointerFromTheEye) {
  const struct {
    double width, height, x, y;
    std::int16_t zoom;
    double direction[3];  // before normalising
  } cases[] = {
      {800, 600, 400, 300, 64, {0, 0, 1}},
      {800, 600, 800, 300, 64, {0.5, 0, 1.2}},
      {800, 600, 400, 0, 64, {0, 0.375, 1.2}},
      {600, 800, 600, 400, 64, {0.375, 0, 1.2}},  // a tall window scales u
      {800, 600, 800, 300, 128, {0.5, 0, 2.4}},   // twice the zoom, half the angle
  };
  for (const auto& c : cases) {
    double ray[6];
    ComputePickRay(Record(c.zoom).data(), c.width, c.height, c.x, c.y, ray);
    EXPECT_EQ(ray[0], 1.0);
    EXPECT_EQ(ray[2], 3.0);
    const double length = std::hypot(c.direction[0], c.direction[1], c.direction[2]);
    for (int axis = 0; axis < 3; ++axis) EXPECT_NEAR(ray[3 + axis], c.direction[axis] / length, 1e-7) << c.x;
  }
}

// A view turned 30 degrees right and 20 down, the eye moved by its offset
// words: the ray leaves the eye and runs along the view's own axes, right,
// up and forward, which are the record's rows.
TEST(PickRay, FollowsTheViewsTurnAndTheEyesOffsets) {
  const double h = 30 * M_PI / 180, p = 20 * M_PI / 180;  // pitch positive down
  const double right[3] = {std::cos(h), 0, -std::sin(h)};
  const double up[3] = {std::sin(h) * std::sin(p), std::cos(p), std::cos(h) * std::sin(p)};
  const double forward[3] = {std::sin(h) * std::cos(p), -std::sin(p), std::cos(h) * std::cos(p)};
  std::vector<std::uint8_t> record = Record();
  const double* rows[3] = {right, up, forward};
  for (std::uint32_t row = 0; row < 3; ++row) {
    for (std::uint32_t column = 0; column < 3; ++column)
      platform::SetBlockField(record.data(), 0x50 + 16 * row + 4 * column,
                              static_cast<float>(rows[row][column]));
  }
  const std::int16_t offsets[3] = {64, -32, 128};
  for (std::uint32_t axis = 0; axis < 3; ++axis)
    platform::SetBlockField(record.data(), 0x12E + 2 * axis, offsets[axis]);
  const struct {
    double x, y;  // in an 800 x 600 window
    double u, v;
  } cases[] = {{400, 300, 0, 0}, {800, 300, 0.5, 0}, {400, 0, 0, 0.375}, {0, 600, -0.5, -0.375}};
  for (const auto& c : cases) {
    double ray[6];
    ComputePickRay(record.data(), 800, 600, c.x, c.y, ray);
    EXPECT_EQ(ray[0], 1.25);  // (256 + 64) / 256
    EXPECT_EQ(ray[1], 1.875);
    EXPECT_EQ(ray[2], 3.5);
    double direction[3];
    for (int axis = 0; axis < 3; ++axis)
      direction[axis] = c.u * right[axis] + c.v * up[axis] + 1.2 * forward[axis];
    const double length = std::hypot(direction[0], direction[1], direction[2]);
    for (int axis = 0; axis < 3; ++axis)
      EXPECT_NEAR(ray[3 + axis], direction[axis] / length, 1e-6) << c.x << "," << c.y << " axis " << axis;
  }
}

TEST(PickRay, SpheresAheadAreHitAndThoseBehindAreNot) {
  const double ray[6] = {0, 0, 0, 0, 0, 1};
  double t0 = 0, t1 = 0;
  EXPECT_TRUE(RaySphereHit(ray, {0, 0, 10}, 4, t0, t1));
  EXPECT_DOUBLE_EQ(t0, 8);
  EXPECT_DOUBLE_EQ(t1, 12);
  EXPECT_FALSE(RaySphereHit(ray, {0, 0, -10}, 4, t0, t1));
  EXPECT_FALSE(RaySphereHit(ray, {3, 0, 10}, 4, t0, t1));
  EXPECT_TRUE(RaySphereHit(ray, {0, 0, -0.5}, 4, t0, t1)) << "from inside, whatever the direction";
}

class ClickAreas : public testing::HostListTest {
 public:
  void SetUp() override {
    HostListTest::SetUp();
    testing::Poke(Mouse).PickRay[5] = 1.0;  // from the origin along +z
  }
  // Appends an area record: centre, radius, kind, first button event, shape (0: 38-byte record), skip.
  void Area(double z, double x, std::uint16_t kind, std::uint32_t event, std::uint32_t shape = 0,
            std::uint32_t skip = 0, bool longRecord = false) {
    const std::uint16_t length = shape != 0 || longRecord ? 42 : 38;
    WriteHost<std::uint16_t>(at_, 0xF003);
    WriteHost<std::uint16_t>(at_ + 2, length);
    WriteHost<std::uint32_t>(at_ + 4, skip);
    WriteHost<std::uint16_t>(at_ + 8, kind);
    WriteHost(at_ + 10, static_cast<float>(x));
    WriteHost(at_ + 18, static_cast<float>(z));
    WriteHost(at_ + 22, 0.5f);
    WriteHost<std::uint32_t>(at_ + 26, event);
    if (length == 42) WriteHost<std::uint32_t>(at_ + 38, shape);
    at_ += length;
  }
};

TEST_F(ClickAreas, TheFirstAnsweringAreaOnTheRayGivesItsCode) {
  const struct {
    const char* what;
    std::uint32_t expected;
    void (*build)(ClickAreas&);
  } cases[] = {
      {"a 38-byte area: the hand", 1, [](ClickAreas& t) { t.Area(5, 0, 1, 9); }},
      {"shape 3", 3, [](ClickAreas& t) { t.Area(5, 0, 1, 9, 3); }},
      {"shape 0 in a 42-byte record: the hand", 1, [](ClickAreas& t) { t.Area(5, 0, 1, 9, 0, 0, true); }},
      {"no events: the search goes on into what it covers", 4,
       [](ClickAreas& t) {
         t.Area(5, 0, 1, 0);
         t.Area(0, 0, 1, 9, 4);
       }},
      {"no events, covering the next area: the search still goes into it", 3,
       [](ClickAreas& t) {
         t.Area(5, 0, 1, 0, 0, 42);
         t.Area(0, 0, 1, 9, 3);
         t.Area(6, 0, 1, 9, 2);
       }},
      {"a missed area skips what it covers", 2,
       [](ClickAreas& t) {
         t.Area(5, 3, 1, 9, 0, 38);
         t.Area(0, 0, 1, 9);
         t.Area(6, 0, 1, 9, 2);
       }},
      {"not kind 1", 0,
       [](ClickAreas& t) {
         t.Area(5, 0, 2, 9);
         t.End();
       }},
      {"off the ray", 0,
       [](ClickAreas& t) {
         t.Area(5, 3, 1, 9);
         t.End();
       }},
  };
  for (const auto& c : cases) {
    at_ = kList;
    c.build(*this);
    End();
    EXPECT_EQ(FindClickArea(Mouse.PickRay, kList), c.expected) << c.what;
  }
}

TEST_F(ClickAreas, ARayFromAWindowOfNoSizeFindsNothing) {
  Area(5, 0, 1, 9);
  End();
  double ray[6] = {};
  ComputePickRay(Record().data(), 0, 0, 0, 0, ray);
  EXPECT_EQ(FindClickArea(ray, kList), 0u);
}

TEST_F(ClickAreas, NestedListsCountFromTheLastAreasCentre) {
  // The nested list's area lies at z = 1 from its base: on the ray only when the
  // base is the preceding area's centre at z = 4.
  const HostAddress nested = kList + 0x800;
  at_ = nested;
  Area(1, 0, 1, 9, 2);
  End();
  at_ = kList;
  Call(nested);  // before any area: base 0, its area at z = 1 is on the ray too
  End();
  EXPECT_EQ(FindClickArea(Mouse.PickRay, kList), 2u);
  at_ = kList;
  Area(4, 3, 2, 0);  // an area off the ray whose centre moves the base sideways
  Call(nested);
  End();
  EXPECT_EQ(FindClickArea(Mouse.PickRay, kList), 0u);
  at_ = kList;
  Call(kList);  // a list that calls itself ends
  End();
  EXPECT_EQ(FindClickArea(Mouse.PickRay, kList), 0u);
}

class MouseLook : public testing::ModuleTest {
 protected:
  void Start(std::int32_t kind) {
    record_ = StartWithHost({simhost::ViewRecordSpec{.kind = kind, .eyeBase = {0, 1, 2}}})[0];
    testing::SetFlight({});
    testing::Poke(CockpitTick).clock.step = 0.0;
    DiscoverHostModules();
    UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
    testing::Switch(&CameraSettingsRecord::EnableWheelZoom, true);
  }
  int Move(int x, int y) {
    sim::SetCursorPosition(x, y);
    return OnMouseMove({.kind = InputKind::PointerMove});
  }
  int Wheel(double notches) { return OnMouseWheel({.kind = InputKind::Wheel, .notches = notches}); }
  HostAddress record_ = 0;
};

TEST_F(MouseLook, TurnsTheCockpitViewBySpotOrPilotRates) {
  Start(2);
  ToggleMouseLook();
  ZoomCockpitView(2.0);
  EXPECT_EQ(Move(500, 500), 1) << "the first move only anchors";
  const double heading = CockpitViewState.ViewAngles.heading, pitch = CockpitViewState.ViewAngles.pitch;
  Move(510, 520);
  EXPECT_NEAR(CockpitViewState.ViewAngles.heading - heading, 0.75, 1e-12);  // 10 px x 0.15 / 2
  EXPECT_NEAR(CockpitViewState.ViewAngles.pitch - pitch, 1.5, 1e-12);       // down is down
  EXPECT_EQ(CockpitViewState.TargetViewAngles.heading, CockpitViewState.ViewAngles.heading);
  // With the walking pilot on, its head turns and the cockpit view stays;
  // the mouse going down looks down.
  testing::Switch(&CameraSettingsRecord::ExternalViewActive, true);
  Move(530, 540);
  EXPECT_NEAR(WalkingPilot.PilotHeading, 1.5, 1e-12);
  EXPECT_NEAR(WalkingPilot.PilotHeadPitch, 1.5, 1e-12);
  EXPECT_NEAR(CockpitViewState.ViewAngles.heading - heading, 0.75, 1e-12);
  ToggleMouseLook();
  EXPECT_EQ(Mouse.LastCursorX, 0);
}

TEST_F(MouseLook, TheSpotViewTurnsByItsOwnRate) {
  Start(4);
  testing::Switch(&CameraSettingsRecord::UseMouseInSpot, true);
  ToggleMouseLook();
  ZoomCockpitView(2.0);
  Move(500, 500);
  const double heading = CockpitViewState.SpotHeading, pitch = CockpitViewState.SpotPitch;
  Move(510, 520);
  EXPECT_NEAR(CockpitViewState.SpotHeading - heading, 3.0, 1e-12);
  EXPECT_NEAR(CockpitViewState.SpotPitch - pitch, -6.0, 1e-12);  // down lowers the spot camera's pitch
}

// Dragged on past straight above, the spot camera stays there instead of
// going over the top and down the other side; dragged back, it comes back
// at once, and the same holds straight below.
TEST_F(MouseLook, TheSpotViewDraggedPastStraightUpOrDownStaysThere) {
  Start(4);
  testing::Switch(&CameraSettingsRecord::UseMouseInSpot, true);
  // The host's spot camera 20 m behind the aircraft, level with it.
  platform::WriteHost<std::int32_t>(record_ + view_record::kSpotHorizontal, 20 * 256);
  UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  ToggleMouseLook();
  Move(500, 500);
  const auto elevation = [this] {  // degrees above the aircraft, from the host's record
    return std::atan2(-platform::ReadHost<std::int32_t>(record_ + view_record::kSpotVertical),
                      platform::ReadHost<std::int32_t>(record_ + view_record::kSpotHorizontal)) *
           180 / M_PI;
  };
  const struct {
    int y;             // the pointer; 100 pixels are 30 degrees
    double elevation;  // degrees above the aircraft
  } steps[] = {{400, 30},    {300, 60},    {200, 89.9},   {100, 89.9},   {0, 89.9},    {100, 59.9},
               {500, -60.1}, {800, -89.9}, {1000, -89.9}, {1100, -89.9}, {1000, -59.9}};
  for (const auto& step : steps) {
    Move(500, step.y);
    EXPECT_NEAR(elevation(), step.elevation, 0.02) << "pointer at " << step.y;
  }
}

TEST_F(MouseLook, TheWheelZoomsWithinItsRange) {
  Start(2);
  const struct {
    double zoom;
    int notches;
    double expected;
  } cases[] = {{1.0, 1, 1.2}, {1.0, -1, 0.8}, {15.0, 1, 16.0}, {0.3, -1, 0.25}, {2.0, 2, 2.8}};
  for (const auto& c : cases) {
    ZoomCockpitView(c.zoom);
    EXPECT_EQ(Wheel(c.notches), 1);
    EXPECT_DOUBLE_EQ(CockpitViewState.Zoom, c.expected) << c.zoom << ' ' << c.notches;
    EXPECT_EQ(CockpitViewState.TargetZoom, CockpitViewState.Zoom);
  }
  testing::Switch(&CameraSettingsRecord::EnableWheelZoom, false);
  EXPECT_EQ(Wheel(1), 0) << "the simulator's wheel, and nothing changes";
  EXPECT_DOUBLE_EQ(CockpitViewState.Zoom, 2.8);
}

// The wheel zooms what the view shows: the cockpit, the spot camera when the
// mouse owns it, the walking pilot's view when it is on. Where it zooms
// nothing of the module's, the simulator has it.
TEST_F(MouseLook, TheWheelZoomsTheViewItIsTurnedIn) {
  const struct {
    const char* what;
    std::int32_t kind;
    std::int32_t mouseInSpot, pilot;
    int consumed;
    double cockpit, spot, pilotZoom;  // after one notch from 1.0 each
  } cases[] = {
      {"the virtual cockpit", 2, 0, 0, 1, 1.2, 1.0, 1.0},
      {"the spot view, the mouse owning it", 4, 1, 0, 1, 1.0, 1.2, 1.0},
      {"the spot view, the mouse not owning it", 4, 0, 0, 0, 1.0, 1.0, 1.0},
      {"the walking pilot", 1250, 0, 1, 1, 1.0, 1.0, 1.2},
      {"the pilot's view with the pilot off", 1250, 0, 0, 0, 1.0, 1.0, 1.0},
      {"the panel cockpit", 1, 1, 0, 0, 1.0, 1.0, 1.0},
  };
  for (const auto& c : cases) {
    testing::ResetModule();
    Start(c.kind);
    testing::Switch(&CameraSettingsRecord::UseMouseInSpot, c.mouseInSpot);
    CameraSettings.ExternalViewActive = c.pilot;  // in the view the case names
    ZoomCockpitView(1.0);
    ZoomSpotView(1.0);
    ZoomPilotView(1.0);
    EXPECT_EQ(Wheel(1), c.consumed) << c.what;
    EXPECT_DOUBLE_EQ(CockpitViewState.Zoom, c.cockpit) << c.what;
    EXPECT_DOUBLE_EQ(CockpitViewState.SpotZoom, c.spot) << c.what;
    EXPECT_DOUBLE_EQ(WalkingPilot.PilotZoom, c.pilotZoom) << c.what;
  }
}

TEST_F(MouseLook, CommandsAndTheMouseNeedAViewTheyBelongTo) {
  Start(1);  // the panel cockpit
  const KeyBinding forward = ParseBinding("PilotForward=NUMPAD_8");
  const KeyBinding look = ParseBinding("ToggleMouseLook=MOUSE_BUTTON_2");
  EXPECT_EQ(RunCommand(forward, false), 0);
  EXPECT_EQ(RunCommand(look, false), 0);
  EXPECT_EQ(MovementKeys.PilotForward + Mouse.MouseLookOn, 0);
  EXPECT_EQ(Move(10, 10), 0);
  testing::Switch(&CameraSettingsRecord::InternalViewActive, true);
  platform::WriteHost<std::int32_t>(record_ + 0x20, 4);  // the spot view
  EXPECT_EQ(RunCommand(forward, false), 1);
  EXPECT_EQ(RunCommand(look, false), 1);
  EXPECT_EQ(MovementKeys.PilotForward + Mouse.MouseLookOn, 2);
  EXPECT_EQ(RunCommand(ParseBinding("ButtonClickLeft=MOUSE_BUTTON_0"), false), 0) << "clicking is the host's";
}

// "External pilot view" in the menu, and TogglePilot bound to a key, switch
// the setting alike: the internal view comes on, and a view of another kind
// becomes the virtual cockpit that the pilot steps out of (and back into).
TEST_F(MouseLook, ThePilotViewIsSwitchedByTheMenuAndByTogglePilotAlike) {
  // As the host delivers them: the menu command to its main window, the key too.
  const struct {
    const char* what;
    std::uint32_t message;
    std::uintptr_t wParam;
  } cases[] = {{"the menu item", kCommand, kMenuExternalView}, {"TogglePilot", kKeyDown, 'P'}};
  for (const auto& c : cases) {
    testing::ResetModule();
    Start(4);  // the spot view
    testing::BindKeys({"TogglePilot=P"});
    testing::Switch(&CameraSettingsRecord::InternalViewActive, false);
    testing::Switch(&CameraSettingsRecord::ExternalViewActive, false);
    const sim::WindowHandle main = platform::FindTopLevelWindow("FS98MAIN");
    EXPECT_EQ(sim::TakeThroughHooks(main, c.message, c.wParam).message, 0u) << c.what << ": consumed";
    EXPECT_EQ(CameraSettings.ExternalViewActive, 1) << c.what;
    EXPECT_EQ(CameraSettings.InternalViewActive, 1) << c.what;
    EXPECT_EQ(platform::ReadHost<std::int32_t>(record_ + 0x20), 2) << c.what;
    sim::TakeThroughHooks(main, c.message, c.wParam);
    EXPECT_EQ(CameraSettings.ExternalViewActive, 0) << c.what;
  }
}

// Moving the pointer over a click area of the cockpit shows the hand and holds
// the head effects; moving it off shows the arrow again.
TEST_F(MouseLook, AMouseMoveOverAClickAreaIsMarked) {
  simhost::Scenario scenario;
  scenario.views = {simhost::ViewRecordSpec{.kind = 2}};  // the eye at the origin, looking ahead
  simhost::ClickAreaSpec area;
  area.centre[2] = 1.0;
  area.radius = 0.1;
  scenario.clickAreas = {area};
  simhost::SimulatedHostMemory memory;
  const auto layout = simhost::BuildHostMemory(scenario, memory);
  StartWithHostWindow();
  record_ = layout.viewRecords[0];
  const sim::WindowHandle view = sim::CreateHostWindow("FS98CHILD");
  sim::SetClientSize(view, 800, 600);
  testing::SetFlight({});
  DiscoverHostModules();
  const struct {
    int x, y;
    std::int32_t over;
    int pointer;  // the trace's codes: 0 arrow, 1 hand
  } moves[] = {{400, 300, 1, 1}, {0, 0, 0, 0}, {405, 298, 1, 1}};
  for (const auto& move : moves) {
    EXPECT_EQ(OnMouseMove({.kind = InputKind::PointerMove, .window = view, .x = move.x, .y = move.y}), 1);
    EXPECT_EQ(Mouse.CursorOverClickArea, move.over) << move.x << "," << move.y;
    EXPECT_EQ(sim::PointerShown(), move.pointer) << move.x << "," << move.y;
  }
}

}  // namespace
}  // namespace varolen
