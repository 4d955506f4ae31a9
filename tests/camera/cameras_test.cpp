// The outside cameras: fly-by placements and slides, the approach anchor, and
// which of them writes the observer.
#include <gtest/gtest.h>

#include <cmath>

#include "camera/approach_view.h"
#include "camera/fly_by.h"
#include "host/frame_input.h"
#include "host/settings.h"
#include "platform/random.h"
#include "shell/frame.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

using testing::Flight;

// What the module makes of the host's metres and degrees: its own conversion
// constants are not exactly 1/0.3048 and pi/180.
double ModuleFeet(double feet) { return feet * 0.3048 * 3.28084; }
double ModuleDegrees(double degrees) { return degrees * 0.01745329251944 * 180.0 / M_PI; }
using testing::RunFrameAt;
using testing::SetFlight;

class Cameras : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    StartWithHost();
    testing::Switch(&CameraSettingsRecord::FlyByActive, true);
    testing::Switch(&CameraSettingsRecord::ApproachActive, false);
  }
  // Frames until the warm-up is over; then one frame that runs the cameras.
  void WarmUpThenRun() {
    RunFrameAt(clock_ += 100);
    RunFrameAt(clock_ += 1000);
  }
  void NextFrame(std::uint32_t milliseconds = 100) { RunFrameAt(clock_ += milliseconds); }

  // The observer relative to the aircraft of `flight`, in metres east and north.
  static void ObserverOffset(const Flight& flight, double& east, double& north) {
    const testing::Observer observer = testing::ReadObserver();
    north = (observer.latitude - flight.latitude) * M_PI / 180.0 * 6367310.0;
    east = (observer.longitude - flight.longitude) * M_PI / 180.0 * 6367310.0 *
           std::cos(flight.latitude * M_PI / 180);
  }

  std::uint32_t clock_ = 100000;
};

// The aircraft comes abeam half-way through the cycle: the distance is the
// ground speed (the host's metres per second) times half the cycle.
TEST_F(Cameras, FlyByDistanceFollowsTheSpeedWithTheMinimumBelow) {
  const struct {
    double speed;     // knots over the ground
    int duration;     // seconds
    int minimum;      // feet
    double distance;  // metres
    double aside;     // metres: a tenth of the distance, at least 15 m (clear of the wing)
  } cases[] = {
      {0, 10, 50, 15.24, 15},
      {120, 10, 50, 120 * 1852.0 / 3600.0 * 10 * 0.5, 30.867},  // 308.67 m
      {10, 10, 150, 45.72, 15},
      {200, 20, 50, 200 * 1852.0 / 3600.0 * 20 * 0.5, 102.889},
  };
  for (const auto& c : cases) {
    testing::ResetModule();
    StartWithHost();
    testing::Switch(&CameraSettingsRecord::FlyByActive, true);
    testing::StoreSetting("FlyByDuration", c.duration);
    testing::StoreSetting("FlyByMinDistance", c.minimum);
    Flight flight;
    flight.speed = c.speed;
    SetFlight(flight);
    WarmUpThenRun();
    EXPECT_NEAR(FlyByCamera.distance, c.distance, 1e-9) << c.speed;
    // Heading north, level: the distance ahead, to the right.
    double east = 0, north = 0;
    ObserverOffset(flight, east, north);
    EXPECT_NEAR(north, c.distance, 0.02 + c.distance * 1e-4) << c.speed;
    EXPECT_NEAR(east, c.aside, 0.02) << c.speed;
    EXPECT_NEAR(FlyByCamera.camera.altitude, ModuleFeet(flight.altitude), 1e-9)
        << "level, no relative altitude";
  }
}

TEST_F(Cameras, FlyBySideFollowsThePlacement) {
  // Seeds whose first draw is 16384 (left) and 16385 (right).
  const auto seedDrawing = [](int wanted) {
    for (unsigned seed = 1;; ++seed) {
      sim::SeedRandom(seed);
      if (platform::Rand() == wanted) return seed;
    }
  };
  const struct {
    std::int32_t placement;
    unsigned seed;
    std::int32_t side;
  } cases[] = {
      {0, 1, 1}, {1, 1, -1}, {2, seedDrawing(16384), -1}, {2, seedDrawing(16385), 1}, {7, 1, 0},
  };
  for (const auto& c : cases) {
    testing::ResetModule();
    StartWithHost();
    testing::Switch(&CameraSettingsRecord::FlyByActive, true);
    testing::StoreSetting("FlyByCameraPlacement", c.placement);
    sim::SeedRandom(c.seed);
    Flight flight;
    flight.heading = 90;
    flight.forward = 150;
    flight.speed = 90;
    SetFlight(flight);
    WarmUpThenRun();
    EXPECT_EQ(FlyByCamera.side, c.side) << c.placement;
    double east = 0, north = 0;
    ObserverOffset(flight, east, north);
    EXPECT_GT(east, 100.0) << "ahead, flying east";
    // Right of an eastbound track is south.
    if (c.side != 0) {
      EXPECT_EQ(north<0, c.side> 0) << c.placement;
    }
  }
}

