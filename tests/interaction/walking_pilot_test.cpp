// The ground probe over hand-made geometry, and the walking pilot on it.
#include "interaction/walking_pilot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <initializer_list>
#include <limits>

#include "cockpit/cockpit_controller.h"
#include "cockpit/movement_keys.h"
#include "host/host_discovery.h"
#include "host/settings.h"
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

// A geometry list written by hand, walked by a probe straight down through
// the origin of the probe's own frame (no placement record: the list's base is
// the origin); a surface y metres up lies 100000 - y along the ray.
class GeometryList : public testing::HostListTest {
 public:
  // A bounding sphere; `skip` bytes from its start lead past what it bounds.
  void Sphere(double x, double y, double radius, std::uint32_t skip) {
    WriteHost<std::uint16_t>(at_, 0xF004);
    WriteHost<std::uint16_t>(at_ + 2, 26);
    WriteHost<std::uint32_t>(at_ + 4, skip);
    WriteHost(at_ + 10, static_cast<float>(x));
    WriteHost(at_ + 14, static_cast<float>(y));
    WriteHost(at_ + 18, 0.0f);
    WriteHost(at_ + 22, static_cast<float>(radius));
    at_ += 26;
  }
  void Triangles(std::initializer_list<Triangle> triangles) {
    WriteHost<std::uint16_t>(at_, 0xF005);
    WriteHost<std::uint32_t>(at_ + 2, static_cast<std::uint32_t>(triangles.size()));
    at_ += 6;
    for (const Triangle& triangle : triangles) {
      platform::WriteHostBytes(at_, &triangle, sizeof triangle);
      at_ += sizeof triangle;
    }
  }
  double Probe() {
    GroundProbe probe = ProbeAt(47.0, 8.0);
    WalkObjectGeometry(kList, {0.0, 0.0, 0.0}, probe);
    return probe.nearest;
  }
};

TEST_F(GeometryList, TheProbeFindsTheHighestSurfaceInsideTheSpheresItMeets) {
  const struct {
    const char* what;
    double nearest;
    void (*build)(GeometryList&);
  } cases[] = {
      {"the upper of two surfaces, listed second", kProbeHeight - 5,
       [](GeometryList& l) {
         l.Triangles({Flat(2), Flat(5)});
       }},
      {"the upper of two surfaces, listed first", kProbeHeight - 5,
       [](GeometryList& l) {
         l.Triangles({Flat(5), Flat(2)});
       }},
      // A sphere off the ray hides what it bounds; the next one on the ray does not.
      {"a missed sphere skips its range", kProbeHeight - 2,
       [](GeometryList& l) {
         l.Sphere(50, 0, 1, 26 + 6 + 48);
         l.Triangles({Flat(5, 200)});
         l.Sphere(0, 0, 100, 26);
         l.Triangles({Flat(2)});
       }},
      // The test radius is r x sqrt 2: 1.2 m off the ray, a 1 m sphere is met.
      {"a sphere met within its radius times the root of two", kProbeHeight - 5,
       [](GeometryList& l) {
         l.Sphere(1.2, 0, 1, 26 + 6 + 48);
         l.Triangles({Flat(5)});
       }},
      {"a sphere missed beyond it", kNothingFound,
       [](GeometryList& l) {
         l.Sphere(1.5, 0, 1, 26 + 6 + 48);
         l.Triangles({Flat(5)});
       }},
      // A called list counts from the centre of the last sphere: 3 m up.
      {"a call from the current centre", kProbeHeight - 5,
       [](GeometryList& l) {
         const HostAddress nested = kList + 0x800;
         l.at_ = nested;
         l.Triangles({Flat(2)});
         l.End();
         l.at_ = kList;
         l.Sphere(0, 3, 100, 26);
         l.Call(nested);
       }},
  };
  for (const auto& c : cases) {
    at_ = kList;
    c.build(*this);
    End();
    EXPECT_EQ(Probe(), c.nearest) << c.what;
  }
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
    DiscoverHostModules();
  }
  // A movement key held or let go, as its press and release leave it.
  static void Hold(bool MovementKeysRecord::*key, bool held) {
    testing::Poke(MovementKeys).*key = held ? 1 : 0;
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
    WriteHost(blck + 2, static_cast<float>(WalkingPilot.PilotLatitude));
    WriteHost(blck + 6, static_cast<float>(WalkingPilot.PilotLongitude));
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
  HostAddress kG3dObjects() const { return HostDiscovery.HostObjectList; }
  void Tick(int frames = 1) {
    for (int frame = 0; frame < frames; ++frame) {
      tick_.TickTime += tick_.clock.step;
      UpdateWalkingPilot(tick_, testing::Snapshot(), FindCurrentView());
    }
  }
  CockpitTickRecord tick_ = {{0, 0.1}, 1000.0};  // ticks of a tenth of a second
  static constexpr HostAddress kGeometry = 0x30000000;
  HostAddress record_ = 0;
};

