#include "cockpit/cockpit_controller.h"

#include <cstring>

#include "cockpit/host_view.h"
#include "cockpit/view_update.h"
#include "interaction/walking_pilot.h"
#include "platform/clock.h"
#include "tracker/head_tracker.h"

namespace varolen {

CockpitControllerRecord CockpitController;

namespace {

constexpr double kLongestTickStep = 1.0;  // seconds

}  // namespace

int TickCockpitController(CockpitControllerRecord& controller) {
  DiscoverHostModules(controller);
  // The difference of the exact readings, which stays right across the clock's
  // wrap after 49.7 days; at most a second, as the frame step.
  const std::uint32_t now = platform::TimeGetTime();
  const double step = static_cast<std::uint32_t>(now - controller.TickReading) / 1000.0;
  controller.TickStep = step > kLongestTickStep ? kLongestTickStep : step;
  controller.TickReading = now;
  controller.TickTime = now / 1000.0;
  controller.InCockpitView = 0;
  UpdateHeadTracker(controller.HeadTrackerOn != 0, now);
  UpdateCockpitView(controller, 1);
  UpdateWalkingPilot(controller);
  return 1;
}

int TickTrackedHead(CockpitControllerRecord& controller) {
  UpdateHeadTracker(controller.HeadTrackerOn != 0, platform::TimeGetTime());
  // Without a tracked head the host's memory is not even looked at.
  if (!TrackedHeadToWrite(controller)) return 1;
  DiscoverHostModules(controller);
  UpdateTrackedHeadView(controller);
  return 1;
}

void ResetCockpitState() {
  // All-zero bytes are 0.0 in IEEE 754 floats, the only kind the module runs on.
  // cppcheck-suppress memsetClassFloat
  std::memset(&CockpitController, 0, sizeof CockpitController);
  ResetViewVariables();
}

}  // namespace varolen
