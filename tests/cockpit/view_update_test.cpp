// The cockpit view update on host view records: take-over, eye keys,
// transitions, the spot camera and the write-back.
#include "cockpit/view_update.h"

#include <gtest/gtest.h>

#include <cmath>

#include "cockpit/body_motion.h"
#include "cockpit/cockpit_controller.h"
#include "cockpit/head_motion.h"
#include "cockpit/motion.h"
#include "cockpit/movement_keys.h"
#include "host/host_discovery.h"
#include "host/host_layout.h"
#include "host/settings.h"
#include "support/module_fixture.h"
#include "tracker/head_tracker.h"

namespace varolen {
namespace {

namespace field = view_record;
using simhost::ViewRecordSpec;

class ViewUpdate : public testing::ModuleTest {
 protected:
  // One host view record; the controller has found the host's blocks.
  HostAddress Start(const ViewRecordSpec& view) {
    record_ = StartWithHost({view})[0];
    testing::SetFlight({});
    DiscoverHostModules();
    testing::Poke(CockpitTick).clock.step = 0.1;
    return record_;
  }
  // A transition to `zoom`; the eye and the angles stay.
  static void ZoomByTransition(double zoom) {
    const CockpitViewRecord& view = CockpitViewState;
    MoveCockpitViewTo({view.TargetEyePosition, view.TargetViewAngles, zoom}, false, false);
  }
  template <typename Value>
  Value Host(std::uint32_t offset) {
    return platform::ReadHost<Value>(record_ + offset);
  }

  HostAddress record_ = 0;
};

TEST_F(ViewUpdate, ACockpitPanelViewIsLeftAlone) {
  Start({.kind = 1});
  const auto before = testing::HostRecord(record_);
  const CockpitViewUpdate update = UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  EXPECT_FALSE(update.processed);
  EXPECT_TRUE(update.inCockpit);
  EXPECT_EQ(testing::HostRecord(record_), before);
}

TEST_F(ViewUpdate, FirstUpdateRebuildsTheOrientationAndKeepsEyeAndZoom) {
  Start({.kind = 2,
         .eyeBase = {0.5, 1.0, 2.0},
         .eyeOffset = {-0.25, 0.125, 0.5},
         .zoom = 1.5,
         .pitch = 10,
         .heading = 20});
  platform::WriteHost<std::int32_t>(record_ + field::kDirectionStep, 1);  // looking 45 degrees further right
  EXPECT_TRUE(UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false).processed);
  EXPECT_EQ(Host<std::int16_t>(field::kEyeOffset), -64);
  EXPECT_EQ(Host<std::int16_t>(field::kEyeOffset + 4), 128);
  EXPECT_EQ(Host<std::int16_t>(field::kZoom), 96);
  EXPECT_EQ(Host<std::int32_t>(field::kDirectionStep), 0);
  EXPECT_NEAR(CockpitViewState.ViewAngles.heading, 65, 1e-4);
  EXPECT_NEAR(CockpitViewState.ViewAngles.pitch, 10, 1e-4);
  EXPECT_EQ(Host<std::int16_t>(field::kHeading),
            static_cast<std::int16_t>(std::trunc(CockpitViewState.ViewAngles.heading / 360 * 65536)));
  // The rebuilt matrix looks 65 degrees right and 10 down, with no bank.
  const double forward[3] = {Host<float>(field::kMatrix + 32), Host<float>(field::kMatrix + 36),
                             Host<float>(field::kMatrix + 40)};
  EXPECT_NEAR(std::atan2(forward[0], forward[2]) * 180 / M_PI, 65, 1e-4);
  EXPECT_NEAR(-std::asin(forward[1]) * 180 / M_PI, 10, 1e-4);
  EXPECT_NEAR(Host<float>(field::kMatrix + 4), 0.0, 1e-6);
  // Nothing moves: the next updates write the same record.
  const auto written = testing::HostRecord(record_);
  for (int tick = 0; tick < 3; ++tick) UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  EXPECT_EQ(testing::HostRecord(record_), written);
}

TEST_F(ViewUpdate, HostChangesAreTakenOverAndStopATransition) {
  Start({.kind = 2, .eyeBase = {0, 1, 2}});
  UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  const CockpitViewRecord& view = CockpitViewState;
  MoveCockpitViewTo({{0, 1, 3}, view.TargetViewAngles, view.TargetZoom}, false,
                    false);  // under way towards z = 3
  EXPECT_GT(CockpitViewState.EyePosition.z, 2.0);
  platform::WriteHost<std::int16_t>(record_ + field::kEyeOffset, 128);  // the host moves the eye 0.5 right
  UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  EXPECT_EQ(CockpitViewState.EyePosition.x, 0.5);
  EXPECT_EQ(CockpitViewState.TargetEyePosition.z, CockpitViewState.EyePosition.z);
  const double stopped = CockpitViewState.EyePosition.z;
  UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  EXPECT_EQ(CockpitViewState.EyePosition.z, stopped);
}

// Eye, angles (the short way across north) and zoom arrive together, in half
// a second as shipped or in the binding file's transition time.
TEST_F(ViewUpdate, TransitionsArriveTogetherInTheTransitionsTime) {
  for (const double seconds : {0.5, 2.0}) {
    Start({.kind = 2, .eyeBase = {0, 1, 2}, .zoom = 1.0, .heading = 350});
    if (seconds != 0.5) testing::SetMotion("TransitionSeconds", seconds);
    UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
    testing::Poke(CockpitTick).clock.step = 0.05;
    MoveCockpitViewTo({{0.5, 1, 2}, {0, 10, 0}, 2.0}, false, false);  // the first step of 0.05 s at once
    const int steps = static_cast<int>(std::lround(seconds / 0.05));
    for (int tick = 0; tick < steps - 2; ++tick)
      UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
    EXPECT_NEAR(std::fmod(CockpitViewState.ViewAngles.heading + 360.0, 360.0),
                10.0 - 20.0 / static_cast<double>(steps), 1e-6)
        << "one step to go after " << seconds - 0.05 << " s";
    // The last step; the sum of many may fall a rounding short of it, which
    // the next one makes up.
    UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
    UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
    EXPECT_EQ(CockpitViewState.Zoom, 2.0);
    EXPECT_NEAR(CockpitViewState.EyePosition.x, 0.5, 1e-12);
    EXPECT_NEAR(std::fmod(CockpitViewState.ViewAngles.heading, 360.0), 10, 1e-9);
    EXPECT_EQ(Host<std::int16_t>(field::kZoom), 128);
  }
}

TEST_F(ViewUpdate, TheSpotViewIsOnlyTakenWhenTheMouseOwnsIt) {
  Start({.kind = 4});
  platform::WriteHost<std::int32_t>(record_ + field::kSpotHorizontal, 2560);
  platform::WriteHost<std::int32_t>(record_ + field::kSpotVertical, 512);
  const auto before = testing::HostRecord(record_);
  for (int tick = 0; tick < 3; ++tick)
    EXPECT_TRUE(UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false).processed);
  EXPECT_EQ(testing::HostRecord(record_), before);

