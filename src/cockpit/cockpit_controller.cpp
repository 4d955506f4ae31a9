#include "cockpit/cockpit_controller.h"

#include "cockpit/host_view.h"
#include "cockpit/view_update.h"
#include "interaction/walking_pilot.h"
#include "platform/clock.h"

namespace varolen {

CockpitControllerRecord CockpitController;

int TickCockpitController(CockpitControllerRecord& controller) {
  DiscoverHostModules(controller);
  const double now = platform::TimeGetTime() / 1000.0;
  controller.TickStep = now - controller.TickTime;
  controller.TickTime = now;
  controller.InCockpitView = 0;
  UpdateCockpitView(controller, 1);
  UpdateWalkingPilot(controller);
  return 1;
}

void ResetCockpitState() {
  CockpitController = {};
  ResetViewVariables();
}

}  // namespace varolen