TEST_F(Cameras, FlyByIsReplacedOneFrameAfterItsDuration) {
  testing::StoreSetting("FlyByDuration", 10);
  Flight flight;
  flight.speed = 100;
  flight.forward = 170;
  SetFlight(flight);
  WarmUpThenRun();
  const double firstLatitude = FlyByCamera.camera.latitude;
  // Frames of 125 ms: after 80 of them the timer is exactly 0, which is not yet below 0.
  flight.latitude += 0.01;
  SetFlight(flight);
  for (int frame = 1; frame <= 80; ++frame) {
    NextFrame(125);
    ASSERT_EQ(FlyByCamera.camera.latitude, firstLatitude) << "frame " << frame;
  }
  NextFrame(125);
  EXPECT_NE(FlyByCamera.camera.latitude, firstLatitude);
  EXPECT_EQ(FlyByCamera.cycleTimer, 10.0f);
}

TEST_F(Cameras, ClimbingPutsTheCameraHalfWayUpThePath) {
  testing::StoreSetting("FlyByRelAltitude", 100);
  Flight flight;
  flight.pitch = -10;  // nose up
  flight.speed = 120;
  SetFlight(flight);
  WarmUpThenRun();
  const double rise = std::sin(10 * 0.01745329251944) * FlyByCamera.distance;
  EXPECT_NEAR(FlyByCamera.camera.altitude, ModuleFeet(flight.altitude) + rise * 0.5 * 3.28084 + 100, 1e-9);
}

TEST_F(Cameras, TravellingSlidesAsideAsTheAircraftCloses) {
  testing::Switch(&CameraSettingsRecord::FlyByTravelling, true);
  testing::StoreSetting("FlyByMinDistance", 100);  // 30.48 m
  testing::StoreSetting("FlyByDuration", 1000);
  Flight flight;
  flight.speed = 0;
  SetFlight(flight);
  WarmUpThenRun();  // placed 30.48 m straight ahead (north)
  double east = 0, north = 0;
  ObserverOffset(flight, east, north);
  EXPECT_NEAR(east, 0.0, 0.01);
  const double placed = FlyByCamera.camera.latitude * 180.0 / M_PI;
  const struct {
    double distance;  // metres from the placed point
    double slide;     // metres to the right (east)
  } cases[] = {{40.0, 0.0}, {30.0, 0.48}, {15.24, 15.24}, {0.0, 30.48}};
  for (const auto& c : cases) {
    // The aircraft `distance` metres short of the placed point.
    double latitude = 0, longitude = 0;
    testing::TangentPoint(placed, flight.longitude, 0.0, -c.distance, latitude, longitude);
    Flight closer = flight;
    closer.latitude = latitude;
    SetFlight(closer);
    NextFrame();
    double expectedLatitude = 0, expectedLongitude = 0;
    testing::TangentPoint(placed, flight.longitude, c.slide, 0.0, expectedLatitude, expectedLongitude);
    const testing::Observer observer = testing::ReadObserver();
    EXPECT_NEAR(observer.longitude, expectedLongitude, 2e-7) << c.distance;
    EXPECT_NEAR(observer.latitude, expectedLatitude, 2e-7) << c.distance;
  }
}

// Switched on in a frame that comes in the same millisecond as the last (a
// step of 0): the travelling camera is placed first, never slid from nowhere.
TEST_F(Cameras, TheTravellingCameraStartsPlacedInAFrameWithoutAStep) {
  testing::Switch(&CameraSettingsRecord::FlyByActive, false);
  testing::Switch(&CameraSettingsRecord::FlyByTravelling, true);
  Flight flight;
  flight.speed = 100;
  SetFlight(flight);
  WarmUpThenRun();
  testing::Switch(&CameraSettingsRecord::FlyByActive, true);
  NextFrame(0);
  ASSERT_EQ(FrameClock.step, 0.0f);
  const testing::Observer observer = testing::ReadObserver();
  EXPECT_NEAR(observer.latitude, flight.latitude, 0.01);
  EXPECT_NEAR(observer.longitude, flight.longitude, 0.01);
}

