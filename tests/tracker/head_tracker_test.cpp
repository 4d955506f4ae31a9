// Head tracking: the pose a tracker writes into its block becomes an offset of
// the cockpit view, with the tracker's signs and units, eased when it stops
// and when it comes back; bad blocks change nothing.
#include "tracker/head_tracker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "cockpit/cockpit_controller.h"
#include "cockpit/host_view.h"
#include "host/host_layout.h"
#include "platform/host_memory.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

namespace field = view_record;

// A pose as a tracker writes it: degrees (yaw and roll positive left, pitch
// positive up) and millimetres (x right, y up, z back).
struct Pose {
  double yaw = 0, pitch = 0, roll = 0, x = 0, y = 0, z = 0;
};

class HeadTracking : public testing::ModuleTest {
 protected:
  // A virtual cockpit looking 30 degrees right, the eye at (0, 1, 2).
  void Start(bool tracker = true) {
    record_ = StartWithHost({{.kind = 2, .eyeBase = {0, 1, 2}, .zoom = 1.0, .heading = 30}})[0];
    testing::SetFlight({});
    CockpitController.HeadTrackerOn = 1;
    if (tracker) sim::StartHeadTracker();
    Tick();
  }
  // A tracker's store of a new pose, field by field, then its id.
  void Write(const Pose& pose, std::uint32_t id) {
    const float fields[6] = {static_cast<float>(pose.yaw * M_PI / 180),
                             static_cast<float>(pose.pitch * M_PI / 180),
                             static_cast<float>(pose.roll * M_PI / 180),
                             static_cast<float>(pose.x),
                             static_cast<float>(pose.y),
                             static_cast<float>(pose.z)};
    for (std::uint32_t index = 0; index < 6; ++index) {
      std::uint32_t word;
      std::memcpy(&word, &fields[index], 4);
      sim::WriteHeadTrackerWord(12 + 4 * index, word);
    }
    sim::WriteHeadTrackerWord(0, id);
  }
  // Frames of 50 ms; with a pose, a tracker writes it anew before each.
  void Tick(int frames = 1, const Pose* pose = nullptr) {
    for (int frame = 0; frame < frames; ++frame) {
      if (pose != nullptr) Write(*pose, ++id_);
      clock_ += 50;
      sim::SetClock(clock_);
      TickCockpitController(CockpitController);
    }
  }
  // The view's heading and pitch as the host's record shows them (the forward
  // row), its bank (the right row's rise), and its eye.
  double Heading() { return std::atan2(Row(2, 0), Row(2, 2)) * 180 / M_PI; }
  double Pitch() { return -std::asin(Row(2, 1)) * 180 / M_PI; }
  double Bank() { return std::atan2(Row(0, 1), Row(1, 1)) * 180 / M_PI; }
  double Eye(std::uint32_t axis) {
    return (platform::ReadHost<std::int16_t>(record_ + field::kBaseEye + 2 * axis) +
            platform::ReadHost<std::int16_t>(record_ + field::kEyeOffset + 2 * axis)) /
           256.0;
  }
  double Row(std::uint32_t row, std::uint32_t column) {
    return platform::ReadHost<float>(record_ + field::kMatrix + 16 * row + 4 * column);
  }

  HostAddress record_ = 0;
  std::uint32_t clock_ = 100000;
  std::uint32_t id_ = 1;
};