TEST_F(Pilot, StepsOutBesideTheAircraftAndBackIn) {
  const auto before = testing::HostRecord(record_);
  testing::Switch(&CameraSettingsRecord::ExternalViewActive, true);
  Tick();
  // 10 m left of and 10 m ahead of an aircraft facing north: north-west, on its ground.
  const double aircraftLatitude = 47.0 * 111130.0 / 111130.52399516014;  // the module's two earths
  EXPECT_NEAR((WalkingPilot.PilotLatitude - aircraftLatitude) * 111130.5, 10.0, 0.02);
  EXPECT_NEAR((WalkingPilot.PilotLongitude - 8.0) * 111130.5 * std::cos(47 * M_PI / 180), -10.0, 0.05);
  EXPECT_NEAR(WalkingPilot.PilotAltitude, 100.0, 1e-9);
  EXPECT_EQ(WalkingPilot.PilotHeading, 0.0);
  EXPECT_EQ(WalkingPilot.PilotZoom, 1.0);
  EXPECT_EQ(platform::ReadHost<std::int32_t>(record_ + 0x20), 1250);
  EXPECT_EQ(platform::ReadHost<std::int16_t>(record_ + 52), 64);
  testing::Switch(&CameraSettingsRecord::ExternalViewActive, false);
  Tick();
  EXPECT_EQ(testing::HostRecord(record_), before) << "all 340 bytes back, kind included";
}

TEST_F(Pilot, WalksRunsAndClimbs) {
  testing::Switch(&CameraSettingsRecord::ExternalViewActive, true);
  Tick();
  const double start = WalkingPilot.PilotLatitude;
  Hold(&MovementKeysRecord::PilotForward, true);
  Hold(&MovementKeysRecord::PilotBackward, true);  // forward wins
  Tick(10);
  EXPECT_NEAR((WalkingPilot.PilotLatitude - start) * 111130.524, 2.0, 0.01) << "walking: 2 m/s";
  sim::SetKeyHeld(16, true);
  testing::StoreSetting("RunningSpeed", 0.0);  // no setting: 5 m/s
  Tick(10);
  EXPECT_EQ(WalkingPilot.PilotRunning, 1);
  EXPECT_NEAR((WalkingPilot.PilotLatitude - start) * 111130.524, 7.0, 0.02);
  sim::SetKeyHeld(16, false);
  Hold(&MovementKeysRecord::PilotForward, false);
  Hold(&MovementKeysRecord::PilotBackward, false);

  // A surface 3 m up right here: onto it in one frame. Then it ends: falling at 10 m/s.
  Block(3.0, 20.0);
  Tick();
  EXPECT_NEAR(WalkingPilot.PilotAltitude, 103.0, 0.01);
  WriteHost<std::int32_t>(HostDiscovery.HostObjectList, 0);
  Tick();
  EXPECT_NEAR(WalkingPilot.PilotAltitude, 102.0, 0.01);
  Tick(5);
  EXPECT_NEAR(WalkingPilot.PilotAltitude, 100.0, 1e-9);
}