// In a crosswind the aircraft points one way and moves another: a crab of 20
// degrees, heading north, tracking 020. The placements lie along the track;
// the travelling camera slides square to the heading it was placed at.
TEST_F(Cameras, InACrabTheCamerasFollowTheTrackAndSlideSquareToTheHeading) {
  const double crab = 20 * M_PI / 180;
  Flight flight;
  flight.forward = 100;
  flight.lateral = 100 * std::tan(crab);  // ft/s to the right
  flight.speed = 0;
  testing::StoreSetting("FlyByMinDistance", 100);  // 30.48 m ahead
  SetFlight(flight);
  WarmUpThenRun();
  // Ahead along the track, 15 m to the right of it (a tenth of the distance would be 3 m).
  const double d = 30.48;
  double east = 0, north = 0;
  ObserverOffset(flight, east, north);
  EXPECT_NEAR(east, d * std::sin(crab) + 15 * std::cos(crab), 0.02);
  EXPECT_NEAR(north, d * std::cos(crab) - 15 * std::sin(crab), 0.02);

  // Travelling: placed straight on the track, then slid east (square to the
  // heading north) by as much as the aircraft is inside the 30.48 m.
  testing::ResetModule();
  StartWithHost();
  testing::Switch(&CameraSettingsRecord::FlyByActive, true);
  testing::Switch(&CameraSettingsRecord::FlyByTravelling, true);
  testing::StoreSetting("FlyByMinDistance", 100);
  testing::StoreSetting("FlyByDuration", 1000);
  SetFlight(flight);
  WarmUpThenRun();
  ObserverOffset(flight, east, north);
  EXPECT_NEAR(east, d * std::sin(crab), 0.02);
  EXPECT_NEAR(north, d * std::cos(crab), 0.02);
  const double placedLatitude = FlyByCamera.camera.latitude * 180 / M_PI;
  const double placedLongitude = FlyByCamera.camera.longitude * 180 / M_PI + 360.0;
  double latitude = 0, longitude = 0;
  testing::TangentPoint(placedLatitude, placedLongitude, -10.0, -10.0, latitude, longitude);  // 14.14 m away
  Flight closer = flight;
  closer.latitude = latitude;
  closer.longitude = longitude;
  SetFlight(closer);
  NextFrame();
  const double slide = d - std::hypot(10.0, 10.0);
  testing::TangentPoint(placedLatitude, placedLongitude, slide, 0.0, latitude, longitude);
  const testing::Observer observer = testing::ReadObserver();
  EXPECT_NEAR(observer.latitude, latitude, 2e-7);
  EXPECT_NEAR(observer.longitude, longitude, 2e-7);
}

// The approach anchor lies along the track too, at the touchdown point moved
// by the user's offsets: 25 ft right of the track and 100 ft further along it.
TEST_F(Cameras, InACrabTheApproachAnchorLiesAlongTheTrack) {
  testing::Switch(&CameraSettingsRecord::FlyByActive, false);
  testing::Switch(&CameraSettingsRecord::ApproachActive, true);
  testing::StoreSetting("ApproachViewZ", 100);
  const double crab = 20 * M_PI / 180;
  Flight flight;
  flight.altitude = 1500;
  flight.ground = 1000;
  flight.forward = 100;
  flight.lateral = 100 * std::tan(crab);
  flight.vertical = -10;  // the forward speed is ten times the sink
  SetFlight(flight);
  WarmUpThenRun();
  const double along = 500 * 0.3048 * 10 + 100 * 0.3048;  // 1554.48 m
  const double right = 25 * 0.3048;
  double latitude = 0, longitude = 0;
  testing::TangentPoint(flight.latitude, flight.longitude, along * std::sin(crab) + right * std::cos(crab),
                        along * std::cos(crab) - right * std::sin(crab), latitude, longitude);
  EXPECT_NEAR(ApproachAnchor.position.latitude * 180 / M_PI, latitude, 1e-8);  // about a millimetre
  EXPECT_NEAR(ApproachAnchor.position.longitude * 180 / M_PI + 360.0, longitude, 1e-8);
}