  testing::Switch(&CameraSettingsRecord::UseMouseInSpot, true);
  platform::WriteHost<std::int16_t>(record_ + field::kSpotHeading, 1);  // a newly seen spot record
  UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  EXPECT_NEAR(CockpitViewState.SpotDistance, 10.198039, 1e-6);
  EXPECT_NEAR(CockpitViewState.SpotPitch, -11.309932, 1e-6);
  for (int tick = 0; tick < 2; ++tick) {
    EXPECT_EQ(Host<std::int32_t>(field::kSpotHorizontal), 2560);
    EXPECT_EQ(Host<std::int32_t>(field::kSpotVertical), 511);  // 511.9999999999, truncated
    UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  }
  // A spot distance beyond what 16 bits hold keeps its value.
  testing::Poke(CockpitViewState).SpotDistance = 200;
  TurnSpotView(0.0, -CockpitViewState.SpotPitch);
  UpdateCockpitView(CockpitTick, testing::Snapshot(), false, false);
  EXPECT_EQ(Host<std::int32_t>(field::kSpotHorizontal), 51200);
}

// Updates outside the frame's tick (a transition, mouse look, the wheel) and
// ticks with a movement key held do not take the record over first: they may
// write back only a copy the module took from this very record.
TEST_F(ViewUpdate, OnlyACopyOfTheSameRecordIsWrittenBack) {
  const struct {
    const char* what;
    std::int32_t kindBefore;  // the current record's kind at the first tick
    bool secondRecord;        // the copy was taken from another cockpit view
    bool keyHeld;             // the update is a tick with a movement key held
  } cases[] = {
      {"the wheel right after the panel view became the virtual cockpit", 1, false, false},
      {"a tick with a key latched before any take-over", 1, false, true},
      {"the wheel after another cockpit view became current", 2, true, false},
      {"a held key after another cockpit view became current", 2, true, true},
  };
  for (const auto& c : cases) {
    testing::ResetModule();
    const auto records = StartWithHost({{.kind = c.kindBefore, .eyeBase = {0, 1, 2}, .zoom = 1.0},
                                        {.kind = 2, .eyeBase = {0.5, 0.75, 1.5}, .zoom = 1.0}});
    testing::SetFlight({});
    DiscoverHostModules();
    testing::Poke(CockpitTick).clock.step = 0.1;
    // Takes the first record if it is a virtual cockpit.
    UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
    // The second record is the first as the module wrote it, but for its base
    // eye, which the change detection does not compare.
    if (c.secondRecord) {
      testing::WriteHostRecord(records[1], testing::HostRecord(records[0]));
      const std::int16_t base[3] = {128, 192, 384};  // (0.5, 0.75, 1.5)
      platform::WriteHostBytes(records[1] + field::kBaseEye, base, sizeof base);
    }
    // The host makes a virtual cockpit current: the first record, or the second.
    const HostAddress current = c.secondRecord ? records[1] : records[0];
    if (c.secondRecord) platform::WriteHost<std::int32_t>(records[0] + field::kKind, 0);
    platform::WriteHost<std::int32_t>(current + field::kKind, 2);
    const auto before = testing::HostRecord(current);
    testing::Poke(MovementKeys).PilotForward = c.keyHeld;
    ZoomCockpitView(4.0);
    UpdateCockpitView(CockpitTick, testing::Snapshot(), c.keyHeld, false);
    EXPECT_EQ(testing::HostRecord(current), before) << c.what;
    // The next tick takes the record over and from then on writes it.
    testing::Poke(MovementKeys).PilotForward = 0;
    UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
    EXPECT_EQ(platform::ReadHost<std::int32_t>(current + field::kKind), 2) << c.what;
    EXPECT_EQ(CockpitViewState.Zoom, 1.0) << c.what << ": the host's zoom taken over";
    EXPECT_EQ(CockpitViewState.EyePosition.z, c.secondRecord ? 1.5 : 2.0)
        << c.what << ": the host's eye taken over";
  }
}

