// The ground probe over hand-made geometry, and the walking pilot on it.
#include "interaction/walking_pilot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "cockpit/cockpit_controller.h"
#include "cockpit/host_view.h"
#include "host_builder.h"
#include "interaction/ground_probe.h"
#include "native_host.h"
#include "platform/host_memory.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

using platform::WriteHost;

// A triangle list's triangle: three vertices (x, z at height y) and a normal.
struct Triangle {
  float vertices[9];
  float normal[3];
};

constexpr Triangle Flat(float y, float size = 10) {
  return {{-size, y, -size, size, y, -size, 0, y, size}, {0, 1, 0}};
}

TEST(GroundProbe, TrianglesUnderAVerticalRay) {
  const double ray[6] = {0, 100000, 0, 0, -1, 0};
  const struct {
    const char* what;
    Triangle triangle;
    double t;
  } cases[] = {
      {"5 m above the origin", Flat(5), 99995},
      {"seen edge-on", {{-1, 0, 0, 1, 0, 0, 0, 10, 0}, {0, 0, 1}}, kNothingFound},
      {"the ray on an edge", {{0, 2, 0, 10, 2, 0, 0, 2, 10}, {0, 1, 0}}, 99998},
      {"beside the ray", {{1, 2, 1, 10, 2, 1, 1, 2, 10}, {0, 1, 0}}, kNothingFound},
      {"upside down counts too", {{-5, 1, -5, 0, 1, 5, 5, 1, -5}, {0, -1, 0}}, 99999},
  };
  for (const auto& c : cases) {
    float triangle[12];
    std::memcpy(triangle, &c.triangle, sizeof triangle);
    EXPECT_EQ(RayTriangleHit(triangle, ray, {0, 0, 0}), c.t) << c.what;
  }
  float above[12];
  std::memcpy(above, &cases[0].triangle, sizeof above);
  EXPECT_EQ(RayTriangleHit(above, ray, {0, 3, 0}), 99992) << "placed 3 m higher";
}

TEST(GroundProbe, OffsetsOnTheSphere) {
  // A point 0.001 degrees north and 1 m higher lies 111.13 m north and about 1 m up.
  const Vec3 north = GeoOffset({47.001, 8, 6367311}, {47, 8, 6367310});
  EXPECT_NEAR(north.z, 6367310.0 * 0.001 * 0.01745329251944, 0.01);
  EXPECT_NEAR(north.x, 0, 1e-6);
  EXPECT_NEAR(north.y, 1.0, 0.01);
  const Vec3 east = GeoOffset({47, 8.001, 6367310}, {47, 8, 6367310});
  EXPECT_NEAR(east.x, 6367310.0 * 0.001 * 0.01745329251944 * std::cos(47 * M_PI / 180), 0.05);
}

class Pilot : public testing::ModuleTest {
 protected:
  void SetUp() override {
    ModuleTest::SetUp();
    record_ = StartWithHost()[0];
    sim::MapHostRegion(kGeometry, 0x10000);
    testing::Flight flight;
    flight.latitude = 47.0;
    flight.longitude = 8.0;
    flight.heading = 0;
    flight.ground = 100.0 / 0.3048;  // 100 m
    testing::SetFlight(flight);
    DiscoverHostModules(c_);
    c_.TickStep = 0.1;
    c_.TickTime = 1000.0;
  }
  // One object under the pilot: a flat top `height` metres above the aircraft's
  // ground, `size` metres each way from the object's centre.
  void Block(double height, float size) {
    const HostAddress list = kG3dObjects();
    WriteHost<std::int32_t>(list, 1);
    WriteHost<std::uint32_t>(list + 12, kGeometry);
    const HostAddress model = kGeometry + 0x100;
    WriteHost<std::uint32_t>(kGeometry + 96, model);
    platform::WriteHostBytes(model + 124, "PNTR", 4);
    WriteHost<std::int32_t>(model + 128, 1);
    platform::WriteHostBytes(model + 132, "BLCK", 4);
    const HostAddress blck = model + 0x200;
    WriteHost<std::uint32_t>(model + 136, blck - (model + 132));
    WriteHost<std::uint16_t>(blck, 0xF002);
    WriteHost(blck + 2, static_cast<float>(c_.PilotLatitude));
    WriteHost(blck + 6, static_cast<float>(c_.PilotLongitude));
    WriteHost(blck + 10, 100.0f);
    // A bounding sphere centred on the placement puts the triangles there.
    WriteHost<std::uint16_t>(blck + 30, 0xF004);
    WriteHost<std::uint16_t>(blck + 32, 26);
    WriteHost<std::uint32_t>(blck + 34, 26 + 6 + 48);
    WriteHost(blck + 52, 50.0f);
    const HostAddress triangles = blck + 56;
    WriteHost<std::uint16_t>(triangles, 0xF005);
    WriteHost<std::uint32_t>(triangles + 2, 1);
    const Triangle top = Flat(static_cast<float>(height), size);
    platform::WriteHostBytes(triangles + 6, &top, sizeof top);
    WriteHost<std::uint16_t>(triangles + 6 + 48, 0xF001);
  }
  HostAddress kG3dObjects() const { return c_.HostObjectList; }
  void Tick(int frames = 1) {
    for (int frame = 0; frame < frames; ++frame) {
      c_.TickTime += c_.TickStep;
      UpdateWalkingPilot(c_);
    }
  }
  static constexpr HostAddress kGeometry = 0x30000000;
  CockpitControllerRecord& c_ = CockpitController;
  HostAddress record_ = 0;
};