TEST_F(Cameras, ApproachAnchorLiesWhereThePathMeetsTheGround) {
  testing::Switch(&CameraSettingsRecord::FlyByActive, false);
  testing::Switch(&CameraSettingsRecord::ApproachActive, true);
  Flight flight;
  flight.altitude = 1500;
  flight.ground = 1000;  // 500 ft above the ground
  flight.forward = 100;
  flight.vertical = -10;  // ten times slower down than ahead
  flight.speed = 60;
  SetFlight(flight);
  WarmUpThenRun();
  // 500 ft x 0.3048 x 10 = 1524 m ahead (north), 25 ft = 7.62 m to the right (east).
  double latitude = 0, longitude = 0;
  testing::TangentPoint(flight.latitude, flight.longitude, 7.62, 1524.0, latitude, longitude);
  EXPECT_NEAR(ApproachAnchor.position.latitude * 180 / M_PI, latitude, 1e-9);
  EXPECT_NEAR(ApproachAnchor.position.longitude * 180 / M_PI + 360.0, longitude, 1e-9);
  EXPECT_NEAR(ApproachAnchor.position.altitude, ModuleFeet(1000.0) + 10.0, 1e-9);
}

TEST_F(Cameras, ApproachAnchorStaysInLevelFlightOrWithoutForwardSpeed) {
  testing::Switch(&CameraSettingsRecord::FlyByActive, false);
  testing::Switch(&CameraSettingsRecord::ApproachActive, true);
  Flight flight;
  flight.forward = 100;
  SetFlight(flight);
  WarmUpThenRun();
  const GeoPosition first = ApproachAnchor.position;  // the aircraft's own position
  EXPECT_NEAR(first.altitude, ModuleFeet(2000), 1e-9);
  for (const auto& [forward, vertical] : {std::pair{100.0, 0.0}, std::pair{0.0, -10.0}}) {
    flight.forward = forward;
    flight.vertical = vertical;
    flight.latitude += 0.01;
    SetFlight(flight);
    NextFrame();
    EXPECT_EQ(ApproachAnchor.position.latitude, first.latitude);
  }
}

TEST_F(Cameras, BelowTwoHundredFeetTheObserverIsParkedOnTheAnchor) {
  testing::Switch(&CameraSettingsRecord::FlyByActive, false);
  testing::Switch(&CameraSettingsRecord::ApproachActive, true);
  const double exactly200 = 200.0 / 3.28084;
  ASSERT_EQ(exactly200 * 3.28084, 200.0);
  Flight flight;
  flight.ground = 0;
  flight.altitude = exactly200 / 0.3048;  // the host gives metres: 200.0 ft exactly above the ground
  flight.forward = 100;
  flight.vertical = -10;
  flight.speed = 100;
  SetFlight(flight);
  sim::SetHostVariable(73, exactly200);
  WarmUpThenRun();
  // At exactly 200 ft: no fly-by and no new anchor; the observer sits on the
  // first anchor, the aircraft's own starting position.
  EXPECT_EQ(FlyByCamera.side, 0);
  const testing::Observer observer = testing::ReadObserver();
  EXPECT_NEAR(observer.latitude, ModuleDegrees(flight.latitude), 1e-9);
  EXPECT_NEAR(observer.longitude, ModuleDegrees(flight.longitude), 1e-9);
  EXPECT_EQ(observer.altitude, std::trunc(200.0 * 0.3048));

  // Just above: the anchor moves ahead and the fly-by writes the observer.
  sim::SetHostVariable(73, exactly200 + 0.001);
  NextFrame();
  EXPECT_EQ(FlyByCamera.side, 1);
  EXPECT_GT(ApproachAnchor.position.latitude * 180 / M_PI, flight.latitude + 0.001);
}

TEST_F(Cameras, FlyByTakesPrecedenceOverTheApproachView) {
  // Both on, as a registry may hold them (the menu switches one off).
  CameraSettings.FlyByActive = true;
  CameraSettings.ApproachActive = true;
  Flight flight;
  flight.ground = flight.altitude - 50;  // low
  flight.speed = 100;
  SetFlight(flight);
  WarmUpThenRun();
  double east = 0, north = 0;
  ObserverOffset(flight, east, north);
  EXPECT_GT(north, 200.0) << "the observer is at the fly-by placement, not on the anchor";
}

}  // namespace
}  // namespace varolen