// Each axis as the pilot moves it, on top of a view already turned 30 degrees
// right: the difference the head makes is the head's move.
TEST_F(HeadTracking, EachAxisMovesTheViewAsTheHeadMoves) {
  const struct {
    const char* what;
    Pose pose;
    double heading, pitch, bank;  // degrees the view moves: right, down, tilted left
    double x, y, z;               // the eye's move, eye units (metres) in the cockpit
  } cases[] = {
      {"the head turned 10 left", {.yaw = 10}, -10, 0, 0, 0, 0, 0},
      {"looking 5 up", {.pitch = 5}, 0, -5, 0, 0, 0, 0},
      {"tilted 15 left", {.roll = 15}, 0, 0, 15, 0, 0, 0},
      {"100 mm right (the view looks 30 right)",
       {.x = 100},
       0,
       0,
       0,
       0.1 * std::cos(M_PI / 6),
       0,
       -0.1 * std::sin(M_PI / 6)},
      {"50 mm up", {.y = 50}, 0, 0, 0, 0, 0.05, 0},
      {"120 mm forward", {.z = -120}, 0, 0, 0, 0.12 * std::sin(M_PI / 6), 0, 0.12 * std::cos(M_PI / 6)},
      {"forward while looking 60 left: towards what the eyes see",
       {.yaw = 60, .z = -120},
       -60,
       0,
       0,
       -0.12 * std::sin(M_PI / 6),
       0,
       0.12 * std::cos(M_PI / 6)},
  };
  for (const auto& c : cases) {
    testing::ResetModule();
    Start();
    Tick(10, &c.pose);
    const double heading = Heading(), pitch = Pitch(), bank = Bank();
    const double eye[3] = {Eye(0), Eye(1), Eye(2)};
    const Angles angles = CockpitController.ViewAngles;
    const Pose still;
    Tick(10, &still);
    EXPECT_NEAR(heading - Heading(), c.heading, 1e-3) << c.what;
    EXPECT_NEAR(pitch - Pitch(), c.pitch, 1e-3) << c.what;
    EXPECT_NEAR(bank - Bank(), c.bank, 1e-3) << c.what;
    const double moved[3] = {c.x, c.y, c.z};
    for (std::uint32_t axis = 0; axis < 3; ++axis)
      EXPECT_NEAR(eye[axis] - Eye(axis), moved[axis], 1.0 / 256 + 1e-9) << c.what << ", axis " << axis;
    EXPECT_EQ(CockpitController.ViewAngles.heading, angles.heading) << c.what << ": never in the view angles";
    EXPECT_EQ(CockpitController.TargetViewAngles.pitch, angles.pitch) << c.what;
  }
}

// A tracker that stops giving poses (crashed, or stopped) is let go over half
// a second, without a jump; when it comes back it eases in over 0.2 s.
TEST_F(HeadTracking, AStaleTrackerEasesOutAndABackOneEasesIn) {
  Start();
  const Pose turned{.yaw = -20};  // 20 right
  Tick(10, &turned);
  ASSERT_EQ(HeadTracker.state, TrackerState::Live);
  ASSERT_NEAR(HeadTracker.applied.heading, 20, 1e-4);
  // Frozen: no new pose. Live for 0.5 s more, then eased to zero in 0.5 s.
  double last = HeadTracker.applied.heading;
  int frames = 0;
  while (HeadTracker.applied.heading > 0.0 && frames < 100) {
    Tick();
    ++frames;
    EXPECT_LE(last - HeadTracker.applied.heading, 20 * 0.05 / 0.5 + 1e-9) << "no jump, frame " << frames;
    last = HeadTracker.applied.heading;
  }
  EXPECT_EQ(HeadTracker.state, TrackerState::Stale);
  EXPECT_EQ(frames, 20) << "0.5 s still live, then 0.5 s of easing, in frames of 50 ms";
  // Back half-way through a second easing: from where it is to the pose in 0.2 s.
  Tick(10, &turned);
  for (int frame = 0; frame < 15; ++frame) Tick();  // 0.25 s of the 0.5 s ease out
  const double from = HeadTracker.applied.heading;
  ASSERT_NEAR(from, 10, 1e-6);
  const Pose further{.yaw = -30};
  Tick(1, &further);
  EXPECT_NEAR(HeadTracker.applied.heading, from, 1e-6) << "no jump as it comes back";
  Tick(1, &further);
  EXPECT_NEAR(HeadTracker.applied.heading, from + (30 - from) * 0.25, 1e-6);
  Tick(3, &further);
  EXPECT_NEAR(HeadTracker.applied.heading, 30, 1e-6);
}