TEST_F(Pilot, EyeHeadAndBob) {
  testing::Switch(&CameraSettingsRecord::ExternalViewActive, true);
  Tick();
  Hold(&MovementKeysRecord::PilotDown, true);
  Tick(10);  // 2 m down, but never below 1.7 at the start of a tick
  Hold(&MovementKeysRecord::PilotDown, false);
  Tick();
  EXPECT_EQ(WalkingPilot.PilotEyeHeight, 1.7);
  Hold(&MovementKeysRecord::PilotHeadUp, true);
  Tick(20);
  EXPECT_EQ(WalkingPilot.PilotHeadPitch, -60.0);
  Hold(&MovementKeysRecord::PilotHeadUp, false);
  Hold(&MovementKeysRecord::PilotHeadDown, true);
  Tick(30);
  EXPECT_EQ(WalkingPilot.PilotHeadPitch, 60.0);
  Hold(&MovementKeysRecord::PilotHeadDown, false);
  Hold(&MovementKeysRecord::PilotCrouch, true);
  Tick();
  simhost::SimulatedHostMemory memory;
  EXPECT_NEAR(simhost::ReadHostViewPosition(memory).altitude, 100.75, 0.01)
      << "crouching: 0.75 m above the feet";
}

// What the host renders the pilot's view from, worked out from the pilot's
// state: heading 30, head pitch 20 (down), a preset's body pitch 10 and bank -5,
// zoom 2, in a view of aspect 3/4.
TEST_F(Pilot, TheHostDrawsFromThePilotsEye) {
  WriteHost<std::int32_t>(record_ + 0, 3);
  WriteHost<std::int32_t>(record_ + 12, 4);
  PlacePilot({47.001, 8.002, 100.0}, {10, 30, -5}, 2.0);  // pitch, heading, bank
  TurnPilotHead(0.0, 20.0);
  testing::Switch(&CameraSettingsRecord::ExternalViewActive, true);
  Tick();
  const double h = 30 * M_PI / 180, p = 20 * M_PI / 180;
  // The eye's rows: heading times pitch.
  const double eye[3][3] = {{std::cos(h), std::sin(h) * std::sin(p), -std::sin(h) * std::cos(p)},
                            {0, std::cos(p), std::sin(p)},
                            {std::sin(h), -std::cos(h) * std::sin(p), std::cos(h) * std::cos(p)}};
  for (std::uint32_t row = 0; row < 3; ++row) {
    for (std::uint32_t column = 0; column < 3; ++column) {
      EXPECT_NEAR(platform::ReadHost<float>(record_ + 0x50 + 16 * row + 4 * column), eye[row][column], 1e-6)
          << "eye row " << row << " column " << column;
    }
  }
  EXPECT_EQ(platform::ReadHost<std::int16_t>(record_ + 52), 128) << "zoom x 64";
  // The host's view matrix: heading times pitch turned the other way (-h, -p),
  // its columns scaled by 1, the aspect and 0.5 / zoom.
  const double inverse[3][3] = {{std::cos(h), std::sin(h) * std::sin(p), std::sin(h) * std::cos(p)},
                                {0, std::cos(p), -std::sin(p)},
                                {-std::sin(h), std::cos(h) * std::sin(p), std::cos(h) * std::cos(p)}};
  const double scale[3] = {1.0, 0.75, 0.25};
  for (std::uint32_t row = 0; row < 4; ++row) {
    for (std::uint32_t column = 0; column < 4; ++column) {
      const double expected =
          row < 3 && column < 3 ? inverse[row][column] * scale[column] : (row == column ? 1 : 0);
      EXPECT_NEAR(platform::ReadHost<float>(HostDiscovery.HostViewMatrix + 16 * row + 4 * column), expected,
                  1e-6)
          << "matrix row " << row << " column " << column;
    }
  }
  // The orientation words: pitch, bank, heading, each degrees / 360 x (2^32 - 1).
  const std::uint32_t words[3] = {
      static_cast<std::uint32_t>(std::trunc(10 / 360.0 * 4294967295.0)),
      static_cast<std::uint32_t>(static_cast<std::int64_t>(-5 / 360.0 * 4294967295.0)),
      static_cast<std::uint32_t>(std::trunc(30 / 360.0 * 4294967295.0))};
  for (std::uint32_t word = 0; word < 3; ++word)
    EXPECT_EQ(platform::ReadHost<std::uint32_t>(HostDiscovery.HostViewOrientation + 4 * word), words[word])
        << word;
  // The sub-record: the eye in degrees and kilometres, and on the map.
  const HostAddress sub = platform::ReadHost<std::uint32_t>(record_ + 280);
  const double eyeAltitude = 100.0 + 1.7;
  ASSERT_NE(sub, 0u);
  EXPECT_EQ(platform::ReadHost<double>(sub + 160), 47.001) << std::hex << sub;
  EXPECT_EQ(platform::ReadHost<double>(sub + 168), 8.002);
  EXPECT_NEAR(platform::ReadHost<double>(sub + 176), eyeAltitude / 1000, 1e-12);
  const double x = (8.002 + 180) / 360 * 0.75, y = (1 - (47.001 + 90) / 180) * 0.5;
  EXPECT_DOUBLE_EQ(platform::ReadHost<double>(sub + 280), x);
  EXPECT_DOUBLE_EQ(platform::ReadHost<double>(sub + 288), y);
  EXPECT_EQ(platform::ReadHost<std::int32_t>(sub + 296), static_cast<std::int32_t>(x * 1073741824.0));
  EXPECT_EQ(platform::ReadHost<std::int32_t>(sub + 300), static_cast<std::int32_t>(y * 1073741824.0));
}