TEST_F(Pilot, StepsOutBesideTheAircraftAndBackIn) {
  const auto before = testing::HostRecord(record_);
  c_.PilotActive = 1;
  Tick();
  // 10 m left of and 10 m ahead of an aircraft facing north: north-west, on its ground.
  const double aircraftLatitude = 47.0 * 111130.0 / 111130.52399516014;  // the module's two earths
  EXPECT_NEAR((c_.PilotLatitude - aircraftLatitude) * 111130.5, 10.0, 0.02);
  EXPECT_NEAR((c_.PilotLongitude - 8.0) * 111130.5 * std::cos(47 * M_PI / 180), -10.0, 0.05);
  EXPECT_NEAR(c_.PilotAltitude, 100.0, 1e-9);
  EXPECT_EQ(c_.PilotHeading, 0.0);
  EXPECT_EQ(c_.PilotZoom, 1.0);
  EXPECT_EQ(platform::ReadHost<std::int32_t>(record_ + 0x20), 1250);
  EXPECT_EQ(platform::ReadHost<std::int16_t>(record_ + 52), 64);
  c_.PilotActive = 0;
  Tick();
  EXPECT_EQ(testing::HostRecord(record_), before) << "all 340 bytes back, kind included";
}

TEST_F(Pilot, WalksRunsAndClimbs) {
  c_.PilotActive = 1;
  Tick();
  const double start = c_.PilotLatitude;
  c_.PilotForward = c_.PilotBackward = 1;  // forward wins
  Tick(10);
  EXPECT_NEAR((c_.PilotLatitude - start) * 111130.524, 2.0, 0.01) << "walking: 2 m/s";
  sim::SetKeyHeld(16, true);
  c_.PilotRunSpeed = 0.0;  // no setting: 5 m/s
  Tick(10);
  EXPECT_EQ(c_.PilotRunning, 1);
  EXPECT_NEAR((c_.PilotLatitude - start) * 111130.524, 7.0, 0.02);
  sim::SetKeyHeld(16, false);
  c_.PilotForward = c_.PilotBackward = 0;

  // A surface 3 m up right here: onto it in one frame. Then it ends: falling at 10 m/s.
  Block(3.0, 20.0);
  Tick();
  EXPECT_NEAR(c_.PilotAltitude, 103.0, 0.01);
  WriteHost<std::int32_t>(c_.HostObjectList, 0);
  Tick();
  EXPECT_NEAR(c_.PilotAltitude, 102.0, 0.01);
  Tick(5);
  EXPECT_NEAR(c_.PilotAltitude, 100.0, 1e-9);
}

TEST_F(Pilot, EyeHeadAndBob) {
  c_.PilotActive = 1;
  Tick();
  c_.PilotDown = 1;
  Tick(10);  // 2 m down, but never below 1.7 at the start of a tick
  c_.PilotDown = 0;
  Tick();
  EXPECT_EQ(c_.PilotEyeHeight, 1.7);
  c_.PilotHeadUp = 1;
  Tick(20);
  EXPECT_EQ(c_.PilotHeadPitch, -60.0);
  c_.PilotHeadUp = 0;
  c_.PilotHeadDown = 1;
  Tick(30);
  EXPECT_EQ(c_.PilotHeadPitch, 60.0);
  c_.PilotHeadDown = 0;
  c_.PilotHeadBob = 0.02;
  Tick();
  EXPECT_DOUBLE_EQ(c_.PilotHeadBob, 0.02 * 2 * 0.1) << "at a standstill the bob shrinks";
  c_.PilotCrouch = 1;
  Tick();
  simhost::SimulatedHostMemory memory;
  EXPECT_NEAR(simhost::ReadHostViewPosition(memory).altitude, 100.75, 0.01)
      << "crouching: 0.75 m above the feet";
}

TEST(PilotMath, OffsetsAndEncodings) {
  // A step east across the 180th meridian comes back within -180 to 180.
  const DegreePosition across = OffsetPositionDegrees({0.0, 179.99999, 0.0}, {10.0, 0.0, 0.0});
  EXPECT_NEAR(across.longitude, 179.99999 + 10.0 / 111130.524 - 360.0, 1e-6);
  EXPECT_GE(across.longitude, -180.0);
  std::uint32_t words[6];
  EncodeHostPosition({1.0, 90.0, -2.25}, words);
  EXPECT_EQ(words[1], 111130u);                                          // whole metres north
  EXPECT_EQ(words[3], 1073741823u);                                      // a quarter turn, just under
  EXPECT_EQ(static_cast<std::int32_t>(words[5]), -3);                    // -2.25: floor -3 ...
  EXPECT_EQ(words[4], static_cast<std::uint32_t>(0.75 * 4294967295.0));  // ... and three quarters
  std::uint32_t turn[3];
  EncodeHostOrientation(90.0, -90.0, 360.0, turn);
  EXPECT_EQ(turn[0], 1073741823u);
  EXPECT_EQ(turn[1], static_cast<std::uint32_t>(-1073741823));
  EXPECT_EQ(turn[2], 4294967295u);
}

}  // namespace
}  // namespace varolen