TEST_F(HeadTracking, WithoutATrackerTheBlockIsLookedForOnceASecond) {
  Start(false);
  for (int frame = 0; frame < 60; ++frame) Tick();  // 3 s
  EXPECT_EQ(HeadTracker.state, TrackerState::Absent);
  EXPECT_LE(sim::HeadTrackerOpenAttempts(), 4);
  EXPECT_GE(sim::HeadTrackerOpenAttempts(), 3);
  // A tracker that starts is found within the second, its poses used.
  sim::StartHeadTracker();
  const Pose up{.pitch = 10};
  Tick(30, &up);
  EXPECT_EQ(HeadTracker.state, TrackerState::Live);
  EXPECT_NEAR(HeadTracker.applied.pitch, -10, 1e-4);
  // A block too small for the protocol is no tracker.
  testing::ResetModule();
  sim::StartHeadTracker(64);
  Start(false);
  Tick(40);
  EXPECT_EQ(HeadTracker.state, TrackerState::Absent);
}

TEST_F(HeadTracking, TheCentreCommandMakesThePresentPoseStraightAhead) {
  Start();
  const Pose turned{.yaw = 20, .x = 50};
  Tick(10, &turned);
  CentreHeadTracker();
  Tick(1, &turned);
  EXPECT_NEAR(HeadTracker.applied.heading, 0, 1e-9);
  EXPECT_NEAR(HeadTracker.applied.x, 0, 1e-9);
  const Pose further{.yaw = 25, .x = 50};
  Tick(1, &further);
  EXPECT_NEAR(HeadTracker.applied.heading, -5, 1e-4);
  // Until the tracker goes absent.
  CloseHeadTracker();
  sim::StartHeadTracker();
  Tick(25, &further);
  EXPECT_NEAR(HeadTracker.applied.heading, -25, 1e-4);
}

TEST_F(HeadTracking, BadPosesChangeNothing) {
  Start();
  const Pose good{.yaw = 10, .z = -50};
  Tick(10, &good);
  const TrackerOffset held = HeadTracker.applied;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const Pose bad[] = {{.yaw = nan},   {.pitch = std::numeric_limits<double>::infinity()},
                      {.yaw = 200},   {.pitch = 95},
                      {.roll = -181}, {.x = 1001},
                      {.z = -5000}};
  for (const Pose& pose : bad) {
    Tick(1, &pose);
    EXPECT_EQ(HeadTracker.applied.heading, held.heading);
    EXPECT_EQ(HeadTracker.applied.z, held.z);
    EXPECT_TRUE(std::isfinite(Heading()));
  }
  // An id that goes back is news all the same; one that stands still is not.
  Write({.yaw = 5}, 3);
  Tick();
  EXPECT_NEAR(HeadTracker.applied.heading, -5, 1e-4);
  Write({.yaw = 40}, 3);
  Tick();
  EXPECT_NEAR(HeadTracker.applied.heading, -5, 1e-4) << "a changing pose with the same id";
}

// The tracker writes a new pose while the module copies one: the module sees
// the id change and copies the pose again, whole.
TEST_F(HeadTracking, APoseWrittenDuringTheReadIsReadAgain) {
  Start();
  const Pose first{.yaw = 10, .pitch = 10};
  Tick(10, &first);
  Write({.yaw = 20, .pitch = 20}, ++id_);
  const float second = static_cast<float>(30 * M_PI / 180);
  std::uint32_t word;
  std::memcpy(&word, &second, 4);
  // After the id and the yaw are read: a new yaw and pitch, then a new id.
  sim::WriteHeadTrackerDuringRead(1, {{12, word}, {16, word}, {0, ++id_}});
  clock_ += 50;
  sim::SetClock(clock_);
  TickCockpitController(CockpitController);
  EXPECT_NEAR(HeadTracker.pose.yaw, 30, 1e-4);
  EXPECT_NEAR(HeadTracker.pose.pitch, 30, 1e-4) << "one pose, not halves of two";
}