// Right wins over left; the eye rises and sinks by speed x dt a frame; the bob
// follows sin(t x 600 degrees) while walking.
TEST_F(Pilot, StepsEyeHeightAndBob) {
  testing::Switch(&CameraSettingsRecord::ExternalViewActive, true);
  Tick();
  const double start = WalkingPilot.PilotLongitude;
  Hold(&MovementKeysRecord::PilotStepRight, true);
  Hold(&MovementKeysRecord::PilotStepLeft, true);
  Tick(5);
  EXPECT_NEAR((WalkingPilot.PilotLongitude - start) * 111130.524 * std::cos(47 * M_PI / 180), 1.0, 0.01)
      << "1 m east, stepping right at 2 m/s";
  Hold(&MovementKeysRecord::PilotStepRight, false);
  Hold(&MovementKeysRecord::PilotStepLeft, false);

  Hold(&MovementKeysRecord::PilotUp, true);
  Tick(5);
  EXPECT_NEAR(WalkingPilot.PilotEyeHeight, 1.7 + 5 * 2.0 * 0.1, 1e-12);
  Hold(&MovementKeysRecord::PilotUp, false);
  Hold(&MovementKeysRecord::PilotDown, true);
  Tick();
  EXPECT_NEAR(WalkingPilot.PilotEyeHeight, 2.7 - 0.2, 1e-12);
  Hold(&MovementKeysRecord::PilotDown, false);
  sim::SetKeyHeld(16, true);  // running at 5 m/s
  Hold(&MovementKeysRecord::PilotUp, true);
  Tick();
  EXPECT_NEAR(WalkingPilot.PilotEyeHeight, 2.5 + 0.5, 1e-12);
  Hold(&MovementKeysRecord::PilotUp, false);
  sim::SetKeyHeld(16, false);

  Hold(&MovementKeysRecord::PilotForward, true);
  Tick();
  const double t = tick_.TickTime;
  const double bob = std::sin(std::fmod(t * 600.0, 360.0) * M_PI / 180) * 0.03;
  EXPECT_NEAR(WalkingPilot.PilotHeadBob, bob, 1e-6);
  simhost::SimulatedHostMemory memory;
  EXPECT_NEAR(simhost::ReadHostViewPosition(memory).altitude, 100.0 + bob + 3.0, 1e-4) << "feet, bob and eye";
}