// The host moves only the base eye: the eye words written with the old base
// must still put the host's eye where the module holds it.
TEST_F(ViewUpdate, EyeOffsetsAreWrittenAgainstTheBaseWrittenWithThem) {
  Start({.kind = 2, .eyeBase = {0.25, 1, 2}, .zoom = 1.0});
  UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  ASSERT_EQ(CockpitViewState.EyePosition.z, 2.0);
  platform::WriteHost<std::int16_t>(record_ + field::kBaseEye + 4, 768);  // 3.0: not a change the module sees
  UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  for (std::uint32_t axis = 0; axis < 3; ++axis) {
    const double eye =
        (Host<std::int16_t>(field::kBaseEye + 2 * axis) + Host<std::int16_t>(field::kEyeOffset + 2 * axis)) /
        256.0;
    const double held[3] = {CockpitViewState.EyePosition.x, CockpitViewState.EyePosition.y,
                            CockpitViewState.EyePosition.z};
    EXPECT_EQ(eye, held[axis]) << "axis " << axis;
  }
}

// What the body feels moves the eye the module writes, by the share of the
// effects that has not yielded to the pilot's look; a change of the host's
// is then taken over without it, so that it never enters the module's eye.
TEST_F(ViewUpdate, TheBodysMoveGoesIntoTheEyeAsItYields) {
  const struct {
    double shown;  // of the effects, by YieldToLook
    double eyeY;   // eye units above the module's eye
  } cases[] = {{1.0, -0.04}, {0.25, -0.01}, {0.0, 0.0}};
  for (const auto& c : cases) {
    testing::ResetModule();
    Start({.kind = 2, .eyeBase = {0, 1, 2}, .zoom = 1.0});
    UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
    testing::SetMotion("LoadFactor", 1.0);
    testing::SetMotion("YieldToLook", 1.0);
    testing::Poke(Motion).effectsShown = c.shown;
    testing::Poke(BodyMotion).eye.y = -0.04;
    UpdateCockpitView(CockpitTick, testing::Snapshot(), false, false);
    const double written =
        (Host<std::int16_t>(field::kBaseEye + 2) + Host<std::int16_t>(field::kEyeOffset + 2)) / 256.0;
    EXPECT_NEAR(written - CockpitViewState.EyePosition.y, c.eyeY, 1.0 / 256) << c.shown;
    platform::WriteHost<std::int16_t>(record_ + field::kZoom, 2 * 64);  // the host zooms: taken over
    UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
    EXPECT_NEAR(CockpitViewState.EyePosition.y, 1.0, 1.0 / 256) << c.shown << ": the body's move taken out";
  }
}