TEST_F(HeadTracking, TheSettingOffEasesTheHeadOut) {
  Start();
  const Pose turned{.yaw = -20};
  Tick(10, &turned);
  CockpitController.HeadTrackerOn = 0;
  Tick(6, &turned);
  EXPECT_NEAR(HeadTracker.applied.heading, 10, 1e-6) << "half-way 0.25 s after it went off";
  Tick(5, &turned);
  EXPECT_EQ(HeadTracker.applied.heading, 0.0);
}

// The host's own change to the view is taken over; the head's part of what
// the module wrote is not mistaken for one.
TEST_F(HeadTracking, AHostChangeIsTakenOverWithoutTheHead) {
  Start();
  const Pose turned{.yaw = 10, .pitch = 5, .roll = 8, .x = 100};
  Tick(10, &turned);
  const Point3 eye = CockpitController.EyePosition;
  platform::WriteHost<std::int16_t>(record_ + field::kZoom, 128);  // the user zooms with the host's keys
  Tick(1, &turned);
  EXPECT_EQ(CockpitController.Zoom, 2.0) << "taken over";
  EXPECT_NEAR(CockpitController.ViewAngles.heading, 30, 1e-4);
  EXPECT_NEAR(CockpitController.ViewAngles.pitch, 0, 1e-4);
  EXPECT_NEAR(CockpitController.ViewAngles.bank, 0, 1e-4);
  EXPECT_NEAR(CockpitController.EyePosition.x, eye.x, 1.0 / 256);
  EXPECT_NEAR(CockpitController.EyePosition.z, eye.z, 1.0 / 256);
}

// The walking pilot's head turns with the pilot's own, beyond the 60 degrees
// the keys stop at.
TEST_F(HeadTracking, ThePilotsHeadTurnsWithTheTrackedHead) {
  Start();
  CockpitController.PilotActive = 1;
  Tick();
  CockpitController.PilotHeadPitch = 60;  // as far down as the keys go
  const double heading = CockpitController.PilotHeading;
  const Pose down{.yaw = 30, .pitch = -25};
  Tick(10, &down);
  ASSERT_EQ(platform::ReadHost<std::int32_t>(record_ + field::kKind), 1250);
  EXPECT_NEAR(std::atan2(Row(1, 2), Row(1, 1)) * 180 / M_PI, 85, 1e-3) << "85 degrees down";
  EXPECT_NEAR(std::atan2(Row(2, 0), Row(0, 0)) * 180 / M_PI, heading - 30, 1e-3) << "30 further left";
  EXPECT_EQ(CockpitController.PilotHeadPitch, 60);
}

TEST(TrackerScales, AreReadFromTheirSection) {
  const struct {
    std::string text;
    TrackerScales scales;
  } cases[] = {
      {"[HeadTracker]\nYaw = -1\nZ=2.5\n", {.yaw = -1, .z = 2.5}},
      {"[Keyboard]\nYaw=-1\n[headtracker]\n  pitch=0.5 // half\nROLL = 0\n", {.pitch = 0.5, .roll = 0}},
      {"[HeadTracker]\nX=abc\nY=nan\nZ=1e999\nW=3\n", {}},
      {"[HeadTracker]\nYaw=100\nPitch=-100\n[Other]\nX=2\n", {.yaw = 10, .pitch = -10}},
      {"Yaw=2\n", {}},
      {"[HeadTracker]\n" + std::string(600, 'x') + "Yaw=3\nYaw=2", {.yaw = 2}},
  };
  for (const auto& c : cases) {
    std::FILE* file = fmemopen(const_cast<char*>(c.text.data()), c.text.size(), "r");
    TrackerScales scales;
    ReadTrackerScales(file, scales);
    std::fclose(file);
    EXPECT_EQ(scales.yaw, c.scales.yaw) << c.text;
    EXPECT_EQ(scales.pitch, c.scales.pitch) << c.text;
    EXPECT_EQ(scales.roll, c.scales.roll) << c.text;
    EXPECT_EQ(scales.x, c.scales.x) << c.text;
    EXPECT_EQ(scales.z, c.scales.z) << c.text;
  }
}

}  // namespace
}  // namespace varolen
