// Head tracking: the pose opentrack writes into its block becomes an offset of
// the cockpit view, with the tracker's signs and units, eased when it stops
// and when it comes back; bad blocks change nothing. The block is written by
// the substitute simulator's opentrack writer, from the head in words.
#include "tracker/head_tracker.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "cockpit/cockpit_controller.h"
#include "cockpit/motion.h"
#include "cockpit/view_update.h"
#include "host/frame_input.h"
#include "host/host_discovery.h"
#include "host/host_layout.h"
#include "host/settings.h"
#include "interaction/walking_pilot.h"
#include "opentrack_writer.h"
#include "platform/clock.h"
#include "platform/host_memory.h"
#include "shell/frame.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

namespace field = view_record;
using simhost::HeadInWords;

class HeadTracking : public testing::ModuleTest {
 public:
  // A virtual cockpit looking 30 degrees right (or `viewHeading`), the eye at (0, 1, 2).
  void Start(bool tracker = true, double viewHeading = 30) {
    record_ = StartWithHost({{.kind = 2, .eyeBase = {0, 1, 2}, .zoom = 1.0, .heading = viewHeading}})[0];
    testing::SetFlight({});
    testing::Switch(&CameraSettingsRecord::HeadTrackerOn, true);
    if (tracker) StartTracker();
    Tick();
  }
  void StartTracker() {
    sim::StartHeadTracker();
    writer_.Start();
  }
  // Frames of 50 ms; with a pose, the tracker writes it anew before each.
  void Tick(int frames = 1, const HeadInWords* head = nullptr) {
    for (int frame = 0; frame < frames; ++frame) {
      if (head != nullptr) writer_.Pose(*head);
      clock_ += 50;
      sim::SetClock(clock_);
      testing::RunCockpitAt(platform::TimeGetTime());
    }
  }
  // A broken tracker's block: these values (degrees, millimetres) and a new id.
  void WriteRaw(const double (&values)[6]) {
    for (std::uint32_t index = 0; index < 6; ++index) {
      const auto value = static_cast<float>(index < 3 ? values[index] * M_PI / 180 : values[index]);
      std::uint32_t word;
      std::memcpy(&word, &value, 4);
      sim::WriteHeadTrackerWord(12 + 4 * index, word);
    }
    sim::WriteHeadTrackerWord(0, ++rawId_);
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
  std::uint32_t rawId_ = 1000;
  simhost::OpentrackWriter writer_{sim::WriteHeadTrackerWord};
};

// Each axis as the pilot moves it, on top of a view already turned 30 degrees
// right: the difference the head makes is the head's move. The lean is
// measured facing the screen, so it goes along the view, not the head.
TEST_F(HeadTracking, EachAxisMovesTheViewAsTheHeadMoves) {
  const double c30 = std::cos(M_PI / 6), s30 = std::sin(M_PI / 6);
  const struct {
    const char* what;
    HeadInWords head;
    double heading, pitch, bank;  // degrees the view moves: right, down, tilted left
    double x, y, z;               // the eye's move, eye units (metres) in the cockpit
  } cases[] = {
      {"turned 10 left", {.turnedLeft = 10}, -10, 0, 0, 0, 0, 0},
      {"looking 5 up", {.lookingUp = 5}, 0, -5, 0, 0, 0, 0},
      {"tilted 15 left", {.tiltedLeft = 15}, 0, 0, 15, 0, 0, 0},
      {"10 cm left", {.movedLeft = 10}, 0, 0, 0, -0.1 * c30, 0, 0.1 * s30},
      {"5 cm up", {.movedUp = 5}, 0, 0, 0, 0, 0.05, 0},
      {"12 cm forward", {.movedBack = -12}, 0, 0, 0, 0.12 * s30, 0, 0.12 * c30},
      {"forward, turned 60 left", {.turnedLeft = 60, .movedBack = -12}, -60, 0, 0, 0.12 * s30, 0, 0.12 * c30},
  };
  for (const auto& c : cases) {
    testing::ResetModule();
    Start();
    Tick(10, &c.head);
    const double heading = Heading(), pitch = Pitch(), bank = Bank();
    const double eye[3] = {Eye(0), Eye(1), Eye(2)};
    const Angles angles = CockpitViewState.ViewAngles;
    const HeadInWords still{.turnedLeft = 0.01};
    Tick(10, &still);
    EXPECT_NEAR(heading - Heading(), c.heading, 0.02) << c.what;
    EXPECT_NEAR(pitch - Pitch(), c.pitch, 1e-3) << c.what;
    EXPECT_NEAR(bank - Bank(), c.bank, 1e-3) << c.what;
    const double moved[3] = {c.x, c.y, c.z};
    for (std::uint32_t axis = 0; axis < 3; ++axis)
      EXPECT_NEAR(eye[axis] - Eye(axis), moved[axis], 1.0 / 256 + 1e-6) << c.what << ", axis " << axis;
    EXPECT_EQ(CockpitViewState.ViewAngles.heading, angles.heading) << c.what << ": never in the view angles";
    EXPECT_EQ(CockpitViewState.TargetViewAngles.pitch, angles.pitch) << c.what;
  }
}

// Looking 90 degrees right with the tracked head, the pilot sees as pitch what
// looking ahead shows as roll, and as roll what ahead is pitch: the aircraft's
// roll pitches the side view. Each effect alone, the same flight and draws
// looked at both ways; in a steady 30 degree left bank the level head at half
// share holds the side view 15 degrees down.
TEST_F(HeadTracking, TheEffectsFollowWhereTheTrackedHeadLooks) {
  const struct {
    const char* what;
    bool latency, jolts;
    double levelHead;
    double rightPitchAtEnd;  // degrees down, or NaN where the draws decide it
  } cases[] = {
      {"the head latency", true, false, 0, NAN},
      {"the jolts", false, true, 0, NAN},
      {"the level head", false, false, 0.5, 15},
  };
  for (const auto& c : cases) {
    std::vector<std::pair<double, double>> seen[2];  // (pitch, bank) each frame: ahead, then right
    for (const bool right : {false, true}) {
      testing::ResetModule();
      sim::SeedRandom(7);
      Start(right, 0);
      testing::Switch(&CameraSettingsRecord::ViewTurbOn, c.latency);
      testing::Switch(&CameraSettingsRecord::GroundTurbOn, c.jolts);
      testing::Switch(&CameraSettingsRecord::BuffetTurbOn, false);
      testing::SetMotion("LevelHead", c.levelHead);
      const HeadInWords head{.turnedLeft = -90};
      for (int frame = 0; frame < 100; ++frame) {
        // Level while the tracked head comes in, then rolling left and right in
        // the air, or rolling at 60 knots; then steady.
        testing::Flight flight{.bank = frame < 10 ? 0 : frame < 40 ? 20 * std::sin(frame / 5.0) : 30};
        if (c.jolts) flight = {.altitude = 1000, .forward = 100, .speed = 60, .onGround = true};
        testing::SetFlight(flight);
        Tick(1, right ? &head : nullptr);
        seen[right].push_back({Pitch(), Bank()});
      }
    }
    for (std::size_t frame = 10; frame < seen[0].size(); ++frame) {
      EXPECT_NEAR(seen[1][frame].first, -seen[0][frame].second, 0.05) << c.what << ", frame " << frame;
      EXPECT_NEAR(seen[1][frame].second, seen[0][frame].first, 0.05) << c.what << ", frame " << frame;
    }
    double moved = 0;
    for (const auto& [pitch, bank] : seen[1]) moved = std::max(moved, std::fabs(pitch) + std::fabs(bank));
    EXPECT_GT(moved, 0.5) << c.what << " moves the view";
    if (!std::isnan(c.rightPitchAtEnd)) {
      EXPECT_NEAR(seen[1].back().first, c.rightPitchAtEnd, 0.05) << c.what;
    }
  }
}

// opentrack holds an axis at its curve's end and writes float(pi) or
// float(pi / 2) there, a hair beyond 180 or 90 degrees; a user's curves reach
// 6 m. Such a pose counts, however long it is held.
TEST_F(HeadTracking, APoseAtTheCurvesEndCountsAndKeepsTheTrackerLive) {
  const struct {
    const char* what;
    simhost::CurveLimits curves;
    HeadInWords head;
    double heading, pitch, x;
  } cases[] = {
      {"the default curves", {}, {.turnedLeft = 250, .lookingUp = -120}, 180, 90, 0},
      {"the widest curves", {.translation = 600}, {.movedLeft = 700}, 0, 0, -0.5},
  };
  for (const auto& c : cases) {
    testing::ResetModule();
    Start(false);
    simhost::OpentrackWriter writer(sim::WriteHeadTrackerWord, c.curves);
    sim::StartHeadTracker();
    writer.Start();
    for (int frame = 0; frame < 40; ++frame) {
      writer.Pose(c.head);
      Tick();
    }
    EXPECT_EQ(HeadTracker.state, TrackerState::Live) << c.what;
    EXPECT_EQ(std::fabs(HeadTracker.applied.heading), c.heading) << c.what;
    EXPECT_EQ(HeadTracker.applied.pitch, c.pitch) << c.what << ": down as far as the curve goes";
    EXPECT_EQ(HeadTracker.applied.x, c.x) << c.what << ": as far left as the eye goes";
  }
}

// A tracker that stops giving poses (crashed or frozen) is let go over half
// a second, without a jump; when it comes back it eases in over 0.2 s.
TEST_F(HeadTracking, AStaleTrackerEasesOutAndABackOneEasesIn) {
  Start();
  const HeadInWords turned{.turnedLeft = -20};  // 20 right
  Tick(10, &turned);
  ASSERT_EQ(HeadTracker.state, TrackerState::Live);
  ASSERT_NEAR(HeadTracker.applied.heading, 20, 1e-4);
  // Frozen: no new pose. Live for 0.5 s more, then eased to zero in 0.5 s.
  double last = HeadTracker.applied.heading;
  int frames = 0;
  while (HeadTracker.applied.heading > 0.0 && frames < 100) {
    Tick();
    ++frames;
    EXPECT_LE(last - HeadTracker.applied.heading, 20 * 0.05 / 0.5 + 1e-4) << "no jump, frame " << frames;
    last = HeadTracker.applied.heading;
  }
  EXPECT_EQ(HeadTracker.state, TrackerState::Stale);
  EXPECT_EQ(frames, 20) << "0.5 s still live, then 0.5 s of easing, in frames of 50 ms";
  // Back half-way through a second easing: from where it is to the pose in 0.2 s.
  Tick(10, &turned);
  for (int frame = 0; frame < 15; ++frame) Tick();  // 0.25 s of the 0.5 s ease out
  const double from = HeadTracker.applied.heading;
  ASSERT_NEAR(from, 10, 1e-4);
  const HeadInWords further{.turnedLeft = -30};
  Tick(1, &further);
  EXPECT_NEAR(HeadTracker.applied.heading, from, 1e-6) << "no jump as it comes back";
  Tick(1, &further);
  EXPECT_NEAR(HeadTracker.applied.heading, from + (30 - from) * 0.25, 1e-4);
  Tick(3, &further);
  EXPECT_NEAR(HeadTracker.applied.heading, 30, 1e-4);
}

// At Stop opentrack writes one all-zero pose and then nothing: 0.1 s later,
// no pose having followed, the view goes back over half a second, as from a
// stale tracker, never in one frame.
TEST_F(HeadTracking, AStoppedTrackerEasesOut) {
  Start();
  const HeadInWords turned{.turnedLeft = -20, .movedLeft = 3};
  Tick(10, &turned);
  writer_.Stop();
  for (int frame = 0; frame <= 12; ++frame) {
    Tick();
    EXPECT_EQ(HeadTracker.state, frame < 2 ? TrackerState::Live : TrackerState::Stopped) << "frame " << frame;
    EXPECT_NEAR(HeadTracker.applied.heading, 20 - 2.0 * std::max(0, frame - 2), 1e-4) << "frame " << frame;
  }
}

TEST_F(HeadTracking, WithoutATrackerTheBlockIsLookedForOnceASecond) {
  Start(false);
  for (int frame = 0; frame < 60; ++frame) Tick();  // 3 s
  EXPECT_EQ(HeadTracker.state, TrackerState::Absent);
  EXPECT_LE(sim::HeadTrackerOpenAttempts(), 4);
  EXPECT_GE(sim::HeadTrackerOpenAttempts(), 3);
  // A tracker that starts is found within the second, its poses used.
  StartTracker();
  const HeadInWords up{.lookingUp = 10};
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

// The centre command makes the present pose straight ahead while the tracker
// runs. opentrack centres itself as it starts, so the module's centre goes
// when the tracker stops or has been stale for 5 s.
TEST_F(HeadTracking, TheCentreLastsWhileTheTrackerRuns) {
  const HeadInWords turned{.turnedLeft = 20, .movedLeft = 5};
  const struct {
    const char* what;
    void (*interrupt)(HeadTracking&);
    double heading;  // of the same pose afterwards
  } cases[] = {
      {"stale 4.5 s", [](HeadTracking& t) { t.Tick(90); }, 0},
      {"stale 5 s", [](HeadTracking& t) { t.Tick(100); }, -20},
      {"stopped and started again",
       [](HeadTracking& t) {
         t.writer_.Stop();
         t.Tick(4);
         t.writer_.Start();
       },
       -20},
      // opentrack writes exact zeros while its Zero toggle is held, and on the
      // frame it centres: poses follow, it has not stopped.
      {"opentrack's Zero held a moment",
       [](HeadTracking& t) {
         const HeadInWords zero{};
         t.Tick(6, &zero);
       },
       0},
      {"opentrack centring",
       [](HeadTracking& t) {
         const HeadInWords zero{};
         t.Tick(1, &zero);
       },
       0},
  };
  for (const auto& c : cases) {
    testing::ResetModule();
    Start();
    Tick(10, &turned);
    CentreHeadTracker();
    Tick(1, &turned);
    EXPECT_NEAR(HeadTracker.applied.heading, 0, 1e-9);
    EXPECT_NEAR(HeadTracker.applied.x, 0, 1e-9);
    const HeadInWords further{.turnedLeft = 25, .movedLeft = 5};
    Tick(1, &further);
    EXPECT_NEAR(HeadTracker.applied.heading, -5, 1e-4);
    c.interrupt(*this);
    Tick(30, &turned);
    EXPECT_NEAR(HeadTracker.applied.heading, c.heading, 1e-4) << c.what;
  }
}

// Centred with the head turned far round, the head turned on past its back
// turns the view the short way: from 170 right to 170 left is 20 degrees
// further right, not 340 back to the left.
TEST_F(HeadTracking, ACentreFarRoundTurnsTheShortWay) {
  const struct {
    double centredLeft, turnedLeft;
    double heading;  // degrees right
  } cases[] = {{-170, 170, 20}, {170, -170, -20}, {-170, -150, -20}};
  for (const auto& c : cases) {
    testing::ResetModule();
    Start();
    const HeadInWords centred{.turnedLeft = c.centredLeft}, turned{.turnedLeft = c.turnedLeft};
    Tick(10, &centred);
    CentreHeadTracker();
    Tick(10, &turned);
    EXPECT_NEAR(HeadTracker.applied.heading, c.heading, 1e-3) << c.centredLeft << " to " << c.turnedLeft;
  }
}

// What no tracker writes, or a pose with an id that stands still, changes nothing.
TEST_F(HeadTracking, BadPosesChangeNothing) {
  Start();
  const HeadInWords good{.turnedLeft = 10, .movedBack = -5};
  Tick(10, &good);
  const TrackerOffset held = HeadTracker.applied;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  const double bad[][6] = {{nan, 0, 0, 0, 0, 0},    {0, inf, 0, 0, 0, 0},  {181, 0, 0, 0, 0, 0},
                           {0, -180.6, 0, 0, 0, 0}, {0, 0, 0, 6001, 0, 0}, {0, 0, 0, 0, 0, -7000}};
  for (const auto& values : bad) {
    WriteRaw(values);
    Tick();
    EXPECT_EQ(HeadTracker.applied.heading, held.heading);
    EXPECT_EQ(HeadTracker.applied.z, held.z);
    EXPECT_TRUE(std::isfinite(Heading()));
  }
  const double turned[6] = {5, 0, 0, 0, 0, 0};
  WriteRaw(turned);
  Tick();
  EXPECT_NEAR(HeadTracker.applied.heading, -5, 1e-4);
  const std::uint32_t id = rawId_;
  const double further[6] = {40, 0, 0, 0, 0, 0};
  WriteRaw(further);
  sim::WriteHeadTrackerWord(0, id);
  Tick();
  EXPECT_NEAR(HeadTracker.applied.heading, -5, 1e-4) << "a changing pose with the same id";
  // A tracker started again counts from 1 and 0: an id that goes back is news.
  writer_.Start();
  writer_.Pose({.turnedLeft = 7});
  Tick();
  EXPECT_NEAR(HeadTracker.applied.heading, -7, 1e-4) << "the first pose after a restart";
}

// The tracker writes a new pose while the module copies one: the module sees
// the id change and copies the pose again, whole.
TEST_F(HeadTracking, APoseWrittenDuringTheReadIsReadAgain) {
  Start();
  const HeadInWords first{.turnedLeft = 10, .lookingUp = -10};
  Tick(10, &first);
  writer_.Pose({.turnedLeft = 20, .lookingUp = -20});
  const simhost::BlockPose second = simhost::BlockPoseOf({.turnedLeft = 30, .lookingUp = -30});
  std::uint32_t yaw, pitch;
  std::memcpy(&yaw, &second.yaw, 4);
  std::memcpy(&pitch, &second.pitch, 4);
  // After the id and the yaw are read: a new yaw and pitch, then a new id.
  sim::WriteHeadTrackerDuringRead(1, {{12, yaw}, {16, pitch}, {0, writer_.DataId() + 1}});
  Tick();
  EXPECT_NEAR(HeadTracker.pose.yaw, 30, 1e-4);
  EXPECT_NEAR(HeadTracker.pose.pitch, 30, 1e-4) << "one pose, not halves of two";
}

TEST_F(HeadTracking, TheSettingOffEasesTheHeadOut) {
  Start();
  const HeadInWords turned{.turnedLeft = -20};
  Tick(10, &turned);
  testing::Switch(&CameraSettingsRecord::HeadTrackerOn, false);
  Tick(6, &turned);
  EXPECT_NEAR(HeadTracker.applied.heading, 10, 1e-4) << "half-way 0.25 s after it went off";
  Tick(5, &turned);
  EXPECT_EQ(HeadTracker.applied.heading, 0.0);
}

// The host's own change to the view is taken over; the head's part of what
// the module wrote is not mistaken for one.
TEST_F(HeadTracking, AHostChangeIsTakenOverWithoutTheHead) {
  Start();
  const HeadInWords turned{.turnedLeft = 10, .lookingUp = -5, .tiltedLeft = 8, .movedLeft = -10};
  Tick(10, &turned);
  const Vec3 eye = CockpitViewState.EyePosition;
  platform::WriteHost<std::int16_t>(record_ + field::kZoom, 128);  // the user zooms with the host's keys
  Tick(1, &turned);
  EXPECT_EQ(CockpitViewState.Zoom, 2.0) << "taken over";
  EXPECT_NEAR(CockpitViewState.ViewAngles.heading, 30, 1e-4);
  EXPECT_NEAR(CockpitViewState.ViewAngles.pitch, 0, 1e-4);
  EXPECT_NEAR(CockpitViewState.ViewAngles.bank, 0, 1e-4);
  EXPECT_NEAR(CockpitViewState.EyePosition.x, eye.x, 1.0 / 256);
  EXPECT_NEAR(CockpitViewState.EyePosition.z, eye.z, 1.0 / 256);
}

// The walking pilot's head turns and nods with the pilot's own, beyond the 60
// degrees the keys stop at, but never past straight down.
TEST_F(HeadTracking, ThePilotsHeadTurnsAndNodsWithTheTrackedHead) {
  const struct { double lookingDown, seen; } cases[] = {{25, 85}, {45, 89.9}};
  for (const auto& c : cases) {
    testing::ResetModule();
    Start();
    testing::Switch(&CameraSettingsRecord::ExternalViewActive, true);
    Tick();
    TurnPilotHead(0.0, 60.0);  // as far down as the keys go
    const double heading = WalkingPilot.PilotHeading;
    const HeadInWords down{.turnedLeft = 30, .lookingUp = -c.lookingDown};
    Tick(10, &down);
    ASSERT_EQ(platform::ReadHost<std::int32_t>(record_ + field::kKind), 1250);
    EXPECT_NEAR(std::atan2(Row(1, 2), Row(1, 1)) * 180 / M_PI, c.seen, 1e-3) << "degrees down";
    EXPECT_NEAR(std::atan2(Row(2, 0), Row(0, 0)) * 180 / M_PI, heading - 30, 1e-3) << "30 further left";
    EXPECT_EQ(WalkingPilot.PilotHeadPitch, 60);
  }
}

// On a fresh install "Internal pilot view" is unchecked: the tracked head
// alone turns the host's own view, and the record is the host's again once
// the head has eased out. Without a tracker it is never written.
TEST_F(HeadTracking, OnAFreshInstallTheHeadTurnsTheHostsOwnView) {
  record_ = StartWithHost({{.kind = 2, .eyeBase = {0, 1, 2}, .zoom = 1.0, .heading = 30}})[0];
  testing::SetFlight({});
  const auto frames = [this](int count, const HeadInWords* head = nullptr) {
    for (int frame = 0; frame < count; ++frame) {
      if (head != nullptr) writer_.Pose(*head);
      testing::RunFrameAt(clock_ += 50);
    }
  };
  const std::vector<std::uint8_t> hosts = testing::HostRecord(record_);
  frames(80);
  EXPECT_EQ(testing::HostRecord(record_), hosts) << "no tracker, nothing written";
  StartTracker();
  const HeadInWords turned{.turnedLeft = 10, .lookingUp = 4};
  frames(30, &turned);
  EXPECT_NEAR(Heading(), 20, 0.02);
  EXPECT_NEAR(Pitch(), -4, 0.02);
  platform::WriteHost<std::int16_t>(record_ + field::kZoom, 128);  // the host zooms its view
  frames(2, &turned);
  EXPECT_EQ(platform::ReadHost<std::int16_t>(record_ + field::kZoom), 128) << "the host's change followed";
  EXPECT_NEAR(Heading(), 20, 0.02);
  writer_.Stop();
  frames(20);
  EXPECT_NEAR(Heading(), 30, 0.02) << "the host's view, the head eased out";
  platform::WriteHost<std::int16_t>(record_ + field::kZoom, 64);
  const std::vector<std::uint8_t> after = testing::HostRecord(record_);
  frames(20);
  EXPECT_EQ(testing::HostRecord(record_), after) << "the record is the host's again";
}

TEST(TrackerScales, AreReadFromTheirSection) {
  const struct {
    std::string text;
    TrackerScales scales;
  } cases[] = {
      {"[HeadTracker]\nYaw = -1\nZ=2.5\n", {.yaw = -1, .z = 2.5}},
      {"[Keyboard]\nYaw=-1\n[headtracker]\n  pitch=0.5 // half\nROLL = 0\n", {.pitch = 0.5, .roll = 0}},
      {"[HeadTracker]\nPitch = 0,5\nX=-1,25\n", {.pitch = 0.5, .x = -1.25}},
      {"[HeadTracker]\nX=abc\nY=nan\nZ=1e999\nW=3\n", {}},
      {"[HeadTracker]\nYaw=100\nPitch=-100\n[Other]\nX=2\n", {.yaw = 10, .pitch = -10}},
      {"Yaw=2\n", {}},
      {"[HeadTracker]\n" + std::string(600, 'x') + "Yaw=3\nYaw=2", {.yaw = 2}},
      {"[HeadTracker]\nYaw=3" + std::string(600, ' ') + "\nPitch=2", {.pitch = 2}},
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