TEST_F(ViewUpdate, AMatrixThatIsNoNumbersIsNotTakenOver) {
  Start({.kind = 2, .eyeBase = {0, 1, 2}, .zoom = 1.0, .heading = 20});
  UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  platform::WriteHost<float>(record_ + field::kMatrix + 4, std::nanf(""));
  platform::WriteHost<std::int16_t>(record_ + field::kZoom, 128);  // and a change the module follows
  for (int tick = 0; tick < 3; ++tick) UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  EXPECT_NEAR(CockpitViewState.ViewAngles.heading, 20, 1e-4);
  EXPECT_EQ(CockpitViewState.Zoom, 2.0);
  for (std::uint32_t element = 0; element < 12; ++element) {
    if (element % 4 == 3) continue;  // the rows' fourth floats are the host's
    EXPECT_TRUE(std::isfinite(Host<float>(field::kMatrix + 4 * element))) << "element " << element;
  }
  // A host that keeps its matrix broken does not stop the module's own moves:
  // a transition to zoom 4 arrives after 0.5 s as ever.
  ZoomByTransition(4.0);
  for (int tick = 0; tick < 5; ++tick) {
    platform::WriteHost<float>(record_ + field::kMatrix + 4, std::nanf(""));
    UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  }
  EXPECT_EQ(CockpitViewState.Zoom, 4.0);
  // A sound matrix from the host is followed again: looking 50 degrees right.
  const double h = 50 * M_PI / 180;
  const float rows[3][3] = {{static_cast<float>(std::cos(h)), 0, static_cast<float>(-std::sin(h))},
                            {0, 1, 0},
                            {static_cast<float>(std::sin(h)), 0, static_cast<float>(std::cos(h))}};
  for (std::uint32_t row = 0; row < 3; ++row) {
    for (std::uint32_t column = 0; column < 3; ++column)
      platform::WriteHost<float>(record_ + field::kMatrix + 16 * row + 4 * column, rows[row][column]);
  }
  UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  EXPECT_NEAR(CockpitViewState.ViewAngles.heading, 50, 1e-4);
}

// The change detection: a change to any field the host or the user changes
// stops a running transition (the module takes the record over); a change to
// fields that are the host's alone does not. Held keys turn detection off.
TEST_F(ViewUpdate, ChangesOfTheComparedFieldsAreTakenOver) {
  const struct {
    const char* what;
    std::uint32_t offset;
    std::uint32_t size;
    std::uint32_t value;
    bool takenOver;
  } cases[] = {
      {"the kind, to the spot view", field::kKind, 4, 4, true},
      {"the eye offset x", field::kEyeOffset, 2, 7, true},
      {"the eye offset y", field::kEyeOffset + 2, 2, 7, true},
      {"the eye offset z", field::kEyeOffset + 4, 2, 7, true},
      {"the zoom", field::kZoom, 2, 80, true},
      {"the matrix, first row", field::kMatrix + 4, 4, 0x3E000000, true},
      {"the matrix, second row", field::kMatrix + 16, 4, 0x3E000000, true},
      {"the matrix, third row", field::kMatrix + 40, 4, 0x3F000000, true},
      {"the spot heading", field::kSpotHeading, 2, 1000, true},
      {"the spot's horizontal offset", field::kSpotHorizontal, 4, 2560, true},
      {"the spot's vertical offset", field::kSpotVertical, 4, 512, true},
      {"the outside zoom", field::kOutsideZoom, 2, 128, true},
      {"byte 68", field::kHostBytes, 1, 5, true},
      {"byte 69", field::kHostBytes + 1, 1, 5, true},
      {"a matrix zero turned to -0", field::kMatrix + 4, 4, 0x80000000, false},
      {"the base eye", field::kBaseEye, 2, 300, false},
      {"the heading word", field::kHeading, 2, 5000, false},
      {"the host's value at 40", field::kHostValue, 4, 77, false},
      {"byte 70", field::kHostBytes + 2, 1, 5, false},
  };
  for (const auto& c : cases) {
    testing::ResetModule();
    Start({.kind = 2, .eyeBase = {0, 1, 2}, .zoom = 1.0});
    UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
    ZoomByTransition(3.0);
    platform::WriteHostBytes(record_ + c.offset, &c.value, c.size);
    UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
    EXPECT_EQ(CockpitViewState.TargetZoom != 3.0, c.takenOver) << c.what;
  }
}

