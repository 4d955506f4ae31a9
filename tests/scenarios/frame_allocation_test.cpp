// The frame path allocates nothing once the module runs.
#include <gtest/gtest.h>

#include "shell/host_layout.h"
#include "shell/settings.h"
#include "support/allocation_counter.h"
#include "support/module_fixture.h"

namespace varolen {
namespace {

class FramePath : public testing::ModuleTest {};

TEST_F(FramePath, AllocatesNothingOverAThousandFrames) {
  StartWithHost();
  const sim::WindowHandle main = platform::FindTopLevelWindow("FS98MAIN");
  CameraSettings.InternalViewActive = 1;
  CameraSettings.FlyByTravelling = 1;
  CameraSettings.ApproachActive = 1;
  testing::Flight flight;
  flight.speed = 120;
  flight.forward = 200;
  flight.vertical = -10;
  flight.ground = 1750;  // 250 ft above the ground, sinking below 200 ft half-way
  std::uint32_t clock = 100000;
  for (int frame = 0; frame < 100; ++frame) {  // past the warm-up and the sound start
    testing::SetFlight(flight);
    sim::SetClock(clock += 33);
    sim::TakeThroughHooks(main, kFrameMessage);
  }
  const long before = testing::AllocationCount();
  for (int frame = 0; frame < 1000; ++frame) {
    flight.latitude += 0.00001;
    flight.altitude -= 0.5;  // through 200 ft: fly-bys, then the parked observer
    testing::SetFlight(flight);
    sim::SetClock(clock += 33);
    sim::TakeThroughHooks(main, kFrameMessage);
  }
  EXPECT_EQ(testing::AllocationCount() - before, 0);
}

}  // namespace
}  // namespace varolen