// Standing still, the head's bob dies out and never grows, whatever the
// tick's step: at a high frame rate, at a low one, after a pause.
TEST_F(Pilot, StandingStillTheBobDiesOutAtAnyStep) {
  testing::Switch(&CameraSettingsRecord::ExternalViewActive, true);
  for (const double step : {1.0 / 144, 1.0 / 30, 0.1, 0.25, 0.5, 0.75, 1.0}) {
    tick_.clock.step = 0.1;
    tick_.TickTime = 1000.05;  // walking one tick: the bob at sin 330 degrees, half its height
    Hold(&MovementKeysRecord::PilotForward, true);
    Tick();
    Hold(&MovementKeysRecord::PilotForward, false);
    const double walked = std::fabs(WalkingPilot.PilotHeadBob);
    ASSERT_GT(walked, 0.005) << step;
    tick_.clock.step = step;
    for (double time = 0.0; time < 10.0; time += step) {
      Tick();
      EXPECT_LE(std::fabs(WalkingPilot.PilotHeadBob), walked) << step << " s steps, at " << time << " s";
    }
    EXPECT_LT(std::fabs(WalkingPilot.PilotHeadBob), walked / 100) << step;
  }
}

// A list that loops back on itself is bounded; the bound holds for the whole
// probe, so that a scene of many such objects cannot hold the host up for
// many times as long: the objects after it go unsearched in that frame.
TEST_F(Pilot, ALoopingObjectUsesUpTheProbesBound) {
  testing::Switch(&CameraSettingsRecord::ExternalViewActive, true);
  Tick();
  Block(3.0, 20.0);  // object 0: a surface 3 m up under the pilot
  GroundProbe probe = ProbeAt(WalkingPilot.PilotLatitude, WalkingPilot.PilotLongitude);
  ProbeGround(probe);
  ASSERT_NEAR(probe.nearest, kProbeHeight - 103.0, 0.01);

  // An object whose geometry jumps back to its start, listed before the block.
  constexpr HostAddress kArray = 0x31000000;
  sim::MapHostRegion(kArray, 0x1000);
  const HostAddress model = kArray + 0x200;
  WriteHost<std::uint32_t>(kArray + 96, model);
  std::uint8_t block[104];
  platform::ReadHostBytes(kGeometry, block, sizeof block);
  platform::WriteHostBytes(kArray + 104, block, sizeof block);
  platform::WriteHostBytes(model + 124, "PNTR", 4);
  WriteHost<std::int32_t>(model + 128, 1);
  platform::WriteHostBytes(model + 132, "BLCK", 4);
  const HostAddress loop = model + 0x200;
  WriteHost<std::uint32_t>(model + 136, loop - (model + 132));
  WriteHost<std::uint16_t>(loop, 0xF002);       // a placement ...
  WriteHost<std::uint16_t>(loop + 30, 0xF004);  // ... and a sphere far away, whose skip leads back
  WriteHost<std::uint16_t>(loop + 32, 26);
  WriteHost<std::uint32_t>(loop + 34, static_cast<std::uint32_t>(-30));
  WriteHost(loop + 40, 1.0e6f);
  WriteHost(loop + 52, 1.0f);
  WriteHost<std::int32_t>(HostDiscovery.HostObjectList, 2);
  WriteHost<std::uint32_t>(HostDiscovery.HostObjectList + 12, kArray);
  probe = ProbeAt(WalkingPilot.PilotLatitude, WalkingPilot.PilotLongitude);
  EXPECT_EQ(ProbeGround(probe), 1) << "the probe ends";
  EXPECT_EQ(probe.nearest, kNothingFound);
}

TEST(PilotMath, AStepAcrossTheDateLineComesBackWithinTheRange) {
  const DegreePosition across = OffsetPositionDegrees({0.0, 179.99999, 0.0}, {10.0, 0.0, 0.0});
  EXPECT_NEAR(across.longitude, 179.99999 + 10.0 / 111130.524 - 360.0, 1e-6);
  EXPECT_GE(across.longitude, -180.0);
}

}  // namespace
}  // namespace varolen