TEST_F(ViewUpdate, DetectionRestsWhileAKeyIsHeldAndTheHostsValueAt40IsKept) {
  Start({.kind = 2, .eyeBase = {0, 1, 2}, .zoom = 1.0});
  UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  ZoomByTransition(3.0);
  testing::Poke(MovementKeys).PilotHeadRight = 1;
  platform::WriteHost<std::int16_t>(record_ + field::kZoom, 80);
  platform::WriteHost<std::uint32_t>(record_ + field::kHostValue, 0xABCD);
  UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  EXPECT_EQ(CockpitViewState.TargetZoom, 3.0) << "not taken over while the key is held";
  EXPECT_EQ(Host<std::uint32_t>(field::kHostValue), 0xABCDu) << "the host's value survives the write";
  EXPECT_EQ(Host<std::int16_t>(field::kZoom), static_cast<std::int16_t>(CockpitViewState.Zoom * 64));
}

// Each key moves the eye or turns the head its own way; the eye moves along
// the view's heading (here 90: forward is east, right is south).
TEST_F(ViewUpdate, EveryKeyMovesItsOwnWay) {
  const struct {
    bool MovementKeysRecord::*key;
    Vec3 eye;        // change after one tick of 0.1 s
    double heading;  // change, degrees
    double pitch;
  } cases[] = {
      {&MovementKeysRecord::PilotForward, {0.1, 0, 0}, 0, 0},
      {&MovementKeysRecord::PilotBackward, {-0.1, 0, 0}, 0, 0},
      {&MovementKeysRecord::PilotStepRight, {0, 0, -0.1}, 0, 0},
      {&MovementKeysRecord::PilotStepLeft, {0, 0, 0.1}, 0, 0},
      {&MovementKeysRecord::PilotUp, {0, 0.1, 0}, 0, 0},
      {&MovementKeysRecord::PilotDown, {0, -0.1, 0}, 0, 0},
      {&MovementKeysRecord::PilotHeadRight, {0, 0, 0}, 3.5, 0},
      {&MovementKeysRecord::PilotHeadLeft, {0, 0, 0}, -3.5, 0},
      {&MovementKeysRecord::PilotHeadUp, {0, 0, 0}, 0, -3.5},
      {&MovementKeysRecord::PilotHeadDown, {0, 0, 0}, 0, 3.5},
  };
  for (const auto& c : cases) {
    testing::ResetModule();
    Start({.kind = 2, .eyeBase = {0, 1, 2}, .zoom = 1.0});
    UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
    TurnCockpitView(90.0, 0.0);
    const Vec3 eye = CockpitViewState.EyePosition;
    const Angles angles = CockpitViewState.ViewAngles;
    testing::Poke(MovementKeys).*c.key = 1;
    UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
    // The module's 90 degrees are a hair off a right angle: 1e-11 aside.
    EXPECT_NEAR(CockpitViewState.EyePosition.x - eye.x, c.eye.x, 1e-9);
    EXPECT_NEAR(CockpitViewState.EyePosition.y - eye.y, c.eye.y, 1e-9);
    EXPECT_NEAR(CockpitViewState.EyePosition.z - eye.z, c.eye.z, 1e-9);
    EXPECT_NEAR(CockpitViewState.ViewAngles.heading - angles.heading, c.heading, 1e-12);
    EXPECT_NEAR(CockpitViewState.ViewAngles.pitch - angles.pitch, c.pitch, 1e-12);
  }
}

