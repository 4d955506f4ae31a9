// Where the renderer draws the aircraft, against pixel positions worked out by
// hand from the host's field of view: at zoom 1 the 640-pixel side spans
// tan = +-0.5 / 1.2, so a point at tangent t off the axis lies 768 t pixels
// from the centre (384 t at zoom 0.5).
#include <gtest/gtest.h>

#include <cmath>

#include "renderer.h"
#include "scene.h"

namespace render {
namespace {

constexpr int kWidth = 640, kHeight = 360;

// The mean position of the lit pixels; false when none is lit.
bool Centroid(const std::vector<std::uint8_t>& picture, double& x, double& y) {
  double sumX = 0, sumY = 0, count = 0;
  for (int row = 0; row < kHeight; ++row) {
    for (int column = 0; column < kWidth; ++column) {
      const std::uint8_t* pixel = &picture[(static_cast<std::size_t>(row) * kWidth + column) * 3];
      if (pixel[0] + pixel[1] + pixel[2] > 0) {
        sumX += column + 0.5;
        sumY += row + 0.5;
        ++count;
      }
    }
  }
  if (count == 0) return false;
  x = sumX / count;
  y = sumY / count;
  return true;
}

struct Case {
  const char* what;
  double heading, pitch, bank;  // the camera's view, degrees (pitch down +, bank left side down +)
  double zoom;
  Vec aircraft;  // metres from the camera: x east, y up, z south
  bool visible;
  double x, y;  // pixels
};

TEST(Projection, TheAircraftLiesWhereTheFieldOfViewPutsIt) {
  const double tan30 = std::tan(30.0 * M_PI / 180.0), tan20 = std::tan(20.0 * M_PI / 180.0),
               tan10 = std::tan(10.0 * M_PI / 180.0);
  const Case cases[] = {
      {"ahead at 100 m", 0, 0, 0, 1.0, {0, 0, -100}, true, 320, 180},
      {"30 degrees left at zoom 0.5", 0, 0, 0, 0.5, {-100 * tan30, 0, -100}, true, 320 - 384 * tan30, 180},
      {"20 m above at 100 m", 0, 0, 0, 1.0, {0, 20, -100}, true, 320, 180 - 768 * 0.2},
      {"behind", 0, 0, 0, 1.0, {0, 0, 100}, false, 0, 0},
      // A view turned the wrong way round each axis puts it on the other side.
      {"north, seen looking 20 degrees right of it",
       20,
       0,
       0,
       1.0,
       {0, 0, -100},
       true,
       320 - 768 * tan20,
       180},
      {"level ahead, seen looking 10 degrees down",
       0,
       10,
       0,
       1.0,
       {0, 0, -100},
       true,
       320,
       180 - 768 * tan10},
      {"20 m right, seen rolled 30 degrees right",
       0,
       0,
       -30,
       1.0,
       {20, 0, -100},
       true,
       320 + 153.6 * std::cos(M_PI / 6),
       180 - 153.6 * std::sin(M_PI / 6)},
      {"east, seen looking east", 90, 0, 0, 1.0, {100, 0, 0}, true, 320, 180},
  };
  Renderer renderer(kWidth, kHeight, {.marker = true});
  ASSERT_TRUE(renderer.Ready());
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    View view;
    view.camera = {{0, 500, 0}, ViewAxes(WorldAxes(), c.heading, c.pitch, c.bank), c.zoom};
    view.aircraft = view.camera.position + c.aircraft;
    renderer.Draw(Scene{}, view);
    double x = 0, y = 0;
    ASSERT_EQ(Centroid(renderer.Picture(), x, y), c.visible);
    if (!c.visible) continue;
    EXPECT_NEAR(x, c.x, 1.0);
    EXPECT_NEAR(y, c.y, 1.0);
    double px = 0, py = 0;
    ASSERT_TRUE(Project(view.camera, view.aircraft, kWidth, kHeight, px, py));
    EXPECT_NEAR(px, c.x, 1e-6);
    EXPECT_NEAR(py, c.y, 1e-6);
  }
}

// The aircraft's own attitude: banked 30 degrees right (-30, as the host
// counts it), the world turns 30 degrees the other way in the cockpit's picture (a point 20 m right and 10 m
// up shows at (20 cos 30 - 10 sin 30, 20 sin 30 + 10 cos 30)); nose down 10
// degrees, a point level ahead lies above.
TEST(Projection, TheCockpitTurnsWithTheAircraft) {
  struct Attitude {
    double pitch, bank;
    Vec point;
    double x, y;
  };
  const Attitude attitudes[] = {
      {0,
       -30,
       {20, 10, -100},
       320 + 7.68 * (20 * std::cos(M_PI / 6) - 10 * std::sin(M_PI / 6)),
       180 - 7.68 * (20 * std::sin(M_PI / 6) + 10 * std::cos(M_PI / 6))},
      {10, 0, {0, 0, -100}, 320, 180 - 768 * std::tan(10.0 * M_PI / 180.0)},
  };
  for (const Attitude& a : attitudes) {
    const Basis body = AircraftAxes(0.0, a.pitch, a.bank);
    const Camera camera = {{0, 500, 0}, ViewAxes(body, 0, 0, 0), 1.0};
    double x = 0, y = 0;
    ASSERT_TRUE(Project(camera, camera.position + a.point, kWidth, kHeight, x, y));
    EXPECT_NEAR(x, a.x, 1e-6);
    EXPECT_NEAR(y, a.y, 1e-6);
  }
}

// Sky above the horizon and ground below it, for a level view and for an
// outside observer the module left under the ground, which the host shows
// from above it.
TEST(Projection, SkyAboveGroundBelow) {
  Scene scene;
  scene.groundMetres = 400;
  TraceFrame frame;
  frame.latitude = 0.001;  // the aircraft 111 m north of the observer, on the ground
  frame.altitude = 400 / 0.3048;
  frame.viewKind = 4;
  frame.flyBy = true;
  frame.observerLongitude = 0.00001;
  struct Observer {
    const char* what;
    double altitude;  // metres
    double below;     // how far the host lifts it
  };
  const Observer observers[] = {{"2 m above the ground", 402, 0}, {"5 m under the ground", 395, 5.3}};
  Renderer renderer(kWidth, kHeight);
  ASSERT_TRUE(renderer.Ready());
  for (const Observer& o : observers) {
    SCOPED_TRACE(o.what);
    frame.observerAltitude = o.altitude;
    const View view = ViewOf(scene, frame);
    EXPECT_NEAR(view.belowGround, o.below, 1e-9);
    renderer.Draw(scene, view);
    const auto pixel = [&](int x, int y) {
      return &renderer.Picture()[(static_cast<std::size_t>(y) * kWidth + x) * 3];
    };
    const std::uint8_t* sky = pixel(20, 20);
    const std::uint8_t* ground = pixel(20, kHeight - 20);
    EXPECT_GT(sky[2], sky[0]) << "blue overhead";
    EXPECT_GT(ground[1], ground[2]) << "green underfoot";
  }
}

// The horizon in a still of the virtual cockpit, the aircraft heading north
// and the view straight ahead in the aircraft: the horizon is the line through
// the picture's centre turned by the bank the view has over the ground, higher
// on the side that is down. Banks as the host counts them: positive with the
// left side down, the aircraft's (the trace's bank) and the view's in the
// aircraft (its view_bank) alike.
TEST(Projection, TheHorizonTiltsWithTheHostsBankTheRightWayRound) {
  const struct {
    const char* what;
    double bank, viewBank;
    double tilt;  // degrees, positive lower on the right
  } cases[] = {
      {"a 30 degree left bank", 30, 0, 30},
      {"a 30 degree right bank, the head rolled 15 against it", -30, 15, -15},
      {"level, the head rolled 10 to the right", 0, -10, -10},
  };
  Scene scene;
  Renderer renderer(kWidth, kHeight);
  ASSERT_TRUE(renderer.Ready());
  for (const auto& c : cases) {
    TraceFrame frame;
    frame.altitude = 10;  // feet above the ground: its far edge lies on the horizon
    frame.bank = c.bank;
    frame.viewBank = c.viewBank;
    frame.viewKind = 2;
    frame.eye[1] = 0.9;
    renderer.Draw(scene, ViewOf(scene, frame));
    const auto pixel = [&](int x, int y) {
      return &renderer.Picture()[(static_cast<std::size_t>(y) * kWidth + x) * 3];
    };
    const auto isSky = [&](int x, int y) { return pixel(x, y)[2] > pixel(x, y)[1] + 10; };
    const auto isGround = [&](int x, int y) { return pixel(x, y)[1] > pixel(x, y)[2] + 10; };
    // Where each column turns from sky to ground, with a clear sky above.
    double sumX = 0, sumY = 0, sumXX = 0, sumXY = 0, count = 0;
    for (int x = 40; x < kWidth - 40; x += 8) {
      for (int y = 1; y < kHeight; ++y) {
        if (isGround(x, y) && isSky(x, y - 1) && isSky(x, std::max(0, y - 10))) {
          sumX += x;
          sumY += y;
          sumXX += static_cast<double>(x) * x;
          sumXY += static_cast<double>(x) * y;
          ++count;
          break;
        }
      }
    }
    ASSERT_GT(count, 15) << c.what << ": the horizon shows across much of the picture";
    const double slope = (count * sumXY - sumX * sumY) / (count * sumXX - sumX * sumX);
    // Rows count down the picture: a horizon lower on the right has a positive slope.
    EXPECT_NEAR(std::atan(slope) * 180.0 / M_PI, c.tilt, 1.0) << c.what;
  }
}

}  // namespace
}  // namespace render