// The written matrix is RotationZ(bank) x RotationX(pitch) x RotationY(heading):
// looking 90 degrees right with the head tilted 30 degrees.
TEST_F(ViewUpdate, TheWrittenMatrixBanksAboutTheViewingAxis) {
  Start({.kind = 2, .eyeBase = {0, 1, 2}, .zoom = 1.0});
  UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  MoveCockpitViewTo({CockpitViewState.EyePosition, {0, 90, 30}, CockpitViewState.Zoom}, true, false);
  UpdateCockpitView(CockpitTick, testing::Snapshot(), false, false);
  const double b = 30 * M_PI / 180;
  const double rows[3][3] = {{0, std::sin(b), -std::cos(b)}, {0, std::cos(b), std::sin(b)}, {1, 0, 0}};
  for (std::uint32_t row = 0; row < 3; ++row) {
    for (std::uint32_t column = 0; column < 3; ++column) {
      EXPECT_NEAR(Host<float>(field::kMatrix + 16 * row + 4 * column), rows[row][column], 1e-6)
          << "row " << row << " column " << column;
    }
  }
}

// However keys, head motion and the tracked head add up, the view pitches at
// most 89.9 degrees: it never looks over the top, where its heading would flip
// round, and a key held a long time down comes back up at once.
TEST_F(ViewUpdate, ThePitchNeverPassesStraightUpOrDown) {
  const auto pitch = [this] { return -std::asin(Host<float>(field::kMatrix + 32 + 4)) * 180 / M_PI; };
  const auto heading = [this] {
    return std::atan2(Host<float>(field::kMatrix + 32), Host<float>(field::kMatrix + 32 + 8)) * 180 / M_PI;
  };
  const struct {
    const char* what;
    bool MovementKeysRecord::*key;  // held for 30 s, then the other way for 1 s
    bool MovementKeysRecord::*back;
    double viewPitch, latency, head;  // degrees down
    double heldPitch, afterPitch;
  } cases[] = {
      {"head down key", &MovementKeysRecord::PilotHeadDown, &MovementKeysRecord::PilotHeadUp, 0, 0, 0, 89.9,
       89.9 - 35},
      {"head up key", &MovementKeysRecord::PilotHeadUp, &MovementKeysRecord::PilotHeadDown, 0, 0, 0, -89.9,
       -89.9 + 35},
      {"latency on a steep view", nullptr, nullptr, 85, 15, 0, 89.9, 89.9},
      {"tracked head on a steep view", nullptr, nullptr, -80, 0, -30, -89.9, -89.9},
  };
  for (const auto& c : cases) {
    testing::ResetModule();
    Start({.kind = 2, .eyeBase = {0, 1, 2}, .zoom = 1.0, .heading = 40});
    UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
    TurnCockpitView(0.0, c.viewPitch);
    UpdateCockpitView(CockpitTick, testing::Snapshot(), false, false);
    const double headingBefore = heading();
    testing::Poke(HeadMotion).LatencyOffset.pitch = c.latency;
    HeadTracker.applied.pitch = c.head;
    // A key for 30 s; the latency (decaying as it shows) for one frame.
    for (int tick = 0; tick < (c.key != nullptr ? 300 : 1); ++tick) {
      if (c.key != nullptr) testing::Poke(MovementKeys).*c.key = 1;
      UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
    }
    EXPECT_NEAR(pitch(), c.heldPitch, 1e-3) << c.what;
    EXPECT_NEAR(heading(), headingBefore, 0.1) << c.what << ": no flip over the top";
    if (c.key == nullptr) continue;
    testing::Poke(MovementKeys).*c.key = 0;
    for (int tick = 0; tick < 10; ++tick) {
      testing::Poke(MovementKeys).*c.back = 1;
      UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
    }
    EXPECT_NEAR(pitch(), c.afterPitch, 1e-3) << c.what;
  }
}

// While the pointer rests on a click area the head motion holds still: the
// latency neither decays nor grows, and no jolt is drawn.
TEST_F(ViewUpdate, TheHeadMotionHoldsWhileThePointerRestsOnAClickArea) {
  Start({.kind = 2, .eyeBase = {0, 1, 2}});
  UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  testing::SetFlight({.pitch = 9});  // the aircraft has pitched since the last update
  testing::Poke(HeadMotion).LatencyOffset = {5, 5, 5};
  testing::Poke(HeadMotion).TurbTimer = 0;
  UpdateCockpitView(CockpitTick, testing::Snapshot(), true, true);
  EXPECT_EQ(HeadMotion.LatencyOffset.pitch, 5);
  EXPECT_EQ(HeadMotion.TurbTimer, 0);
  UpdateCockpitView(CockpitTick, testing::Snapshot(), true, false);
  EXPECT_NE(HeadMotion.LatencyOffset.pitch, 5);
  EXPECT_GT(HeadMotion.TurbTimer, 0);
}

}  // namespace
}  // namespace varolen
